// The main window as data: every control with its container, place, texts, font,
// limits, hint, list items, default, tab position, visibility and handler, and the
// window's own properties. The Qt window, the Win32 window and the in-memory model
// are all built from this one table; with the help text (HelpText.h) and the
// application title (AppTitle.h) a front end needs nothing else.
#pragma once

#include <array>
#include <span>
#include <string_view>
#include <vector>

#include "ListItems.h"
#include "WindowTypes.h"

namespace tacho {

inline constexpr std::u16string_view kWindowCaption = u"Программа записи калибровочных данных";
inline constexpr std::u16string_view kMakerNotice = u"Для сервисных мастерских";
inline constexpr std::u16string_view kWorkshopDefault = u"РФ";

inline constexpr WindowDesc kMainWindow{
    .name = "Form1",
    .className = "TForm1",
    .caption = kWindowCaption,
    .clientWidth = 430,
    .clientHeight = 419,
    .font = {11, false},
    .resizable = false,
    .maximizeButton = false,
    .minimizeButton = true,
    .designDpi = 96,
    .centredAtStart = true,
};

inline constexpr FileDialogDesc kOpenDialog{"sOpenDialog1", u"Текстовые файлы", u"*.txt"};
inline constexpr FileDialogDesc kSaveDialog{"sSaveDialog1", u"Текстовые", u"*.txt"};

namespace window_fonts {
inline constexpr FontStyle kField{11, false};             // edit fields, lists, the date field
inline constexpr FontStyle kCalibrationLabel{13, false};  // labels on the calibration page
inline constexpr FontStyle kGsmLabel{12, false};          // labels on the GSM page
inline constexpr FontStyle kHeading{15, true};
}  // namespace window_fonts

// Indexed by ControlId (checked below).
inline constexpr std::array<ControlDesc, kControlCount> kControls = {{
    {.id = ControlId::Form1, .name = "Form1", .kind = ControlKind::Window, .parent = ControlId::Form1,
     .rect = {0, 0, kMainWindow.clientWidth, kMainWindow.clientHeight}, .caption = kWindowCaption},

    // The top panel spans the whole width of the window.
    {.id = ControlId::sPanel1, .name = "sPanel1", .kind = ControlKind::Panel, .parent = ControlId::Form1,
     .rect = {-2, 1, 433, 29}, .tab = 5},
    {.id = ControlId::Open_File_Button, .name = "Open_File_Button", .kind = ControlKind::ToolButton,
     .parent = ControlId::sPanel1, .rect = {2, 2, 86, 25}, .caption = u"Открыть",
     .handler = Handler::Open_File_ButtonClick, .lockedWhileBusy = true},
    {.id = ControlId::Save_File_Button, .name = "Save_File_Button", .kind = ControlKind::ToolButton,
     .parent = ControlId::sPanel1, .rect = {88, 2, 86, 25}, .caption = u"Сохранить",
     .handler = Handler::Save_File_ButtonClick, .lockedWhileBusy = true},
    {.id = ControlId::sLabel1, .name = "sLabel1", .kind = ControlKind::Label, .parent = ControlId::sPanel1,
     .rect = {180, 8, 109, 13}, .caption = u"Связь с устройством:", .font = {11, false}},
    {.id = ControlId::sComboBox_port, .name = "sComboBox_port", .kind = ControlKind::DropDownList,
     .parent = ControlId::sPanel1, .rect = {291, 3, 91, 22}, .font = window_fonts::kField,
     .namedBy = ControlId::sLabel1, .items = std::span<const std::u16string_view>(&kPortSearchItem, 1),
     .defaultIndex = -1, .tab = 0,
     .handler = Handler::sComboBox_portChange, .lockedWhileBusy = true},
    {.id = ControlId::Search_Button, .name = "Search_Button", .kind = ControlKind::ToolButton,
     .parent = ControlId::sPanel1, .rect = {385, 2, 44, 24}, .caption = u"Найти",
     .handler = Handler::Search_ButtonClick, .lockedWhileBusy = true},

    {.id = ControlId::sPageControl1, .name = "sPageControl1", .kind = ControlKind::PageControl,
     .parent = ControlId::Form1, .rect = {4, 31, 421, 346}, .tab = 2, .handler = Handler::sPageControl1Change},

    // The calibration page. The group box's top edge lies above the page and is cut off.
    {.id = ControlId::sTabSheet1, .name = "sTabSheet1", .kind = ControlKind::Page, .parent = ControlId::sPageControl1,
     .caption = u"Калибровка", .tab = 0},
    {.id = ControlId::sGroupBox1, .name = "sGroupBox1", .kind = ControlKind::GroupBox,
     .parent = ControlId::sTabSheet1, .rect = {1, -9, 411, 324}, .font = {15, false}, .tab = 0},
    {.id = ControlId::sEdit_master_N, .name = "sEdit_master_N", .kind = ControlKind::EditField,
     .parent = ControlId::sGroupBox1, .rect = {272, 21, 127, 21}, .font = window_fonts::kField,
     .label = {u"Номер мастерской: ", window_fonts::kCalibrationLabel}, .maxLength = 15,
     .defaultText = kWorkshopDefault, .tab = 0},
    {.id = ControlId::sEdit_VIN, .name = "sEdit_VIN", .kind = ControlKind::EditField, .parent = ControlId::sGroupBox1,
     .rect = {272, 48, 127, 21}, .font = window_fonts::kField,
     .label = {u"Идентификационный номер (VIN): ", window_fonts::kCalibrationLabel}, .maxLength = 17, .tab = 1},
    {.id = ControlId::sEdit_VRN, .name = "sEdit_VRN", .kind = ControlKind::EditField, .parent = ControlId::sGroupBox1,
     .rect = {272, 75, 127, 21}, .font = window_fonts::kField,
     .label = {u"Регистрационный номер (VRN): ", window_fonts::kCalibrationLabel}, .maxLength = 13, .tab = 2},
    {.id = ControlId::sComboBox_country, .name = "sComboBox_country", .kind = ControlKind::DropDownList,
     .parent = ControlId::sGroupBox1, .rect = {272, 102, 127, 22}, .font = window_fonts::kField,
     .label = {u"Страна: ", window_fonts::kCalibrationLabel}, .items = kCountryItems,
     .defaultIndex = 43 /* "RUS   Росс.федерац." */, .tab = 3},
    {.id = ControlId::sEdit_W, .name = "sEdit_W", .kind = ControlKind::EditField, .parent = ControlId::sGroupBox1,
     .rect = {272, 130, 127, 21}, .font = window_fonts::kField,
     .label = {u"Характеристический коэффициент (W): ", window_fonts::kCalibrationLabel}, .tab = 4},
    {.id = ControlId::sEdit_L, .name = "sEdit_L", .kind = ControlKind::EditField, .parent = ControlId::sGroupBox1,
     .rect = {272, 157, 127, 21}, .font = window_fonts::kField,
     .label = {u"Эффективная окружность шин колёс (L,мм): ", window_fonts::kCalibrationLabel}, .tab = 5},
    {.id = ControlId::sEdit_typeSize, .name = "sEdit_typeSize", .kind = ControlKind::EditField,
     .parent = ControlId::sGroupBox1, .rect = {272, 184, 127, 21}, .font = window_fonts::kField,
     .label = {u"Обозначение размера шин: ", window_fonts::kCalibrationLabel}, .maxLength = 15, .tab = 6},
    {.id = ControlId::sEdit_speed, .name = "sEdit_speed", .kind = ControlKind::EditField,
     .parent = ControlId::sGroupBox1, .rect = {272, 211, 127, 21}, .font = window_fonts::kField,
     .label = {u"Разрешённая скорость ТС (км/ч): ", window_fonts::kCalibrationLabel}, .tab = 7},
    {.id = ControlId::sEdit_odometer, .name = "sEdit_odometer", .kind = ControlKind::EditField,
     .parent = ControlId::sGroupBox1, .rect = {272, 238, 127, 21}, .font = window_fonts::kField,
     .label = {u"Новые показания счётчика пробега (км): ", window_fonts::kCalibrationLabel}, .maxLength = 6,
     .tab = 8},
    {.id = ControlId::sDateEdit2, .name = "sDateEdit2", .kind = ControlKind::DateField,
     .parent = ControlId::sGroupBox1, .rect = {272, 265, 79, 21}, .font = window_fonts::kField,
     .label = {u"Дата Следующей калибровки: ", window_fonts::kCalibrationLabel}, .maxLength = 10,
     .defaultDate = StartDate::NextCalibrationDate, .tab = 9},
    {.id = ControlId::sComboBox1, .name = "sComboBox1", .kind = ControlKind::DropDownList,
     .parent = ControlId::sGroupBox1, .rect = {272, 292, 45, 22}, .font = window_fonts::kField,
     .label = {u"Сдвиг местного времени: ", window_fonts::kCalibrationLabel}, .items = kHoursItems,
     .defaultIndex = 23 /* "+0" */, .tab = 10},
    {.id = ControlId::sLabel2, .name = "sLabel2", .kind = ControlKind::Label, .parent = ControlId::sGroupBox1,
     .rect = {320, 295, 7, 16}, .caption = u"ч", .font = window_fonts::kCalibrationLabel},
    {.id = ControlId::sComboBox2, .name = "sComboBox2", .kind = ControlKind::DropDownList,
     .parent = ControlId::sGroupBox1, .rect = {333, 292, 41, 22}, .font = window_fonts::kField,
     .namedBy = ControlId::sLabel3, .items = kMinutesItems, .defaultIndex = 0 /* "00" */, .tab = 11},
    {.id = ControlId::sLabel3, .name = "sLabel3", .kind = ControlKind::Label, .parent = ControlId::sGroupBox1,
     .rect = {379, 295, 22, 16}, .caption = u"мин", .font = window_fonts::kCalibrationLabel},

    // The GSM page; its tab order is not its visual order.
    {.id = ControlId::sTabSheet2, .name = "sTabSheet2", .kind = ControlKind::Page, .parent = ControlId::sPageControl1,
     .caption = u"Настройка GSM", .tab = 1},
    {.id = ControlId::sLabelFX2, .name = "sLabelFX2", .kind = ControlKind::HeadingLabel,
     .parent = ControlId::sTabSheet2, .rect = {20, 16, 249, 22}, .caption = u"Настройки сотового оператора:",
     .font = window_fonts::kHeading},
    {.id = ControlId::sLabelFX3, .name = "sLabelFX3", .kind = ControlKind::HeadingLabel,
     .parent = ControlId::sTabSheet2, .rect = {20, 101, 157, 22}, .caption = u"Настройки сервера:",
     .font = window_fonts::kHeading},
    {.id = ControlId::sLabelFX4, .name = "sLabelFX4", .kind = ControlKind::HeadingLabel,
     .parent = ControlId::sTabSheet2, .rect = {20, 184, 192, 22}, .caption = u"Настройки GSM модуля:",
     .font = window_fonts::kHeading},
    {.id = ControlId::sComboBox3, .name = "sComboBox3", .kind = ControlKind::DropDownList,
     .parent = ControlId::sTabSheet2, .rect = {184, 41, 137, 22}, .font = window_fonts::kField,
     .label = {u"Оператор: ", window_fonts::kGsmLabel}, .items = kOperatorItems, .defaultIndex = -1, .tab = 6,
     .handler = Handler::sComboBox3Change, .lockedWhileBusy = true},
    {.id = ControlId::Edit_operator, .name = "Edit_operator", .kind = ControlKind::EditField,
     .parent = ControlId::sTabSheet2, .rect = {184, 69, 220, 21}, .font = window_fonts::kField,
     .label = {u"Строка подключения:  ", window_fonts::kGsmLabel}, .maxLength = 50,
     .hint = u"\"точка доступа\", \"логин\",\"пароль\"", .tab = 2},
    {.id = ControlId::Edit_IP, .name = "Edit_IP", .kind = ControlKind::EditField, .parent = ControlId::sTabSheet2,
     .rect = {184, 126, 145, 21}, .font = window_fonts::kField, .label = {u"IP адресс:  ", window_fonts::kGsmLabel},
     .maxLength = 15, .hint = u"IP адресс сервера", .tab = 0},
    {.id = ControlId::Edit_port, .name = "Edit_port", .kind = ControlKind::EditField, .parent = ControlId::sTabSheet2,
     .rect = {184, 154, 49, 21}, .font = window_fonts::kField, .label = {u"Порт:  ", window_fonts::kGsmLabel},
     .maxLength = 5, .digitsOnly = true, .tab = 1},
    {.id = ControlId::Edit_int_send, .name = "Edit_int_send", .kind = ControlKind::EditField,
     .parent = ControlId::sTabSheet2, .rect = {265, 209, 41, 21}, .font = window_fonts::kField,
     .label = {u"Интервал передачи данных (сек):  ", window_fonts::kGsmLabel}, .maxLength = 4, .digitsOnly = true,
     .hint = u"интервал передачи данных на сервер (10-2500 сек)", .tab = 3},
    {.id = ControlId::Edit_int_save, .name = "Edit_int_save", .kind = ControlKind::EditField,
     .parent = ControlId::sTabSheet2, .rect = {265, 237, 41, 21}, .font = window_fonts::kField,
     .label = {u"Интервал сохранения данных (сек):  ", window_fonts::kGsmLabel}, .maxLength = 4, .digitsOnly = true,
     .hint = u"интервал сохранения данных в чёрный ящик (5-1200 сек)", .tab = 4},
    {.id = ControlId::Default_Button, .name = "Default_Button", .kind = ControlKind::PushButton,
     .parent = ControlId::sTabSheet2, .rect = {9, 268, 124, 24}, .caption = u"По умолчанию", .tab = 5,
     .handler = Handler::Default_ButtonClick, .lockedWhileBusy = true},

    // The bottom row. Write_Kalibr_Button and Read_GSM_Button overlap; the page
    // shown decides which of them is visible.
    {.id = ControlId::Write_Kalibr_Button, .name = "Write_Kalibr_Button", .kind = ControlKind::PushButton,
     .parent = ControlId::Form1, .rect = {212, 384, 208, 29}, .caption = u"Записать данные", .font = {15, false},
     .tab = 0, .handler = Handler::Write_Kalibr_ButtonClick, .lockedWhileBusy = true},
    {.id = ControlId::Help_Button, .name = "Help_Button", .kind = ControlKind::PushButton, .parent = ControlId::Form1,
     .rect = {9, 385, 28, 28}, .caption = u"?", .font = {20, true}, .tab = 1, .handler = Handler::Help_ButtonClick,
     .lockedWhileBusy = true},
    {.id = ControlId::Read_GSM_Button, .name = "Read_GSM_Button", .kind = ControlKind::PushButton,
     .parent = ControlId::Form1, .rect = {212, 385, 101, 28}, .caption = u"Считать", .tab = 3,
     .visibleAtStart = false, .handler = Handler::Read_GSM_ButtonClick, .lockedWhileBusy = true},
    {.id = ControlId::Write_GSM_Button, .name = "Write_GSM_Button", .kind = ControlKind::PushButton,
     .parent = ControlId::Form1, .rect = {319, 385, 101, 28}, .caption = u"Записать", .tab = 4,
     .visibleAtStart = false, .handler = Handler::Write_GSM_ButtonClick, .lockedWhileBusy = true},
    {.id = ControlId::sLabelFX1, .name = "sLabelFX1", .kind = ControlKind::HeadingLabel, .parent = ControlId::Form1,
     .rect = {45, 396, 155, 17}, .caption = kMakerNotice, .font = {11, false}},
}};

constexpr bool DescribedInIdOrder() {
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    if (static_cast<std::size_t>(kControls[i].id) != i) return false;
  }
  return true;
}
static_assert(DescribedInIdOrder(), "kControls must list the controls in ControlId order");

// Which command buttons each page shows, applied in this order on a page switch.
inline constexpr std::array<std::array<PageButtonState, 3>, 2> kCommandButtonsByPage = {{
    {{{ControlId::Write_Kalibr_Button, true}, {ControlId::Write_GSM_Button, false},
      {ControlId::Read_GSM_Button, false}}},
    {{{ControlId::Write_Kalibr_Button, false}, {ControlId::Write_GSM_Button, true},
      {ControlId::Read_GSM_Button, true}}},
}};

inline constexpr const ControlDesc& Describe(ControlId id) { return kControls[static_cast<std::size_t>(id)]; }
inline constexpr std::string_view ControlName(ControlId id) { return Describe(id).name; }
// A field as the user knows it, for messages: its bound label's text without the
// colon and spaces that end it.
inline constexpr std::u16string_view FieldName(ControlId id) {
  std::u16string_view text = Describe(id).label.text;
  while (!text.empty() && (text.back() == u' ' || text.back() == u':')) text.remove_suffix(1);
  return text;
}

// The direct children of `container` that take a tab stop, in its tab order.
std::vector<ControlId> TabOrder(ControlId container);
// The window's whole focus chain: the window's order with each container replaced
// by its own order (the page control keeps its own stop, then both pages follow,
// the first page first). Hidden controls are listed; a toolkit skips them.
std::vector<ControlId> FocusChain();

}  // namespace tacho
