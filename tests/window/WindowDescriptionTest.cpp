// The window description against the window the tool must show: every control's
// kind, container, place, texts, font, limits, hint, list, default, tab stop,
// visibility and handler, the window's own properties and the focus chain.
#include "WindowDescription.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tacho {
namespace {

using K = ControlKind;
using C = ControlId;

constexpr FontStyle kWindowFont{};
constexpr FontStyle kTahoma11{11, false};
constexpr FontStyle kTahoma13{13, false};
constexpr FontStyle kTahoma12{12, false};

struct Expected {
  C id;
  K kind;
  C parent;
  Rect rect;
  std::u16string_view caption = {};
  FontStyle font = {};
  std::u16string_view label = {};
  FontStyle labelFont = {};
  int maxLength = 0;
  bool digitsOnly = false;
  std::u16string_view hint = {};
  std::size_t itemCount = 0;
  int defaultIndex = -1;
  std::u16string_view defaultText = {};
  int tab = -1;
  bool visible = true;
  Handler handler = Handler::None;
};

const Expected kExpected[] = {
    {.id = C::Form1, .kind = K::Window, .parent = C::Form1, .rect = {0, 0, 430, 419},
     .caption = u"Программа записи калибровочных данных"},
    {.id = C::sPanel1, .kind = K::Panel, .parent = C::Form1, .rect = {-2, 1, 433, 29}, .tab = 5},
    {.id = C::Open_File_Button, .kind = K::ToolButton, .parent = C::sPanel1, .rect = {2, 2, 86, 25},
     .caption = u"Открыть", .handler = Handler::Open_File_ButtonClick},
    {.id = C::Save_File_Button, .kind = K::ToolButton, .parent = C::sPanel1, .rect = {88, 2, 86, 25},
     .caption = u"Сохранить", .handler = Handler::Save_File_ButtonClick},
    {.id = C::sLabel1, .kind = K::Label, .parent = C::sPanel1, .rect = {180, 8, 109, 13},
     .caption = u"Связь с устройством:", .font = kTahoma11},
    {.id = C::sComboBox_port, .kind = K::DropDownList, .parent = C::sPanel1, .rect = {291, 3, 91, 22},
     .font = kTahoma11, .itemCount = 1, .tab = 0, .handler = Handler::sComboBox_portChange},
    {.id = C::Search_Button, .kind = K::ToolButton, .parent = C::sPanel1, .rect = {385, 2, 44, 24},
     .caption = u"Найти", .handler = Handler::Search_ButtonClick},
    {.id = C::sPageControl1, .kind = K::PageControl, .parent = C::Form1, .rect = {4, 31, 421, 346}, .tab = 2,
     .handler = Handler::sPageControl1Change},
    {.id = C::sTabSheet1, .kind = K::Page, .parent = C::sPageControl1, .rect = {}, .caption = u"Калибровка",
     .tab = 0},
    {.id = C::sGroupBox1, .kind = K::GroupBox, .parent = C::sTabSheet1, .rect = {1, -9, 411, 324},
     .font = {15, false}, .tab = 0},
    {.id = C::sEdit_master_N, .kind = K::EditField, .parent = C::sGroupBox1, .rect = {272, 21, 127, 21},
     .font = kTahoma11, .label = u"Номер мастерской: ", .labelFont = kTahoma13, .maxLength = 15,
     .defaultText = u"РФ", .tab = 0},
    {.id = C::sEdit_VIN, .kind = K::EditField, .parent = C::sGroupBox1, .rect = {272, 48, 127, 21},
     .font = kTahoma11, .label = u"Идентификационный номер (VIN): ", .labelFont = kTahoma13, .maxLength = 17,
     .tab = 1},
    {.id = C::sEdit_VRN, .kind = K::EditField, .parent = C::sGroupBox1, .rect = {272, 75, 127, 21},
     .font = kTahoma11, .label = u"Регистрационный номер (VRN): ", .labelFont = kTahoma13, .maxLength = 13,
     .tab = 2},
    {.id = C::sComboBox_country, .kind = K::DropDownList, .parent = C::sGroupBox1, .rect = {272, 102, 127, 22},
     .font = kTahoma11, .label = u"Страна: ", .labelFont = kTahoma13, .itemCount = 56, .defaultIndex = 43,
     .tab = 3},
    {.id = C::sEdit_W, .kind = K::EditField, .parent = C::sGroupBox1, .rect = {272, 130, 127, 21},
     .font = kTahoma11, .label = u"Характеристический коэффициент (W): ", .labelFont = kTahoma13, .tab = 4},
    {.id = C::sEdit_L, .kind = K::EditField, .parent = C::sGroupBox1, .rect = {272, 157, 127, 21},
     .font = kTahoma11, .label = u"Эффективная окружность шин колёс (L,мм): ", .labelFont = kTahoma13, .tab = 5},
    {.id = C::sEdit_typeSize, .kind = K::EditField, .parent = C::sGroupBox1, .rect = {272, 184, 127, 21},
     .font = kTahoma11, .label = u"Обозначение размера шин: ", .labelFont = kTahoma13, .maxLength = 15, .tab = 6},
    {.id = C::sEdit_speed, .kind = K::EditField, .parent = C::sGroupBox1, .rect = {272, 211, 127, 21},
     .font = kTahoma11, .label = u"Разрешённая скорость ТС (км/ч): ", .labelFont = kTahoma13, .tab = 7},
    {.id = C::sEdit_odometer, .kind = K::EditField, .parent = C::sGroupBox1, .rect = {272, 238, 127, 21},
     .font = kTahoma11, .label = u"Новые показания счётчика пробега (км): ", .labelFont = kTahoma13,
     .maxLength = 6, .tab = 8},
    {.id = C::sDateEdit2, .kind = K::DateField, .parent = C::sGroupBox1, .rect = {272, 265, 79, 21},
     .font = kTahoma11, .label = u"Дата Следующей калибровки: ", .labelFont = kTahoma13, .maxLength = 10,
     .tab = 9},
    {.id = C::sComboBox1, .kind = K::DropDownList, .parent = C::sGroupBox1, .rect = {272, 292, 45, 22},
     .font = kTahoma11, .label = u"Сдвиг местного времени: ", .labelFont = kTahoma13, .itemCount = 47,
     .defaultIndex = 23, .tab = 10},
    {.id = C::sLabel2, .kind = K::Label, .parent = C::sGroupBox1, .rect = {320, 295, 7, 16}, .caption = u"ч",
     .font = kTahoma13},
    {.id = C::sComboBox2, .kind = K::DropDownList, .parent = C::sGroupBox1, .rect = {333, 292, 41, 22},
     .font = kTahoma11, .itemCount = 60, .defaultIndex = 0, .tab = 11},
    {.id = C::sLabel3, .kind = K::Label, .parent = C::sGroupBox1, .rect = {379, 295, 22, 16}, .caption = u"мин",
     .font = kTahoma13},
    {.id = C::sTabSheet2, .kind = K::Page, .parent = C::sPageControl1, .rect = {}, .caption = u"Настройка GSM",
     .tab = 1},
    {.id = C::sLabelFX2, .kind = K::HeadingLabel, .parent = C::sTabSheet2, .rect = {20, 16, 249, 22},
     .caption = u"Настройки сотового оператора:", .font = {15, true}},
    {.id = C::sLabelFX3, .kind = K::HeadingLabel, .parent = C::sTabSheet2, .rect = {20, 101, 157, 22},
     .caption = u"Настройки сервера:", .font = {15, true}},
    {.id = C::sLabelFX4, .kind = K::HeadingLabel, .parent = C::sTabSheet2, .rect = {20, 184, 192, 22},
     .caption = u"Настройки GSM модуля:", .font = {15, true}},
    {.id = C::sComboBox3, .kind = K::DropDownList, .parent = C::sTabSheet2, .rect = {184, 41, 137, 22},
     .font = kTahoma11, .label = u"Оператор: ", .labelFont = kTahoma12, .itemCount = 5, .tab = 6,
     .handler = Handler::sComboBox3Change},
    {.id = C::Edit_operator, .kind = K::EditField, .parent = C::sTabSheet2, .rect = {184, 69, 220, 21},
     .font = kTahoma11, .label = u"Строка подключения:  ", .labelFont = kTahoma12, .maxLength = 50,
     .hint = u"\"точка доступа\", \"логин\",\"пароль\"", .tab = 2},
    {.id = C::Edit_IP, .kind = K::EditField, .parent = C::sTabSheet2, .rect = {184, 126, 145, 21},
     .font = kTahoma11, .label = u"IP адресс:  ", .labelFont = kTahoma12, .maxLength = 15,
     .hint = u"IP адресс сервера", .tab = 0},
    {.id = C::Edit_port, .kind = K::EditField, .parent = C::sTabSheet2, .rect = {184, 154, 49, 21},
     .font = kTahoma11, .label = u"Порт:  ", .labelFont = kTahoma12, .maxLength = 5, .digitsOnly = true,
     .tab = 1},
    {.id = C::Edit_int_send, .kind = K::EditField, .parent = C::sTabSheet2, .rect = {265, 209, 41, 21},
     .font = kTahoma11, .label = u"Интервал передачи данных (сек):  ", .labelFont = kTahoma12, .maxLength = 4,
     .digitsOnly = true, .hint = u"интервал передачи данных на сервер (10-2500 сек)", .tab = 3},
    {.id = C::Edit_int_save, .kind = K::EditField, .parent = C::sTabSheet2, .rect = {265, 237, 41, 21},
     .font = kTahoma11, .label = u"Интервал сохранения данных (сек):  ", .labelFont = kTahoma12, .maxLength = 4,
     .digitsOnly = true, .hint = u"интервал сохранения данных в чёрный ящик (5-1200 сек)", .tab = 4},
    {.id = C::Default_Button, .kind = K::PushButton, .parent = C::sTabSheet2, .rect = {9, 268, 124, 24},
     .caption = u"По умолчанию", .font = kWindowFont, .tab = 5, .handler = Handler::Default_ButtonClick},
    {.id = C::Write_Kalibr_Button, .kind = K::PushButton, .parent = C::Form1, .rect = {212, 384, 208, 29},
     .caption = u"Записать данные", .font = {15, false}, .tab = 0, .handler = Handler::Write_Kalibr_ButtonClick},
    {.id = C::Help_Button, .kind = K::PushButton, .parent = C::Form1, .rect = {9, 385, 28, 28}, .caption = u"?",
     .font = {20, true}, .tab = 1, .handler = Handler::Help_ButtonClick},
    {.id = C::Read_GSM_Button, .kind = K::PushButton, .parent = C::Form1, .rect = {212, 385, 101, 28},
     .caption = u"Считать", .font = kWindowFont, .tab = 3, .visible = false,
     .handler = Handler::Read_GSM_ButtonClick},
    {.id = C::Write_GSM_Button, .kind = K::PushButton, .parent = C::Form1, .rect = {319, 385, 101, 28},
     .caption = u"Записать", .font = kWindowFont, .tab = 4, .visible = false,
     .handler = Handler::Write_GSM_ButtonClick},
    {.id = C::sLabelFX1, .kind = K::HeadingLabel, .parent = C::Form1, .rect = {45, 396, 155, 17},
     .caption = Describe(C::sLabelFX1).caption /* the maker's notice is ours to choose */, .font = kTahoma11},
};

TEST(WindowDescription, DescribesEveryControlOnceAsTheWindowShowsIt) {
  ASSERT_EQ(std::size(kExpected), kControls.size());
  for (const Expected& e : kExpected) {
    const ControlDesc& d = Describe(e.id);
    SCOPED_TRACE(std::string(d.name));
    EXPECT_EQ(d.id, e.id);
    EXPECT_EQ(d.kind, e.kind);
    EXPECT_EQ(d.parent, e.parent);
    EXPECT_EQ(d.rect, e.rect);
    EXPECT_EQ(d.caption, e.caption);
    EXPECT_EQ(d.font.pixelHeight, e.font.pixelHeight);
    EXPECT_EQ(d.font.bold, e.font.bold);
    EXPECT_EQ(d.label.text, e.label);
    EXPECT_EQ(d.label.font.pixelHeight, e.labelFont.pixelHeight);
    EXPECT_EQ(d.label.font.bold, e.labelFont.bold);
    EXPECT_EQ(d.maxLength, e.maxLength);
    EXPECT_EQ(d.digitsOnly, e.digitsOnly);
    EXPECT_EQ(d.hint, e.hint);
    EXPECT_EQ(d.items.size(), e.itemCount);
    EXPECT_EQ(d.defaultIndex, e.defaultIndex);
    EXPECT_EQ(d.defaultText, e.defaultText);
    EXPECT_EQ(d.tab, e.tab);
    EXPECT_EQ(d.visibleAtStart, e.visible);
    EXPECT_EQ(d.handler, e.handler);
    EXPECT_EQ(d.defaultDate, e.id == C::sDateEdit2 ? StartDate::NextCalibrationDate : StartDate::None);
  }
}

TEST(WindowDescription, NamesEachControlAsItsIdAndTheTwoUnlabelledListsByTheirLabels) {
  const struct {
    C id;
    std::string_view name;
  } someNames[] = {{C::Form1, "Form1"}, {C::sEdit_VIN, "sEdit_VIN"}, {C::Edit_int_save, "Edit_int_save"},
                   {C::sLabelFX1, "sLabelFX1"}};
  for (const auto& n : someNames) EXPECT_EQ(ControlName(n.id), n.name);
  for (const ControlDesc& d : kControls) {
    SCOPED_TRACE(std::string(d.name));
    const C expected = d.id == C::sComboBox_port ? C::sLabel1 : d.id == C::sComboBox2 ? C::sLabel3 : C::Form1;
    EXPECT_EQ(d.namedBy, expected);
  }
  EXPECT_EQ(Describe(Describe(C::sComboBox_port).namedBy).caption, u"Связь с устройством:");
  EXPECT_EQ(Describe(Describe(C::sComboBox2).namedBy).caption, u"мин");
}

TEST(WindowDescription, FieldNamesAreTheBoundLabelsWithoutTheirColon) {
  const struct {
    C id;
    std::u16string_view name;
  } cases[] = {
      {C::sEdit_VIN, u"Идентификационный номер (VIN)"},
      {C::sEdit_master_N, u"Номер мастерской"},
      {C::Edit_IP, u"IP адресс"},
      {C::Edit_operator, u"Строка подключения"},
      {C::sComboBox2, u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(ControlName(c.id)));
    EXPECT_EQ(FieldName(c.id), c.name);
  }
}

TEST(WindowDescription, WindowProperties) {
  EXPECT_EQ(kMainWindow.name, "Form1");
  EXPECT_EQ(kMainWindow.className, "TForm1");
  EXPECT_EQ(kMainWindow.caption, u"Программа записи калибровочных данных");
  EXPECT_EQ(kMainWindow.clientWidth, 430);
  EXPECT_EQ(kMainWindow.clientHeight, 419);
  EXPECT_EQ(kMainWindow.font.pixelHeight, 11);
  EXPECT_FALSE(kMainWindow.font.bold);
  EXPECT_EQ(kFontFace, u"Tahoma");
  EXPECT_FALSE(kMainWindow.resizable);
  EXPECT_FALSE(kMainWindow.maximizeButton);
  EXPECT_TRUE(kMainWindow.minimizeButton);
  EXPECT_EQ(kMainWindow.designDpi, 96);
  EXPECT_TRUE(kMainWindow.centredAtStart);

  EXPECT_EQ(kOpenDialog.name, "sOpenDialog1");
  EXPECT_EQ(kOpenDialog.filterDescription, u"Текстовые файлы");
  EXPECT_EQ(kOpenDialog.filterPattern, u"*.txt");
  EXPECT_EQ(kSaveDialog.name, "sSaveDialog1");
  EXPECT_EQ(kSaveDialog.filterDescription, u"Текстовые");
  EXPECT_EQ(kSaveDialog.filterPattern, u"*.txt");
}

TEST(WindowDescription, EachPageShowsItsOwnCommandButtons) {
  const struct {
    const char* page;
    bool writeCalibration, readGsm, writeGsm;
  } rows[] = {{"Калибровка", true, false, false}, {"Настройка GSM", false, true, true}};
  ASSERT_EQ(kCommandButtonsByPage.size(), std::size(rows));
  for (std::size_t page = 0; page < std::size(rows); ++page) {
    SCOPED_TRACE(rows[page].page);
    std::vector<C> buttons;
    for (const PageButtonState& s : kCommandButtonsByPage[page]) {
      buttons.push_back(s.button);
      const bool expected = s.button == C::Write_Kalibr_Button ? rows[page].writeCalibration
                            : s.button == C::Read_GSM_Button    ? rows[page].readGsm
                                                                 : rows[page].writeGsm;
      EXPECT_EQ(s.visible, expected) << ControlName(s.button);
    }
    // Shown and hidden in this order by the page switch.
    EXPECT_EQ(buttons, (std::vector<C>{C::Write_Kalibr_Button, C::Write_GSM_Button, C::Read_GSM_Button}));
  }
}

TEST(WindowDescription, TabOrdersOfTheContainersAndTheWholeFocusChain) {
  const struct {
    C container;
    std::vector<C> order;
  } cases[] = {
      {C::Form1,
       {C::Write_Kalibr_Button, C::Help_Button, C::sPageControl1, C::Read_GSM_Button, C::Write_GSM_Button,
        C::sPanel1}},
      {C::sPanel1, {C::sComboBox_port}},
      {C::sPageControl1, {C::sTabSheet1, C::sTabSheet2}},
      {C::sTabSheet1, {C::sGroupBox1}},
      {C::sGroupBox1,
       {C::sEdit_master_N, C::sEdit_VIN, C::sEdit_VRN, C::sComboBox_country, C::sEdit_W, C::sEdit_L,
        C::sEdit_typeSize, C::sEdit_speed, C::sEdit_odometer, C::sDateEdit2, C::sComboBox1, C::sComboBox2}},
      {C::sTabSheet2,
       {C::Edit_IP, C::Edit_port, C::Edit_operator, C::Edit_int_send, C::Edit_int_save, C::Default_Button,
        C::sComboBox3}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(ControlName(c.container)));
    EXPECT_EQ(TabOrder(c.container), c.order);
  }
  const std::vector<C> chain = {
      C::Write_Kalibr_Button, C::Help_Button,    C::sPageControl1,   C::sEdit_master_N, C::sEdit_VIN,
      C::sEdit_VRN,           C::sComboBox_country, C::sEdit_W,      C::sEdit_L,        C::sEdit_typeSize,
      C::sEdit_speed,         C::sEdit_odometer, C::sDateEdit2,      C::sComboBox1,     C::sComboBox2,
      C::Edit_IP,             C::Edit_port,      C::Edit_operator,   C::Edit_int_send,  C::Edit_int_save,
      C::Default_Button,      C::sComboBox3,     C::Read_GSM_Button, C::Write_GSM_Button, C::sComboBox_port,
  };
  EXPECT_EQ(FocusChain(), chain);
}

// Items as the window lists them, by index; `count` of them in all.
struct ListCase {
  const char* name;
  C list;
  std::size_t count;
  std::vector<std::pair<std::size_t, std::u16string_view>> items;
  std::vector<std::u16string_view> absent;
};

TEST(WindowDescription, ListItems) {
  const ListCase cases[] = {
      {"country: first without a code, Russia the default, the last of all",
       C::sComboBox_country,
       56,
       {{0, u"   Информац. нет"},
        {1, u"A       Австрия   "},
        {8, u"BIH    Босн.и Герцег"},
        {11, u"CY      Кипр     "},
        {35, u"MD   Респ. Молдова"},
        {43, u"RUS   Росс.федерац."},
        {52, u"UNK  Нет данных  "},
        {55, u"WLD  Ост.часть мир"}},
       {u"RUS Росс.федерац."}},
      {"hours: no -11, both -0 and +0",
       C::sComboBox1,
       47,
       {{0, u"-23"}, {11, u"-12"}, {12, u"-10"}, {21, u"-1"}, {22, u"-0"}, {23, u"+0"}, {24, u"+1"}, {46, u"+23"}},
       {u"-11", u"0"}},
      {"minutes: 00, then 1 to 59 without a leading zero",
       C::sComboBox2,
       60,
       {{0, u"00"}, {1, u"1"}, {9, u"9"}, {10, u"10"}, {59, u"59"}},
       {u"0", u"01", u"05"}},
      {"operators",
       C::sComboBox3,
       5,
       {{0, u"МТС"}, {1, u"МЕГАФОН"}, {2, u"БИЛАЙН"}, {3, u"ТЕЛЕ2"}, {4, u"Другой..."}},
       {}},
      {"port: the search item alone", C::sComboBox_port, 1, {{0, u"Найти устр-во"}}, {}},
  };
  for (const ListCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto items = Describe(c.list).items;
    ASSERT_EQ(items.size(), c.count);
    for (const auto& [index, text] : c.items) EXPECT_EQ(items[index], text) << index;
    for (std::u16string_view text : c.absent) {
      EXPECT_EQ(std::find(items.begin(), items.end(), text), items.end());
    }
  }
  // A minutes item's index is its value.
  const auto minutes = Describe(C::sComboBox2).items;
  for (std::size_t i = 1; i < minutes.size(); ++i) {
    const std::u16string_view item = minutes[i];
    std::size_t value = 0;
    for (char16_t digit : item) value = value * 10 + static_cast<std::size_t>(digit - u'0');
    EXPECT_EQ(value, i);
    EXPECT_NE(item.front(), u'0');
  }
  // Every hours item is a sign and one or two digits.
  for (std::u16string_view item : Describe(C::sComboBox1).items) {
    EXPECT_TRUE(item.size() == 2 || item.size() == 3);
    EXPECT_TRUE(item.front() == u'-' || item.front() == u'+');
  }
}

}  // namespace
}  // namespace tacho
