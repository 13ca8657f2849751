// The Win32 window, in process, read back through Windows itself: every
// control's place, font, limit, digits-only mode, hint, visibility and the tab
// walk against the window description at the screen's dpi; texts set by
// program; the user's typing, pasting and picking; the page switch; every box
// read from the real box window and closed with its OK button; the waits and
// the closing of the window during a command. The end-to-end cases
// (WindowEndToEnd) run commands through the window against the device emulator
// that the Linux driver (WineExchangeDriverTest) links as COM40.
#include <gtest/gtest.h>

#include "Unit1.h"  // windows.h first

#include <commctrl.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "AppContext.h"
#include "AppTitle.h"
#include "CivilDate.h"
#include "CommandExchange.h"
#include "DateFieldText.h"
#include "Dpi.h"
#include "Exchange.h"
#include "GsmCommands.h"
#include "GsmPresets.h"
#include "HelpText.h"
#include "SerialPort.h"
#include "Session.h"
#include "ShellHandlers.h"
#include "TextCodec.h"
#include "Win32Text.h"
#include "WineExchangeCases.h"

namespace tacho {
namespace {

std::string Name(ControlId id) { return std::string(ControlName(id)); }

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

// Handles the messages waiting, then sleeps until more come, until `done` or
// the time is up.
template <typename Done>
bool PumpUntil(Done done, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    MsgWaitForMultipleObjectsEx(0, nullptr, 20, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

void Pump() {
  PumpUntil([] { return false; }, std::chrono::milliseconds(30));
}

// A box the window showed, as read from the box window itself.
struct CaughtBox {
  std::wstring caption;
  std::wstring text;
  bool hasIcon = false;
  bool ownedByForm = false;
};

// Finds every message box of this thread while it is shown (a timer of the
// form's window keeps looking, from inside the box's own modal loop), reads its
// caption, text and icon, and presses its OK button.
class BoxCatcher {
 public:
  explicit BoxCatcher(HWND form) : form_(form) {
    SetTimer(form_, reinterpret_cast<UINT_PTR>(this), 25, &BoxCatcher::Tick);
  }
  ~BoxCatcher() { KillTimer(form_, reinterpret_cast<UINT_PTR>(this)); }
  BoxCatcher(const BoxCatcher&) = delete;
  BoxCatcher& operator=(const BoxCatcher&) = delete;

  std::vector<CaughtBox> boxes;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR self, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), &BoxCatcher::Look, static_cast<LPARAM>(self));
  }
  static BOOL CALLBACK Look(HWND window, LPARAM self) {
    reinterpret_cast<BoxCatcher*>(self)->Catch(window);
    return TRUE;
  }
  void Catch(HWND box) {
    if (ClassOf(box) != L"#32770" || !IsWindowVisible(box) || pressed_.count(box)) return;
    CaughtBox caught;
    caught.caption = TextOf(box);
    caught.ownedByForm = GetWindow(box, GW_OWNER) == form_;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (ClassOf(child) != L"Static") continue;
      if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        caught.hasIcon = caught.hasIcon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
      } else if (!TextOf(child).empty()) {
        caught.text = TextOf(child);
      }
    }
    boxes.push_back(caught);
    pressed_.insert(box);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
  }

  HWND form_;
  std::set<HWND> pressed_;
};

class Win32Window : public ::testing::Test {
 protected:
  void SetUp() override {
    form.SetHandlerRunner([this](Handler handler) { RunNamedHandler(handler, app); });
    form.ShowCentred();
    Pump();
  }

  int S(int value) const { return ScaleToDpi(value, form.Dpi()); }
  HWND Of(ControlId id) const { return form.Control(id); }

  // The control's rectangle in its parent's client area.
  static RECT InParent(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }
  RECT Expected(const Rect& r) const { return {S(r.left), S(r.top), S(r.left) + S(r.width), S(r.top) + S(r.height)}; }

  // The user clicks a button, as Windows delivers it.
  void Click(ControlId id) {
    SendMessageW(Of(id), BM_CLICK, 0, 0);
    Pump();
  }
  // The user picks an item: the selection changes, then the list tells its
  // parent that the pick is made.
  void Pick(ControlId id, int index) {
    HWND list = Of(id);
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELENDOK),
                 reinterpret_cast<LPARAM>(list));
    SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    Pump();
  }
  // The user clicks the tab of a page.
  void ShowPage(int page) {
    SendMessageW(Of(ControlId::sPageControl1), TCM_SETCURFOCUS, static_cast<WPARAM>(page), 0);
    Pump();
  }
  void Type(ControlId id, std::wstring_view keys) {
    for (wchar_t key : keys) SendMessageW(Of(id), WM_CHAR, key, 0);
  }
  // The tab walk from the first stop until it comes round again.
  std::vector<ControlId> TabWalk() {
    std::vector<ControlId> walk;
    HWND first = GetNextDlgTabItem(form.Handle(), nullptr, FALSE);
    for (HWND at = first; at && walk.size() <= kControlCount;) {
      walk.push_back(IdOf(at));
      at = GetNextDlgTabItem(form.Handle(), at, FALSE);
      if (at == first) break;
    }
    return walk;
  }
  ControlId IdOf(HWND window) const {
    for (const ControlDesc& desc : kControls) {
      if (form.Control(desc.id) == window) return desc.id;
    }
    ADD_FAILURE() << "a window that is no control of the description";
    return ControlId::Form1;
  }
  // The described focus chain without what is hidden now.
  std::vector<ControlId> ShownChain() {
    std::vector<ControlId> chain;
    for (ControlId id : FocusChain()) {
      if (IsWindowVisible(Of(id))) chain.push_back(id);
    }
    return chain;
  }

  TForm1 form;
  Session session;
  SerialPort port{PortMap("", {})};
  AppContext app{form, session, port};
};

// ---- the window as described ------------------------------------------------

TEST_F(Win32Window, RunsAtTheDpiItIsTestedFor) {
  const char* wanted = std::getenv("TACHO_EXPECTED_DPI");
  EXPECT_EQ(form.Dpi(), wanted ? static_cast<UINT>(std::atoi(wanted)) : 96u);
}

TEST_F(Win32Window, ClientAreaFixedSizeCaptionAndTitleBarButtons) {
  RECT client;
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, S(kMainWindow.clientWidth));
  EXPECT_EQ(client.bottom, S(kMainWindow.clientHeight));
  EXPECT_EQ(TextOf(form.Handle()), W(kMainWindow.caption));
  const auto style = GetWindowLongPtrW(form.Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME) << "the user can resize the window";
  EXPECT_NE(SendMessageW(form.Handle(), WM_GETICON, ICON_BIG, 0), 0) << "no icon";
}

TEST_F(Win32Window, CentredOnTheWorkArea) {
  RECT frame;
  GetWindowRect(form.Handle(), &frame);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(form.Handle(), MONITOR_DEFAULTTOPRIMARY), &monitor);
  EXPECT_LE(std::abs((frame.left + frame.right) - (monitor.rcWork.left + monitor.rcWork.right)), 1);
  EXPECT_LE(std::abs((frame.top + frame.bottom) - (monitor.rcWork.top + monitor.rcWork.bottom)), 1);
}

TEST_F(Win32Window, EveryControlLiesWhereTheDescriptionPutsIt) {
  for (const ControlDesc& desc : kControls) {
    if (desc.kind == ControlKind::Window || desc.kind == ControlKind::Page) continue;
    SCOPED_TRACE(Name(desc.id));
    const RECT got = InParent(Of(desc.id)), want = Expected(desc.rect);
    EXPECT_EQ(got.left, want.left);
    EXPECT_EQ(got.top, want.top);
    EXPECT_EQ(got.right - got.left, want.right - want.left);
    EXPECT_EQ(got.bottom - got.top, want.bottom - want.top);
    const ControlId parent = desc.parent;
    // A page's controls lie on the page's own window.
    EXPECT_EQ(GetParent(Of(desc.id)), Of(parent));
  }
}

TEST_F(Win32Window, BoundLabelsStandRightAgainstTheirFieldsAndComeJustBeforeThem) {
  for (const ControlDesc& desc : kControls) {
    if (desc.label.text.empty()) continue;
    SCOPED_TRACE(Name(desc.id));
    HWND label = form.BoundLabel(desc.id);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(TextOf(label), W(desc.label.text));
    const RECT got = InParent(label), field = InParent(Of(desc.id));
    EXPECT_EQ(got.right, field.left) << "a gap between label and field";
    EXPECT_EQ(got.top, field.top);
    EXPECT_GE(got.left, 0);
    EXPECT_EQ(GetWindowLongPtrW(label, GWL_STYLE) & SS_TYPEMASK, SS_RIGHT);
    // Screen readers name a field by the label that comes just before it.
    EXPECT_EQ(GetWindow(label, GW_HWNDNEXT), Of(desc.id));
  }
}

LOGFONTW FontOf(HWND window) {
  LOGFONTW font{};
  const auto handle = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  if (handle) GetObjectW(handle, sizeof(font), &font);
  return font;
}

TEST_F(Win32Window, FontsAreTahomaAtTheDescribedHeights) {
  auto expectFont = [this](HWND window, FontStyle style) {
    if (style.pixelHeight == 0) style = kMainWindow.font;
    const LOGFONTW font = FontOf(window);
    EXPECT_EQ(font.lfHeight, -S(style.pixelHeight));
    EXPECT_EQ(font.lfWeight >= FW_BOLD, style.bold);
    EXPECT_EQ(std::wstring(font.lfFaceName), W(kFontFace));
  };
  for (const ControlDesc& desc : kControls) {
    if (desc.kind == ControlKind::Window || desc.kind == ControlKind::Page) continue;
    SCOPED_TRACE(Name(desc.id));
    expectFont(Of(desc.id), desc.font);
    if (!desc.label.text.empty()) {
      SCOPED_TRACE("bound label");
      expectFont(form.BoundLabel(desc.id), desc.label.font);
    }
  }
}

TEST_F(Win32Window, TheSystemDrawsWithTahomaBoldWhereAsked) {
  for (ControlId id : {ControlId::sEdit_VIN, ControlId::sLabelFX2, ControlId::Help_Button}) {
    SCOPED_TRACE(Name(id));
    HWND control = Of(id);
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    EXPECT_STREQ(face, L"Tahoma");
    EXPECT_EQ(metrics.tmWeight >= FW_BOLD, Describe(id).font.bold) << "weight " << metrics.tmWeight;
  }
}

TEST_F(Win32Window, EditFieldsLimitsDigitsOnlyAndHints) {
  for (const ControlDesc& desc : kControls) {
    if (desc.kind != ControlKind::EditField && desc.kind != ControlKind::DateField) continue;
    SCOPED_TRACE(Name(desc.id));
    HWND field = Of(desc.id);
    const auto limit = static_cast<unsigned long long>(SendMessageW(field, EM_GETLIMITTEXT, 0, 0));
    if (desc.maxLength > 0) {
      EXPECT_EQ(limit, static_cast<unsigned>(desc.maxLength));
    } else {
      EXPECT_GE(limit, 0x7FFEull) << "a field without a limit is limited";
    }
    EXPECT_EQ((GetWindowLongPtrW(field, GWL_STYLE) & ES_NUMBER) != 0, desc.digitsOnly);

    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = form.Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(field);
    const bool hasTool = SendMessageW(form.Tooltip(), TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
    EXPECT_EQ(hasTool, !desc.hint.empty());
    if (hasTool) {
      EXPECT_TRUE(tool.uFlags & TTF_IDISHWND);
      EXPECT_TRUE(tool.uFlags & TTF_SUBCLASS);
      std::wstring hint(1024, L'\0');
      tool.lpszText = hint.data();
      SendMessageW(form.Tooltip(), TTM_GETTEXTW, hint.size(), reinterpret_cast<LPARAM>(&tool));
      EXPECT_EQ(std::wstring(hint.c_str()), W(desc.hint));
    }
  }
}

TEST_F(Win32Window, VisibleAtStartAsDescribed) {
  for (const ControlDesc& desc : kControls) {
    if (desc.kind == ControlKind::Window) continue;
    SCOPED_TRACE(Name(desc.id));
    const bool pageShown = desc.kind != ControlKind::Page || desc.id == ControlId::sTabSheet1;
    EXPECT_EQ((GetWindowLongPtrW(Of(desc.id), GWL_STYLE) & WS_VISIBLE) != 0, desc.visibleAtStart && pageShown);
  }
  EXPECT_EQ(form.ActivePage(), 0);
}

TEST_F(Win32Window, ListsHoldTheirItemsAndDefaults) {
  for (const ControlDesc& desc : kControls) {
    if (desc.kind != ControlKind::DropDownList) continue;
    SCOPED_TRACE(Name(desc.id));
    HWND list = Of(desc.id);
    EXPECT_EQ(GetWindowLongPtrW(list, GWL_STYLE) & 3, CBS_DROPDOWNLIST) << "the user could type";
    ASSERT_EQ(form.ItemCount(desc.id), static_cast<int>(desc.items.size()));
    for (std::size_t i = 0; i < desc.items.size(); ++i) {
      EXPECT_EQ(form.ItemText(desc.id, static_cast<int>(i)), desc.items[i]);
    }
    EXPECT_EQ(form.SelectedIndex(desc.id), desc.defaultIndex);
  }
}

TEST_F(Win32Window, StartEntries) {
  EXPECT_EQ(form.ReadText(ControlId::sEdit_master_N), u"РФ");
  EXPECT_EQ(form.ReadText(ControlId::sEdit_VIN), u"");
  EXPECT_EQ(form.ReadText(ControlId::sComboBox_country), u"RUS   Росс.федерац.");
  EXPECT_EQ(form.ReadText(ControlId::sComboBox1), u"+0");
  EXPECT_EQ(form.ReadText(ControlId::sComboBox2), u"00");
  EXPECT_EQ(form.ReadText(ControlId::sComboBox3), u"");
  EXPECT_EQ(form.ReadText(ControlId::sComboBox_port), u"");
  const CivilDate next = DefaultNextCalibrationDate(TodayLocal());
  wchar_t date[16];
  std::swprintf(date, 16, L"%02d.%02d.%04d", next.day, next.month, next.year);
  EXPECT_EQ(form.ReadText(ControlId::sDateEdit2), U(date));
}

// ---- keyboard ---------------------------------------------------------------

TEST_F(Win32Window, TabWalkFollowsTheDescribedOrderOnBothPages) {
  {
    SCOPED_TRACE("calibration page");
    EXPECT_EQ(TabWalk(), ShownChain());
    EXPECT_EQ(TabWalk().front(), ControlId::Write_Kalibr_Button);
  }
  ShowPage(1);
  {
    SCOPED_TRACE("GSM page");
    const std::vector<ControlId> walk = TabWalk();
    EXPECT_EQ(walk, ShownChain());
    const std::vector<ControlId> gsm(std::find(walk.begin(), walk.end(), ControlId::Edit_IP), walk.end());
    const std::vector<ControlId> expected{ControlId::Edit_IP,       ControlId::Edit_port,      ControlId::Edit_operator,
                                          ControlId::Edit_int_send, ControlId::Edit_int_save,  ControlId::Default_Button,
                                          ControlId::sComboBox3,    ControlId::Read_GSM_Button, ControlId::Write_GSM_Button,
                                          ControlId::sComboBox_port};
    EXPECT_EQ(gsm, expected);
  }
}

TEST_F(Win32Window, ToolButtonsNeverTakeTheFocus) {
  for (ControlId id : {ControlId::Open_File_Button, ControlId::Save_File_Button, ControlId::Search_Button}) {
    SCOPED_TRACE(Name(id));
    EXPECT_FALSE(GetWindowLongPtrW(Of(id), GWL_STYLE) & WS_TABSTOP);
    SetFocus(Of(ControlId::sEdit_VIN));
    SendMessageW(Of(id), WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(Of(id), WM_CAPTURECHANGED, 0, 0);  // let go without a click
    ReleaseCapture();
    EXPECT_EQ(GetFocus(), Of(ControlId::sEdit_VIN));
  }
}

struct TypingCase {
  const char* name;
  ControlId field;
  std::wstring_view keys;
  std::u16string_view expected;
};

class Win32Typing : public Win32Window, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(Win32Typing, LeavesTheText) {
  const TypingCase& c = GetParam();
  form.SetText(c.field, u"");
  Type(c.field, c.keys);
  EXPECT_EQ(form.ReadText(c.field), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, Win32Typing,
    ::testing::Values(
        TypingCase{"VinStopsAtSeventeen", ControlId::sEdit_VIN, L"ABCDEFGHIJKLMNOPQRSTU", u"ABCDEFGHIJKLMNOPQ"},
        TypingCase{"PortRefusesLetters", ControlId::Edit_port, L"8a0b8", u"808"},
        TypingCase{"IntervalStopsAtFour", ControlId::Edit_int_send, L"123456", u"1234"},
        TypingCase{"NoLimitOnW", ControlId::sEdit_W, L"12345678901234567890", u"12345678901234567890"},
        TypingCase{"DateDigitsGoIntoTheMask", ControlId::sDateEdit2, L"01032024", u"01.03.2024"},
        TypingCase{"DateRefusesLetters", ControlId::sDateEdit2, L"0x1", u"01.  .    "},
        TypingCase{"DateDotMovesToTheMonth", ControlId::sDateEdit2, L"1.3.2024", u"1 .3 .2024"},
        TypingCase{"DateBackspaceBlanks", ControlId::sDateEdit2, L"0103\b\b", u"01.  .    "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Win32Window, PasteKeepsTheFirstLineAndRefusesLettersInDigitsOnlyFields) {
  auto paste = [this](ControlId id, const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(form.Handle()));
    EmptyClipboard();
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::copy(text.c_str(), text.c_str() + text.size() + 1, static_cast<wchar_t*>(GlobalLock(data)));
    GlobalUnlock(data);
    SetClipboardData(CF_UNICODETEXT, data);
    CloseClipboard();
    form.SetText(id, u"");
    SendMessageW(Of(id), WM_PASTE, 0, 0);
  };
  paste(ControlId::sEdit_VRN, L"А123ВС77\r\nsecond line");
  EXPECT_EQ(form.ReadText(ControlId::sEdit_VRN), u"А123ВС77");
  paste(ControlId::sEdit_VIN, L"ABCDEFGHIJKLMNOPQRSTU");
  EXPECT_EQ(form.ReadText(ControlId::sEdit_VIN), u"ABCDEFGHIJKLMNOPQ");
  paste(ControlId::Edit_port, L"80a");
  EXPECT_EQ(form.ReadText(ControlId::Edit_port), u"");
  paste(ControlId::Edit_port, L"8080\n9");
  EXPECT_EQ(form.ReadText(ControlId::Edit_port), u"8080");
  paste(ControlId::sDateEdit2, L"1.2.2030");
  EXPECT_EQ(form.ReadText(ControlId::sDateEdit2), u"1 .2 .2030");
}

// ---- texts and lists set by program ---------------------------------------

TEST_F(Win32Window, TextsSetByProgramAreKeptWhole) {
  form.SetText(ControlId::sEdit_VIN, u"ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(form.ReadText(ControlId::sEdit_VIN), u"ABCDEFGHIJKLMNOPQRST");
  form.SetText(ControlId::Edit_port, u"80a0");
  EXPECT_EQ(form.ReadText(ControlId::Edit_port), u"80a0");
  for (std::u16string_view date : {u"1 .0 .2 24", u"  .  .    ", u"31.12.1999"}) {
    form.SetText(ControlId::sDateEdit2, date);
    EXPECT_EQ(form.ReadText(ControlId::sDateEdit2), date);
  }
  form.SetText(ControlId::sDateEdit2, u"2024-01-05");
  EXPECT_EQ(form.ReadText(ControlId::sDateEdit2), FitDateFieldText(u"2024-01-05"));
}

TEST_F(Win32Window, PortListShowsItsTextWhenNothingIsSelected) {
  form.ClearItems(ControlId::sComboBox_port);
  form.SetText(ControlId::sComboBox_port, u"Поиск......");
  EXPECT_EQ(form.ReadText(ControlId::sComboBox_port), u"Поиск......");
  EXPECT_EQ(form.SelectedIndex(ControlId::sComboBox_port), -1);
  form.AddItem(ControlId::sComboBox_port, u"COM 7");
  EXPECT_EQ(form.SelectedIndex(ControlId::sComboBox_port), -1) << "adding an item selected it";
  form.SelectIndex(ControlId::sComboBox_port, 0);
  EXPECT_EQ(form.ReadText(ControlId::sComboBox_port), u"COM 7");
  form.SelectIndex(ControlId::sComboBox_port, 5);
  EXPECT_EQ(form.SelectedIndex(ControlId::sComboBox_port), -1);
}

TEST_F(Win32Window, FindItemIsExact) {
  EXPECT_EQ(form.FindItem(ControlId::sComboBox1, u"+0"), 23);
  EXPECT_EQ(form.FindItem(ControlId::sComboBox1, u"-0"), 22);
  EXPECT_EQ(form.FindItem(ControlId::sComboBox1, u"-11"), -1);
  EXPECT_EQ(form.FindItem(ControlId::sComboBox2, u"05"), -1);
  EXPECT_EQ(form.FindItem(ControlId::sComboBox3, u"мтс"), -1) << "the search ignored case";
}

TEST_F(Win32Window, SelectingByProgramRunsNoHandlerButTheUsersPickDoes) {
  form.SelectIndex(ControlId::sComboBox3, 0);
  Pump();
  EXPECT_EQ(form.ReadText(ControlId::Edit_operator), u"");
  Pick(ControlId::sComboBox3, 0);
  EXPECT_EQ(form.ReadText(ControlId::Edit_operator), kOperatorPresets[0]);
  Pick(ControlId::sComboBox3, 2);
  EXPECT_EQ(form.ReadText(ControlId::Edit_operator), kOperatorPresets[2]);
}

TEST_F(Win32Window, PageSwitchShowsTheCommandButtonsOfThePage) {
  ShowPage(1);
  EXPECT_EQ(form.ActivePage(), 1);
  EXPECT_TRUE(IsWindowVisible(Of(ControlId::sTabSheet2)));
  EXPECT_FALSE(IsWindowVisible(Of(ControlId::sTabSheet1)));
  EXPECT_FALSE(IsWindowVisible(Of(ControlId::Write_Kalibr_Button)));
  EXPECT_TRUE(IsWindowVisible(Of(ControlId::Read_GSM_Button)));
  EXPECT_TRUE(IsWindowVisible(Of(ControlId::Write_GSM_Button)));
  EXPECT_TRUE(IsWindowVisible(Of(ControlId::Help_Button)));
  ShowPage(0);
  EXPECT_TRUE(IsWindowVisible(Of(ControlId::sTabSheet1)));
  EXPECT_TRUE(IsWindowVisible(Of(ControlId::Write_Kalibr_Button)));
  EXPECT_FALSE(IsWindowVisible(Of(ControlId::Read_GSM_Button)));
  EXPECT_FALSE(IsWindowVisible(Of(ControlId::Write_GSM_Button)));
}

TEST_F(Win32Window, DisabledControlTakesNoClick) {
  form.SetEnabled(ControlId::Default_Button, false);
  EXPECT_FALSE(form.IsEnabled(ControlId::Default_Button));
  EXPECT_FALSE(IsWindowEnabled(Of(ControlId::Default_Button)));
  ShowPage(1);
  Click(ControlId::Default_Button);
  EXPECT_EQ(form.ReadText(ControlId::Edit_IP), u"");
  form.SetEnabled(ControlId::Default_Button, true);
  Click(ControlId::Default_Button);
  EXPECT_EQ(form.ReadText(ControlId::Edit_IP), kDefaultServerAddress);
}

TEST_F(Win32Window, CalendarPicksADate) {
  form.SetText(ControlId::sDateEdit2, u"15.06.2027");
  form.OpenCalendar();
  HWND calendar = form.CalendarPopup();
  ASSERT_NE(calendar, nullptr);
  EXPECT_TRUE(IsWindowVisible(calendar));
  SYSTEMTIME shown{};
  SendMessageW(calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&shown));
  EXPECT_EQ(shown.wYear, 2027);
  EXPECT_EQ(shown.wMonth, 6);
  EXPECT_EQ(shown.wDay, 15);
  SYSTEMTIME picked = shown;
  picked.wDay = 3;
  SendMessageW(calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&picked));
  NMSELCHANGE select{};
  select.nmhdr = {calendar, 0, MCN_SELECT};
  select.stSelStart = picked;
  select.stSelEnd = picked;
  SendMessageW(form.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&select));
  EXPECT_EQ(form.ReadText(ControlId::sDateEdit2), u"03.06.2027");
  EXPECT_FALSE(IsWindowVisible(calendar));
}

TEST_F(Win32Window, BusyCursorShowsOverEveryControl) {
  const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
  form.SetScreenCursor(ScreenCursor::Busy);
  for (ControlId id : {ControlId::sEdit_VIN, ControlId::Write_Kalibr_Button, ControlId::sComboBox_port}) {
    SCOPED_TRACE(Name(id));
    SetCursor(nullptr);
    SendMessageW(Of(id), WM_SETCURSOR, reinterpret_cast<WPARAM>(Of(id)), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), wait);
  }
  form.SetScreenCursor(ScreenCursor::Normal);
  SetCursor(nullptr);
  SendMessageW(Of(ControlId::sEdit_VIN), WM_SETCURSOR, reinterpret_cast<WPARAM>(Of(ControlId::sEdit_VIN)),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_NE(GetCursor(), wait);
}

// ---- file dialogs -------------------------------------------------------------

// Answers the file dialog of this thread while it is shown: reads its file-type
// list and the proposed name, types `answer` as the file name and presses OK.
class FileDialogAnswer {
 public:
  FileDialogAnswer(HWND form, std::wstring answer) : form_(form), answer_(std::move(answer)) {
    SetTimer(form_, reinterpret_cast<UINT_PTR>(this), 50, &FileDialogAnswer::Tick);
  }
  ~FileDialogAnswer() { KillTimer(form_, reinterpret_cast<UINT_PTR>(this)); }
  FileDialogAnswer(const FileDialogAnswer&) = delete;
  FileDialogAnswer& operator=(const FileDialogAnswer&) = delete;

  std::wstring fileTypes;      // the items of its file-type list
  std::wstring proposedName;   // the file name it showed first
  bool answered = false;

 private:
  static constexpr int kFileTypeList = 0x470;  // cmb1
  static constexpr int kFileNameBox = 0x47C;   // cmb13
  static constexpr int kFileNameEdit = 0x480;  // edt1
  static void CALLBACK Tick(HWND, UINT, UINT_PTR self, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), &FileDialogAnswer::Look, static_cast<LPARAM>(self));
  }
  static BOOL CALLBACK Look(HWND window, LPARAM self) {
    auto* answer = reinterpret_cast<FileDialogAnswer*>(self);
    if (!answer->answered && ClassOf(window) == L"#32770" && IsWindowVisible(window)) answer->Answer(window);
    return TRUE;
  }
  void Answer(HWND dialog) {
    HWND types = GetDlgItem(dialog, kFileTypeList);
    if (!types) return;  // not laid out yet
    const auto count = static_cast<int>(SendMessageW(types, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      std::wstring item(static_cast<std::size_t>(SendMessageW(types, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
      SendMessageW(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
      item.resize(item.size() - 1);
      fileTypes += (i ? L"|" : L"") + item;
    }
    const int nameId = GetDlgItem(dialog, kFileNameBox) ? kFileNameBox : kFileNameEdit;
    proposedName = TextOf(GetDlgItem(dialog, nameId));
    SetDlgItemTextW(dialog, nameId, answer_.c_str());
    answered = true;
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  }

  HWND form_;
  std::wstring answer_;
};

TEST_F(Win32Window, OpenDialogOffersTextFilesAndGivesTheChosenName) {
  FileDialogAnswer answer(form.Handle(), L"C:\\settings.txt");
  const std::optional<std::u16string> chosen = form.ChooseOpenFile();
  EXPECT_TRUE(answer.answered);
  EXPECT_EQ(answer.fileTypes, L"Текстовые файлы");
  EXPECT_EQ(answer.proposedName, L"");
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(*chosen, u"C:\\settings.txt");
}

TEST_F(Win32Window, SaveDialogProposesTheNameAndOffersItsOwnFileType) {
  FileDialogAnswer answer(form.Handle(), L"C:\\saved.txt");
  const std::optional<std::u16string> chosen = form.ChooseSaveFile(u"XYZ12345678901234.txt");
  EXPECT_TRUE(answer.answered);
  EXPECT_EQ(answer.fileTypes, L"Текстовые");
  EXPECT_EQ(answer.proposedName, L"XYZ12345678901234.txt");
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(*chosen, u"C:\\saved.txt");
}

// ---- boxes ------------------------------------------------------------------

TEST_F(Win32Window, HelpBoxShowsTheHelpTextCaptionedAboutWithoutIcon) {
  BoxCatcher catcher(form.Handle());
  Click(ControlId::Help_Button);
  ASSERT_EQ(catcher.boxes.size(), 1u);
  EXPECT_EQ(catcher.boxes[0].caption, W(kHelpCaption));
  EXPECT_EQ(catcher.boxes[0].text, W(HelpText()));
  EXPECT_FALSE(catcher.boxes[0].hasIcon);
  EXPECT_TRUE(catcher.boxes[0].ownedByForm);
}

struct BoxCase {
  const char* name;
  void (*show)(IForm&);
  std::wstring_view caption;  // empty: the application title
  std::wstring_view text;
  bool icon;
};

class Win32Boxes : public Win32Window, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(Win32Boxes, ShowTextCaptionAndIcon) {
  const BoxCase& c = GetParam();
  BoxCatcher catcher(form.Handle());
  c.show(form);
  Pump();
  ASSERT_EQ(catcher.boxes.size(), 1u);
  const std::wstring caption = c.caption.empty() ? W(form.ApplicationTitleText()) : std::wstring(c.caption);
  EXPECT_EQ(catcher.boxes[0].caption, caption);
  EXPECT_EQ(catcher.boxes[0].text, c.text);
  EXPECT_EQ(catcher.boxes[0].hasIcon, c.icon);
  EXPECT_TRUE(catcher.boxes[0].ownedByForm);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, Win32Boxes,
    ::testing::Values(
        BoxCase{"MessageWithCaption", [](IForm& f) { f.ShowMessageBox(u"Данные успешно записаны", u"Внимание!"); },
                L"Внимание!", L"Данные успешно записаны", false},
        BoxCase{"MessageWithoutCaption", [](IForm& f) { f.ShowMessageBox(u"Заполните поле", std::nullopt); },
                L"Ошибка", L"Заполните поле", false},
        BoxCase{"PlainMessage", [](IForm& f) { f.ShowPlainMessage(u"Файл не найден"); }, L"", L"Файл не найден", false},
        BoxCase{"ErrorBox", [](IForm& f) { f.ShowErrorBox(u"'x' is not a valid integer value"); }, L"",
                L"'x' is not a valid integer value", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Win32Window, ApplicationTitleComesFromTheProgramFile) {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
  EXPECT_EQ(form.ApplicationTitleText(), ApplicationTitle(U(path)));
  EXPECT_EQ(form.ApplicationTitleText(), u"windows_window_tests");
}

// ---- waits and closing ------------------------------------------------------

TEST_F(Win32Window, ResponsiveDelayHandlesTheWindowsEventsMeanwhile) {
  form.SetText(ControlId::Edit_IP, u"");
  PostMessageW(Of(ControlId::Edit_IP), WM_CHAR, L'7', 0);
  form.ResponsiveDelay(50);
  EXPECT_EQ(form.ReadText(ControlId::Edit_IP), u"7");
}

TEST_F(Win32Window, RunBlockingRunsTheStepOffTheWindowsThreadAndKeepsTheWindowAnswering) {
  const DWORD uiThread = GetCurrentThreadId();
  DWORD stepThread = uiThread;
  bool answered = false;
  HWND field = Of(ControlId::Edit_IP);
  form.SetText(ControlId::Edit_IP, u"10.0.0.1");
  form.RunBlocking([&] {
    stepThread = GetCurrentThreadId();
    // Answered only while the window's thread handles its messages.
    wchar_t text[32] = {};
    DWORD_PTR copied = 0;
    answered = SendMessageTimeoutW(field, WM_GETTEXT, 32, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000,
                                   &copied) != 0 &&
               std::wstring(text) == L"10.0.0.1";
  });
  EXPECT_NE(stepThread, uiThread);
  EXPECT_TRUE(answered);
  EXPECT_THROW(form.RunBlocking([] { throw std::runtime_error("port gone"); }), std::runtime_error);
}

TEST_F(Win32Window, ClosingDuringACommandEndsItAtTheNextWaitAndShowsNoMoreBoxes) {
  bool stepFinished = false;
  bool endedByClosing = false;
  form.SetHandlerRunner([&](Handler handler) {
    if (handler != Handler::Write_Kalibr_ButtonClick) return;
    try {
      form.RunBlocking([&] {
        PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        stepFinished = true;
      });
    } catch (const WindowClosed&) {
      endedByClosing = true;
    }
    form.ShowMessageBox(u"Данные успешно записаны", u"Внимание!");
    EXPECT_THROW(form.ResponsiveDelay(10), WindowClosed);
  });
  BoxCatcher catcher(form.Handle());
  SendMessageW(Of(ControlId::Write_Kalibr_Button), BM_CLICK, 0, 0);
  EXPECT_TRUE(stepFinished);
  EXPECT_TRUE(endedByClosing);
  EXPECT_TRUE(form.Closed());
  EXPECT_FALSE(IsWindow(form.Handle())) << "the window stays after the command ended";
  Pump();
  EXPECT_TRUE(catcher.boxes.empty());
  // The quit that the closing posted belongs to no loop here.
  MSG quit;
  while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

TEST_F(Win32Window, ClosingWithoutACommandEndsTheEventLoop) {
  PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
  form.RunEventLoop();
  EXPECT_TRUE(form.Closed());
  EXPECT_FALSE(IsWindow(form.Handle()));
}

// ---- end to end, against the device emulator (run by the Linux driver) ------

class WindowEndToEnd : public Win32Window {
 protected:
  void SetUp() override {
    if (std::getenv("TACHO_EMULATOR_PORT") == nullptr)
      GTEST_SKIP() << "started without the emulator (run by wine_exchange_driver_tests)";
    _putenv_s("TZ", wine::kTimeZone);
    _tzset();
    Win32Window::SetUp();
    session.PortIndex = wine::kEmulatorPortIndex;
  }
  void ExpectOnlyBox(const BoxCatcher& catcher, std::u16string_view text) {
    ASSERT_EQ(catcher.boxes.size(), 1u);
    EXPECT_EQ(catcher.boxes[0].text, W(text));
    EXPECT_EQ(catcher.boxes[0].caption, L"Внимание!");
  }
  // Clicks and handles the window's events until the command has ended.
  void RunCommand(ControlId button) {
    SendMessageW(Of(button), BM_CLICK, 0, 0);
    EXPECT_TRUE(PumpUntil([this] { return !session.commandRunning; }));
    Pump();
  }
};

TEST_F(WindowEndToEnd, SearchFindsTheDeviceOnItsPort) {
  session.PortIndex = 0;
  BoxCatcher catcher(form.Handle());
  RunCommand(ControlId::Search_Button);
  ExpectOnlyBox(catcher, u"Устройство обнаружено");
  ASSERT_EQ(form.ItemCount(ControlId::sComboBox_port), 2);
  EXPECT_EQ(form.ReadText(ControlId::sComboBox_port), u"COM 40");
  EXPECT_EQ(form.ItemText(ControlId::sComboBox_port, 1), u"Найти устр-во");
  EXPECT_EQ(session.PortIndex, wine::kEmulatorPortIndex);
}

TEST_F(WindowEndToEnd, CalibrationWrite) {
  wine::TypeCalibrationEntries(form);
  BoxCatcher catcher(form.Handle());
  RunCommand(ControlId::Write_Kalibr_Button);
  ExpectOnlyBox(catcher, u"Данные успешно записаны");
}

TEST_F(WindowEndToEnd, GsmRead) {
  ShowPage(1);
  BoxCatcher catcher(form.Handle());
  RunCommand(ControlId::Read_GSM_Button);
  EXPECT_TRUE(catcher.boxes.empty());
  const GsmEntries held = wine::DeviceGsmEntries();
  EXPECT_EQ(U(TextOf(Of(ControlId::Edit_IP))), held.address);
  EXPECT_EQ(U(TextOf(Of(ControlId::Edit_port))), held.port);
  EXPECT_EQ(U(TextOf(Of(ControlId::Edit_operator))), held.connection);
  EXPECT_EQ(U(TextOf(Of(ControlId::Edit_int_send))), held.sendInterval);
  EXPECT_EQ(U(TextOf(Of(ControlId::Edit_int_save))), held.saveInterval);
}

TEST_F(WindowEndToEnd, GsmWrite) {
  ShowPage(1);
  PutGsmEntries(form, wine::TypedGsmEntries());
  BoxCatcher catcher(form.Handle());
  RunCommand(ControlId::Write_GSM_Button);
  ExpectOnlyBox(catcher, u"Данные успешно записаны");
}

TEST_F(WindowEndToEnd, SilentDeviceGetsTheRetryMessage) {
  wine::TypeCalibrationEntries(form);
  BoxCatcher catcher(form.Handle());
  RunCommand(ControlId::Write_Kalibr_Button);
  ExpectOnlyBox(catcher, kRetryMessage);
}

}  // namespace
}  // namespace tacho
