// The vocabulary of the window description: control ids, kinds, handlers, fonts,
// rectangles and the record that describes one control. Toolkit-free.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace tacho {

// Every control of the window, named as in the window. Form1 is the window itself.
enum class ControlId {
  Form1,
  // top panel
  sPanel1,
  Open_File_Button,
  Save_File_Button,
  sLabel1,
  sComboBox_port,
  Search_Button,
  // pages
  sPageControl1,
  sTabSheet1,
  sGroupBox1,
  sEdit_master_N,
  sEdit_VIN,
  sEdit_VRN,
  sComboBox_country,
  sEdit_W,
  sEdit_L,
  sEdit_typeSize,
  sEdit_speed,
  sEdit_odometer,
  sDateEdit2,
  sComboBox1,
  sLabel2,
  sComboBox2,
  sLabel3,
  sTabSheet2,
  sLabelFX2,
  sLabelFX3,
  sLabelFX4,
  sComboBox3,
  Edit_operator,
  Edit_IP,
  Edit_port,
  Edit_int_send,
  Edit_int_save,
  Default_Button,
  // bottom row
  Write_Kalibr_Button,
  Help_Button,
  Read_GSM_Button,
  Write_GSM_Button,
  sLabelFX1,
};
inline constexpr std::size_t kControlCount = static_cast<std::size_t>(ControlId::sLabelFX1) + 1;

enum class ControlKind {
  Window,
  Panel,
  PageControl,
  Page,
  GroupBox,
  EditField,     // single line; optional maximum length and digits-only mode
  DateField,     // masked "DD.MM.YYYY" with a calendar button
  DropDownList,  // pick only, no typing
  PushButton,
  ToolButton,    // flat, on the top panel, never takes the focus
  Label,
  HeadingLabel,  // drawn with a soft shadow
};

// The text of an empty date field: blanks as spaces, the dots kept.
inline constexpr std::u16string_view kEmptyDateText = u"  .  .    ";

// The handler a control's click (buttons) or change (lists, the page control) runs.
enum class Handler {
  None,
  Open_File_ButtonClick,
  Save_File_ButtonClick,
  sComboBox_portChange,
  Search_ButtonClick,
  sPageControl1Change,
  Write_Kalibr_ButtonClick,
  Help_ButtonClick,
  Read_GSM_ButtonClick,
  Write_GSM_ButtonClick,
  Default_ButtonClick,
  sComboBox3Change,
};

// Every font of the window is this face, black, at a pixel height of 96 dpi.
inline constexpr std::u16string_view kFontFace = u"Tahoma";
struct FontStyle {
  int pixelHeight = 0;  // 0: the window's font
  bool bold = false;
};

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

// A label bound to the left side of a field: right-aligned against it, no gap;
// screen readers name the field by it.
struct BoundLabel {
  std::u16string_view text{};  // empty: the field has none
  FontStyle font{};
};

// A default that is not a fixed text: computed when the window is built.
enum class StartDate {
  None,
  NextCalibrationDate,  // today plus 730 days: DefaultNextCalibrationDate(TodayLocal())
};

struct ControlDesc {
  ControlId id{};
  std::string_view name{};
  ControlKind kind{};
  ControlId parent{};                        // Form1 for the window's own controls
  Rect rect{};                               // in the parent's client area, at 96 dpi
  std::u16string_view caption{};             // button, label, page tab; empty otherwise
  FontStyle font{};                           // {0}: the window's font
  BoundLabel label{};
  // A label elsewhere whose caption names this control for screen readers;
  // Form1: none (a bound label, if any, names it).
  ControlId namedBy = ControlId::Form1;
  int maxLength = 0;                       // characters the user can type; 0: no limit
  bool digitsOnly = false;
  std::u16string_view hint{};                // tooltip; empty: none
  std::span<const std::u16string_view> items{};
  int defaultIndex = -1;                   // lists: the item selected at start, -1 none
  std::u16string_view defaultText{};         // edit fields: the text at start
  StartDate defaultDate = StartDate::None;   // date fields: the date at start
  int tab = -1;                            // place in the parent's tab order; -1: takes no tab stop
  bool visibleAtStart = true;
  Handler handler = Handler::None;
  // Disabled while a command or a search runs: it would start another one or
  // change what the running one works on.
  bool lockedWhileBusy = false;
};

struct WindowDesc {
  std::string_view name;        // "Form1"
  std::string_view className;   // "TForm1"
  std::u16string_view caption;
  int clientWidth;
  int clientHeight;
  FontStyle font;
  bool resizable;
  bool maximizeButton;
  bool minimizeButton;
  int designDpi;
  bool centredAtStart;
};

struct FileDialogDesc {
  std::string_view name;
  std::u16string_view filterDescription;
  std::u16string_view filterPattern;
};

// Which command buttons a page shows; the page switch applies the rows in order.
struct PageButtonState {
  ControlId button;
  bool visible;
};

}  // namespace tacho
