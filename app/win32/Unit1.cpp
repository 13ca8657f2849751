#include "Unit1.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <thread>
#include <vector>

#include "AppTitle.h"
#include "CivilDate.h"
#include "DateFieldText.h"
#include "Dpi.h"
#include "HandlerRunner.h"
#include "ShellHandlers.h"
#include "Win32Text.h"

namespace tacho {
namespace {

constexpr wchar_t kWindowClass[] = L"TForm1";
constexpr wchar_t kContainerClass[] = L"TachoContainer";
constexpr wchar_t kIconName[] = L"IDI_ICON1";
constexpr wchar_t kHotProperty[] = L"TachoHot";
constexpr wchar_t kFontProperty[] = L"TachoFont";
// Control ids: kIdBase + the control's index in the description; ids 1 and 2
// stay free for the dialog keys (Enter, Esc).
constexpr int kIdBase = 1000;
constexpr int kDateButtonId = 999;
// Posted after a user's pick in a drop-down list, so that the pick's handler
// runs once the list has closed.
constexpr UINT kListPicked = WM_APP + 1;
// The dropped part of a list shows this many items before it scrolls.
constexpr int kVisibleListItems = 15;
constexpr int kDateButtonWidth = 14;  // at 96 dpi
constexpr std::u16string_view kDefaultBoxCaption = u"Ошибка";

std::size_t Index(ControlId id) { return static_cast<std::size_t>(id); }
int ControlIdNumber(ControlId id) { return kIdBase + static_cast<int>(id); }

const ControlDesc* DescByNumber(int number) {
  const int index = number - kIdBase;
  if (index < 0 || index >= static_cast<int>(kControlCount)) return nullptr;
  return &kControls[static_cast<std::size_t>(index)];
}

TForm1* FormOf(HWND window) {
  HWND root = GetAncestor(window, GA_ROOT);
  if (!root) return nullptr;
  return reinterpret_cast<TForm1*>(GetWindowLongPtrW(root, GWLP_USERDATA));
}

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

std::wstring ListItem(HWND list, int index) {
  const LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied =
      SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
  return text;
}

std::optional<std::wstring> ClipboardText(HWND owner) {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(owner)) return std::nullopt;
  std::optional<std::wstring> text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = std::wstring(chars);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// A single-line field takes a pasted text up to its first line break.
std::wstring FirstLine(std::wstring text) {
  const std::size_t brk = text.find_first_of(L"\r\n");
  if (brk != std::wstring::npos) text.resize(brk);
  return text;
}

// Windows that hold controls pass the controls' notifications on to the main
// window, which handles every control.
bool ForwardsToMainWindow(UINT message) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return true;
    default:
      return false;
  }
}

LRESULT Forward(HWND from, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageW(GetAncestor(from, GA_ROOT), message, wParam, lParam);
}

// The top panel and the two pages.
LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (ForwardsToMainWindow(message)) return Forward(window, message, wParam, lParam);
  if (message == WM_SETFONT) {
    SetPropW(window, kFontProperty, reinterpret_cast<HANDLE>(wParam));
    return 0;
  }
  if (message == WM_GETFONT) return reinterpret_cast<LRESULT>(GetPropW(window, kFontProperty));
  if (message == WM_NCDESTROY) RemovePropW(window, kFontProperty);
  if (message == WM_PAINT && (GetWindowLongPtrW(window, GWL_STYLE) & WS_BORDER) == 0 &&
      GetWindowLongPtrW(window, GWLP_USERDATA) != 0) {
    // The panel: a raised frame.
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT rect;
    GetClientRect(window, &rect);
    DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// The group box holds the calibration fields: it passes their notifications on
// and paints the background behind them, which a group box leaves alone.
LRESULT CALLBACK GroupBoxSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (ForwardsToMainWindow(message)) return Forward(window, message, wParam, lParam);
  if (message == WM_ERASEBKGND) {
    RECT rect;
    GetClientRect(window, &rect);
    FillRect(reinterpret_cast<HDC>(wParam), &rect, GetSysColorBrush(COLOR_BTNFACE));
    return 1;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

// Buttons that never take the focus (the tool buttons, the date field's
// calendar button): a click is followed by hand instead of by the button,
// which would move the focus to itself.
LRESULT CALLBACK NoFocusButtonSubclass(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR) {
  auto inside = [button](LPARAM at) {
    RECT rect;
    GetClientRect(button, &rect);
    const POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    return PtInRect(&rect, point) != FALSE;
  };
  auto setHot = [button](bool hot) {
    const bool was = GetPropW(button, kHotProperty) != nullptr;
    if (hot == was) return;
    if (hot) {
      SetPropW(button, kHotProperty, reinterpret_cast<HANDLE>(1));
    } else {
      RemovePropW(button, kHotProperty);
    }
    InvalidateRect(button, nullptr, TRUE);
  };
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (IsWindowEnabled(button)) {
        SetCapture(button);
        SendMessageW(button, BM_SETSTATE, TRUE, 0);
      }
      return 0;
    case WM_MOUSEMOVE:
      if (GetCapture() == button) {
        SendMessageW(button, BM_SETSTATE, inside(lParam) ? TRUE : FALSE, 0);
      } else {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, button, 0};
        TrackMouseEvent(&track);
        setHot(true);
      }
      return 0;
    case WM_MOUSELEAVE:
      setHot(false);
      return 0;
    case WM_LBUTTONUP: {
      if (GetCapture() != button) return 0;
      const bool pressed = (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
      ReleaseCapture();
      SendMessageW(button, BM_SETSTATE, FALSE, 0);
      if (pressed && inside(lParam)) {
        SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      SendMessageW(button, BM_SETSTATE, FALSE, 0);
      return 0;
    case WM_NCDESTROY:
      RemovePropW(button, kHotProperty);
      break;
    default:
      break;
  }
  return DefSubclassProc(button, message, wParam, lParam);
}

// Edit fields: a paste keeps the text before the first line break; a
// digits-only field refuses a paste with anything but digits, as it refuses
// typed letters. The maximum length cuts the paste to the room left.
LRESULT CALLBACK EditSubclass(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == WM_PASTE) {
    if (GetWindowLongPtrW(edit, GWL_STYLE) & ES_READONLY) return 0;
    const std::optional<std::wstring> pasted = ClipboardText(edit);
    if (!pasted) return 0;
    const std::wstring line = FirstLine(*pasted);
    if ((GetWindowLongPtrW(edit, GWL_STYLE) & ES_NUMBER) &&
        line.find_first_not_of(L"0123456789") != std::wstring::npos) {
      MessageBeep(MB_OK);
      return 0;
    }
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(line.c_str()));
    return 0;
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

// The date field: typing, pasting and erasing go through the mask's rules, so
// the field always holds "DD.MM.YYYY" with blanks; F4 or Alt+Down, or its
// button, opens the calendar.
LRESULT CALLBACK DateSubclass(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  auto selection = [edit] {
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return std::pair<std::size_t, std::size_t>(start, end);
  };
  auto apply = [edit](const DateFieldEdit& change) {
    SetWindowTextW(edit, W(change.text).c_str());
    SendMessageW(edit, EM_SETSEL, change.caret, static_cast<LPARAM>(change.caret));
  };
  auto current = [edit] { return U(WindowText(edit)); };
  auto copySelection = [edit] { SendMessageW(edit, WM_COPY, 0, 0); };

  switch (message) {
    case WM_CHAR: {
      const auto ch = static_cast<wchar_t>(wParam);
      const auto [start, end] = selection();
      if (ch == L'\b') {
        apply(EraseInDateField(current(), start, end, /*backwards=*/true));
        return 0;
      }
      if (ch == 0x18) {  // Ctrl+X
        copySelection();
        apply(EraseInDateField(current(), start, end, /*backwards=*/false));
        return 0;
      }
      if (ch < 0x20) {
        // Ctrl+C, Ctrl+V and Ctrl+A as usual; undo would bring back a text
        // outside the mask's rules, and the other control characters are no text.
        if (ch == 0x03 || ch == 0x16 || ch == 0x01) break;
        return 0;
      }
      const std::u16string before = current();
      const DateFieldEdit change = InsertIntoDateField(before, start, end, std::u16string(1, static_cast<char16_t>(ch)));
      if (change.text == before && ch != L'.') MessageBeep(MB_OK);
      apply(change);
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == VK_DELETE) {
        const auto [start, end] = selection();
        apply(EraseInDateField(current(), start, end, /*backwards=*/false));
        return 0;
      }
      if (wParam == VK_F4) {
        if (TForm1* form = FormOf(edit)) form->OpenCalendar();
        return 0;
      }
      break;
    case WM_SYSKEYDOWN:
      if (wParam == VK_DOWN) {
        if (TForm1* form = FormOf(edit)) form->OpenCalendar();
        return 0;
      }
      break;
    case WM_PASTE: {
      if (const std::optional<std::wstring> pasted = ClipboardText(edit)) {
        const auto [start, end] = selection();
        apply(InsertIntoDateField(current(), start, end, U(FirstLine(*pasted))));
      }
      return 0;
    }
    case WM_CUT: {
      const auto [start, end] = selection();
      copySelection();
      apply(EraseInDateField(current(), start, end, /*backwards=*/false));
      return 0;
    }
    case WM_CLEAR: {
      const auto [start, end] = selection();
      if (start != end) apply(EraseInDateField(current(), start, end, /*backwards=*/false));
      return 0;
    }
    case WM_UNDO:
    case EM_UNDO:
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kDateButtonId && HIWORD(wParam) == BN_CLICKED) {
        if (TForm1* form = FormOf(edit)) form->OpenCalendar();
        return 0;
      }
      break;
    case WM_DRAWITEM: {
      // The calendar button: a small calendar sheet.
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      RECT r = item.rcItem;
      FillRect(item.hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
      if (item.itemState & ODS_SELECTED) DrawEdge(item.hDC, &r, BDR_SUNKENOUTER, BF_RECT);
      const int w = r.right - r.left, h = r.bottom - r.top;
      const int side = std::max(6, std::min(w, h) - 4);
      RECT sheet{r.left + (w - side) / 2, r.top + (h - side) / 2, 0, 0};
      sheet.right = sheet.left + side;
      sheet.bottom = sheet.top + side;
      FrameRect(item.hDC, &sheet, GetSysColorBrush(COLOR_BTNTEXT));
      RECT header = sheet;
      header.bottom = header.top + std::max(2, side / 4);
      FillRect(item.hDC, &header, GetSysColorBrush(COLOR_HIGHLIGHT));
      return TRUE;
    }
    default:
      break;
  }
  return DefSubclassProc(edit, message, wParam, lParam);
}

LRESULT CALLBACK CalendarSubclass(HWND calendar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR data) {
  return reinterpret_cast<TForm1*>(data)->CalendarMessage(calendar, message, wParam, lParam);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* form = reinterpret_cast<TForm1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!form || !form->Handle()) return DefWindowProcW(window, message, wParam, lParam);
  return form->WindowMessage(message, wParam, lParam);
}

void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HICON icon) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = name;
  windowClass.hIcon = icon;
  RegisterClassExW(&windowClass);  // a second window finds the class registered
}

void RegisterClasses(HINSTANCE instance) {
  RegisterWindowClass(instance, kWindowClass, MainWindowProc,
                      static_cast<HICON>(LoadImageW(instance, kIconName, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED)));
  RegisterWindowClass(instance, kContainerClass, ContainerProc, nullptr);
}

// The screen's work area (without the task bar) where `window` lies.
RECT WorkArea(HWND window) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
  return monitor.rcWork;
}

// The children of `container` in the order they are created, which is their
// order on the screen and in the tab walk: the described order, with the
// controls that take a tab stop put in tab order among themselves.
std::vector<const ControlDesc*> CreationOrder(ControlId container) {
  std::vector<const ControlDesc*> children;
  for (const ControlDesc& c : kControls) {
    if (c.id != ControlId::Form1 && c.parent == container) children.push_back(&c);
  }
  std::vector<const ControlDesc*> stops;
  for (const ControlDesc* c : children) {
    if (c->tab >= 0) stops.push_back(c);
  }
  std::stable_sort(stops.begin(), stops.end(), [](const ControlDesc* a, const ControlDesc* b) { return a->tab < b->tab; });
  auto next = stops.begin();
  for (const ControlDesc*& c : children) {
    if (c->tab >= 0) c = *next++;
  }
  return children;
}

}  // namespace

TForm1::TForm1() {
  static_assert(ControlId::Form1 == ControlId{}, "Form1 comes first");
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  INITCOMMONCONTROLSEX classes{sizeof(classes),
                               ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_DATE_CLASSES};
  InitCommonControlsEx(&classes);
  RegisterClasses(instance);

  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  title_ = ApplicationTitle(U(path));

  constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  // The window's own task-bar button.
  constexpr DWORD exStyle = WS_EX_APPWINDOW | WS_EX_CONTROLPARENT;
  window_ = CreateWindowExW(exStyle, kWindowClass, W(kMainWindow.caption).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                            0, 0, nullptr, nullptr, instance, this);
  if (!window_) throw std::runtime_error("the main window cannot be created");
  controls_[Index(ControlId::Form1)] = window_;
  dpi_ = DpiOfWindow(window_);

  const int big = GetSystemMetrics(SM_CXICON), small = GetSystemMetrics(SM_CXSMICON);
  bigIcon_ = static_cast<HICON>(LoadImageW(instance, kIconName, IMAGE_ICON, big, big, 0));
  smallIcon_ = static_cast<HICON>(LoadImageW(instance, kIconName, IMAGE_ICON, small, small, 0));
  if (bigIcon_) SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
  if (smallIcon_) SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));

  // The controls are made in their places; then the window's size and the
  // controls' fonts for this dpi.
  CreateControls();
  ApplyDpi(dpi_, /*moveControls=*/false);

  const CivilDate next = DefaultNextCalibrationDate(TodayLocal());
  SetDate(ControlId::sDateEdit2, next.year, next.month, next.day);
}

TForm1::~TForm1() {
  if (calendar_) DestroyWindow(calendar_);
  if (tooltip_) DestroyWindow(tooltip_);
  if (window_ && IsWindow(window_)) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  for (HFONT& font : fonts_) {
    if (font) DeleteObject(font);
  }
  if (bigIcon_) DestroyIcon(bigIcon_);
  if (smallIcon_) DestroyIcon(smallIcon_);
  if (busyCursor_) SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

HWND TForm1::CreateControl(const ControlDesc& desc, HWND parent) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const auto menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlIdNumber(desc.id)));
  constexpr DWORD child = WS_CHILD | WS_CLIPSIBLINGS;
  const DWORD visible = desc.visibleAtStart ? WS_VISIBLE : 0;
  const DWORD tabStop = desc.tab >= 0 ? WS_TABSTOP : 0;
  const std::wstring caption = W(desc.caption);
  // Made in its place at once: every move of a window costs a round trip to the system.
  const RECT place = Placement(desc);
  auto make = [&](DWORD exStyle, const wchar_t* cls, const wchar_t* text, DWORD style) {
    HWND hwnd = CreateWindowExW(exStyle, cls, text, child | visible | style, place.left, place.top,
                                place.right - place.left, place.bottom - place.top, parent, menu, instance, nullptr);
    if (!hwnd) throw std::runtime_error("a control of the window cannot be created");
    return hwnd;
  };
  auto makeLabel = [&](const std::wstring& text, DWORD style) {
    HWND label = CreateWindowExW(0, WC_STATICW, text.c_str(), child | visible | SS_NOPREFIX | style, 0, 0, 0, 0,
                                 parent, nullptr, instance, nullptr);
    if (!label) throw std::runtime_error("a label of the window cannot be created");
    return label;
  };
  // A bound label comes just before its field, which screen readers then name by it.
  if (!desc.label.text.empty()) labels_[Index(desc.id)] = makeLabel(W(desc.label.text), SS_RIGHT | SS_CENTERIMAGE);

  switch (desc.kind) {
    case ControlKind::Window:
    case ControlKind::Page:
      return nullptr;  // the window itself; pages are made with their page control
    case ControlKind::Panel: {
      HWND panel = make(WS_EX_CONTROLPARENT, kContainerClass, L"", WS_CLIPCHILDREN | tabStop);
      SetWindowLongPtrW(panel, GWLP_USERDATA, 1);  // draws its raised frame
      return panel;
    }
    case ControlKind::PageControl:
      return make(0, WC_TABCONTROLW, L"", WS_CLIPSIBLINGS | tabStop);
    case ControlKind::GroupBox: {
      HWND group = make(WS_EX_CONTROLPARENT, WC_BUTTONW, caption.c_str(), BS_GROUPBOX | WS_CLIPCHILDREN);
      SetWindowSubclass(group, GroupBoxSubclass, 0, 0);
      return group;
    }
    case ControlKind::EditField: {
      DWORD style = WS_BORDER | ES_AUTOHSCROLL | tabStop;
      if (desc.digitsOnly) style |= ES_NUMBER;
      HWND edit = make(0, WC_EDITW, W(desc.defaultText).c_str(), style);
      // Limits typing only; a text set by program is kept whole.
      SendMessageW(edit, EM_LIMITTEXT, desc.maxLength > 0 ? static_cast<WPARAM>(desc.maxLength) : 0, 0);
      SetWindowSubclass(edit, EditSubclass, 0, 0);
      return edit;
    }
    case ControlKind::DateField: {
      HWND edit = make(0, WC_EDITW, W(kBlankDateField).c_str(), WS_BORDER | WS_CLIPCHILDREN | tabStop);
      SendMessageW(edit, EM_LIMITTEXT, static_cast<WPARAM>(kDateFieldLength), 0);
      HWND button = CreateWindowExW(0, WC_BUTTONW, L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, 0, 0, edit,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kDateButtonId)), instance, nullptr);
      if (!button) throw std::runtime_error("the calendar button cannot be created");
      SetWindowSubclass(button, NoFocusButtonSubclass, 0, 0);
      SetWindowSubclass(edit, DateSubclass, 0, 0);
      return edit;
    }
    case ControlKind::DropDownList: {
      DWORD style = CBS_DROPDOWNLIST | WS_VSCROLL | tabStop;
      // The port list draws its shown text itself when no item is selected.
      if (desc.id == ControlId::sComboBox_port) style |= CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
      HWND list = make(0, WC_COMBOBOXW, L"", style);
      for (std::u16string_view item : desc.items) {
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(item).c_str()));
      }
      SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(desc.defaultIndex), 0);
      SendMessageW(list, CB_SETMINVISIBLE, kVisibleListItems, 0);
      return list;
    }
    case ControlKind::PushButton:
      return make(0, WC_BUTTONW, caption.c_str(), BS_PUSHBUTTON | tabStop);
    case ControlKind::ToolButton: {
      HWND button = make(0, WC_BUTTONW, caption.c_str(), BS_OWNERDRAW);
      SetWindowSubclass(button, NoFocusButtonSubclass, 0, 0);
      return button;
    }
    case ControlKind::Label:
      return make(0, WC_STATICW, caption.c_str(), SS_LEFT | SS_NOPREFIX);
    case ControlKind::HeadingLabel:
      return make(0, WC_STATICW, caption.c_str(), SS_OWNERDRAW | SS_NOPREFIX);
  }
  return nullptr;
}

void TForm1::CreateControls() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  // Depth first, so that a container's children follow it in the tab walk.
  std::function<void(ControlId, HWND)> createChildren = [&](ControlId container, HWND parent) {
    for (const ControlDesc* desc : CreationOrder(container)) {
      if (desc->kind == ControlKind::PageControl) {
        HWND tabs = CreateControl(*desc, parent);
        controls_[Index(desc->id)] = tabs;
        // The pages lie over the page control's display area as its siblings
        // right behind it: the page control keeps its own tab stop, and the
        // shown page's fields follow it in the tab walk.
        int tabIndex = 0;
        for (const ControlDesc* page : CreationOrder(desc->id)) {
          TCITEMW item{};
          item.mask = TCIF_TEXT;
          std::wstring caption = W(page->caption);
          item.pszText = caption.data();
          SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(tabIndex), reinterpret_cast<LPARAM>(&item));
          const DWORD shown = tabIndex == 0 ? WS_VISIBLE : 0;
          HWND pageWindow = CreateWindowExW(WS_EX_CONTROLPARENT, kContainerClass, caption.c_str(),
                                            WS_CHILD | WS_CLIPCHILDREN | shown, 0, 0, 0, 0, parent,
                                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlIdNumber(page->id))),
                                            instance, nullptr);
          if (!pageWindow) throw std::runtime_error("a page of the window cannot be created");
          controls_[Index(page->id)] = pageWindow;
          createChildren(page->id, pageWindow);
          ++tabIndex;
        }
        continue;
      }
      HWND control = CreateControl(*desc, parent);
      controls_[Index(desc->id)] = control;
      if (desc->kind == ControlKind::Panel || desc->kind == ControlKind::GroupBox) createChildren(desc->id, control);
    }
  };
  createChildren(ControlId::Form1, window_);

  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance,
                             nullptr);
  if (tooltip_) {
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 600);
    for (const ControlDesc& desc : kControls) {
      if (desc.hint.empty()) continue;
      std::wstring hint = W(desc.hint);
      TTTOOLINFOW tool{};
      tool.cbSize = sizeof(tool);
      tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
      tool.hwnd = window_;
      tool.uId = reinterpret_cast<UINT_PTR>(controls_[Index(desc.id)]);
      tool.lpszText = hint.data();
      SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
  }
}

int TForm1::Scale(int value) const { return ScaleToDpi(value, dpi_); }

HFONT TForm1::Font(FontStyle style) {
  if (style.pixelHeight == 0) style = kMainWindow.font;
  const std::size_t slot = static_cast<std::size_t>(style.pixelHeight) * 2 + (style.bold ? 1 : 0);
  if (slot >= fonts_.size()) throw std::logic_error("TForm1: a font larger than the window uses");
  if (!fonts_[slot]) {
    fonts_[slot] = CreateFontW(-Scale(style.pixelHeight), 0, 0, 0, style.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                               DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                               DEFAULT_PITCH | FF_DONTCARE, W(kFontFace).c_str());
  }
  return fonts_[slot];
}

RECT TForm1::Placement(const ControlDesc& desc) const {
  const Rect& r = desc.rect;
  int height = Scale(r.height);
  if (desc.kind == ControlKind::DropDownList) {
    // A list's window height includes its dropped part; the closed list is fitted below.
    const auto shown = static_cast<int>(std::min<std::size_t>(desc.items.size() + 1, kVisibleListItems));
    height += Scale(16) * std::max(shown, 4);
  }
  return {Scale(r.left), Scale(r.top), Scale(r.left) + Scale(r.width), Scale(r.top) + height};
}

void TForm1::PlaceControl(const ControlDesc& desc, bool move) {
  HWND control = controls_[Index(desc.id)];
  if (!control || desc.kind == ControlKind::Page) return;
  const Rect& r = desc.rect;
  if (move) {
    const RECT place = Placement(desc);
    SetWindowPos(control, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(Font(desc.font)), FALSE);
  if (desc.kind == ControlKind::DropDownList) FitListHeight(control, Scale(r.height));
  if (desc.kind == ControlKind::DateField) {
    const int buttonWidth = Scale(kDateButtonWidth);
    SendMessageW(control, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(Scale(1), buttonWidth + Scale(1)));
    RECT client;
    GetClientRect(control, &client);
    HWND button = GetDlgItem(control, kDateButtonId);
    SetWindowPos(button, nullptr, client.right - buttonWidth, 0, buttonWidth, client.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  PlaceBoundLabel(desc);
}

void TForm1::PlaceBoundLabel(const ControlDesc& desc) {
  HWND label = labels_[Index(desc.id)];
  if (!label) return;
  HFONT font = Font(desc.label.font);
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  // As wide as its text, right against the field, no gap.
  const std::wstring text = W(desc.label.text);
  SIZE extent{};
  HDC dc = GetDC(label);
  HGDIOBJ old = SelectObject(dc, font);
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  const int fieldLeft = Scale(desc.rect.left);
  const int width = std::min(static_cast<int>(extent.cx) + Scale(2), fieldLeft);
  SetWindowPos(label, nullptr, fieldLeft - width, Scale(desc.rect.top), width, Scale(desc.rect.height),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm1::FitListHeight(HWND list, int height) {
  // The closed list's height follows the height set for its selection field;
  // the frame around the field differs between systems (and what the list
  // reports back for that height may too), so the setting is corrected from the
  // window's height until it fits.
  int setting = static_cast<int>(SendMessageW(list, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
  for (int round = 0; round < 3; ++round) {
    RECT rect;
    GetWindowRect(list, &rect);
    const int now = rect.bottom - rect.top;
    if (now == height) return;
    setting = std::max(1, setting + height - now);
    SendMessageW(list, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), setting);
  }
}

void TForm1::ClipPageControl() {
  HWND tabs = controls_[Index(ControlId::sPageControl1)];
  RECT client;
  GetClientRect(tabs, &client);
  RECT display = client;
  SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
  // The page control keeps its tabs and frame; its display area belongs to the
  // page shown, which lies there as its sibling, so the page control gives
  // that area up for painting and for the mouse.
  HRGN whole = CreateRectRgnIndirect(&client);
  HRGN hole = CreateRectRgnIndirect(&display);
  CombineRgn(whole, whole, hole, RGN_DIFF);
  DeleteObject(hole);
  SetWindowRgn(tabs, whole, TRUE);  // the system owns the region now

  POINT origin{display.left, display.top};
  MapWindowPoints(tabs, window_, &origin, 1);
  for (ControlId page : {ControlId::sTabSheet1, ControlId::sTabSheet2}) {
    SetWindowPos(controls_[Index(page)], nullptr, origin.x, origin.y, display.right - display.left,
                 display.bottom - display.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TForm1::ApplyDpi(UINT dpi, bool moveControls) {
  std::array<HFONT, 64> oldFonts = fonts_;
  fonts_ = {};
  dpi_ = dpi;

  constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE));
  const RECT frame =
      WindowRectForClient(Scale(kMainWindow.clientWidth), Scale(kMainWindow.clientHeight), style, exStyle, dpi);
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(Font(kMainWindow.font)), FALSE);

  for (const ControlDesc& desc : kControls) {
    if (desc.id != ControlId::Form1) PlaceControl(desc, moveControls);
  }
  ClipPageControl();
  for (HFONT font : oldFonts) {
    if (font) DeleteObject(font);
  }
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TForm1::ShowCentred() {
  RECT frame;
  GetWindowRect(window_, &frame);
  const RECT area = WorkArea(window_);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  const int left = area.left + (area.right - area.left - width) / 2;
  const int top = area.top + (area.bottom - area.top - height) / 2;
  SetWindowPos(window_, nullptr, left, std::max(static_cast<int>(area.top), top), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  // The first control of the tab order holds the focus at start.
  if (HWND first = GetNextDlgTabItem(window_, nullptr, FALSE)) SetFocus(first);
}

void TForm1::RunEventLoop() {
  MSG msg;
  while (IsWindow(window_) && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(window_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

void TForm1::PumpPending() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // For the outer loop to see as well.
      PostQuitMessage(static_cast<int>(msg.wParam));
      closed_ = true;
      return;
    }
    if (!IsWindow(window_) || !IsDialogMessageW(window_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
}

void TForm1::ResponsiveDelay(int ms) {
  if (closed_) throw WindowClosed{};
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(std::max(ms, 0));
  PumpPending();
  for (ULONGLONG now = GetTickCount64(); !closed_ && now < deadline; now = GetTickCount64()) {
    // Sleeps until a message comes or the time is up.
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(deadline - now), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    PumpPending();
  }
  if (closed_) throw WindowClosed{};
}

void TForm1::RunBlocking(const std::function<void()>& step) {
  if (closed_) throw WindowClosed{};
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!done) {
    step();
    return;
  }
  std::exception_ptr error;
  std::thread worker([&step, &error, done] {
    try {
      step();
    } catch (...) {
      error = std::current_exception();
    }
    SetEvent(done);
  });
  // The window's events are handled until the step is done, whatever happens meanwhile.
  while (MsgWaitForMultipleObjectsEx(1, &done, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE) != WAIT_OBJECT_0) {
    PumpPending();
  }
  worker.join();
  CloseHandle(done);
  if (closed_) throw WindowClosed{};
  if (error) std::rethrow_exception(error);
}

void TForm1::RunControlHandler(Handler handler) {
  if (handler == Handler::None || closed_) return;
  ++handlersRunning_;
  try {
    if (runner_) {
      runner_(handler);
    } else if (handler == Handler::sPageControl1Change) {
      RunHandler(*this, [this] { sPageControl1Change(); });
    } else if (handler == Handler::Help_ButtonClick) {
      RunHandler(*this, [this] { Help_ButtonClick(); });
    }
  } catch (...) {
    // Nothing may leave a window procedure; the runner has shown what the user must see.
  }
  --handlersRunning_;
  if (closed_ && handlersRunning_ == 0 && IsWindow(window_)) DestroyWindow(window_);
}

void TForm1::CloseRequested() {
  closed_ = true;
  if (calendar_) ShowWindow(calendar_, SW_HIDE);
  // A command still running ends at its next wait; the window goes when it has.
  if (handlersRunning_ > 0) {
    ShowWindow(window_, SW_HIDE);
    return;
  }
  DestroyWindow(window_);
}

void TForm1::sPageControl1Change() { ::tacho::sPageControl1Change(*this); }

void TForm1::Help_ButtonClick() { ::tacho::Help_ButtonClick(*this); }

void TForm1::ShowPage(int index) {
  HWND focus = GetFocus();
  for (ControlId page : {ControlId::sTabSheet1, ControlId::sTabSheet2}) {
    const bool shown = (page == ControlId::sTabSheet1 ? 0 : 1) == index;
    HWND pageWindow = controls_[Index(page)];
    if (!shown && focus && IsChild(pageWindow, focus)) SetFocus(controls_[Index(ControlId::sPageControl1)]);
    ShowWindow(pageWindow, shown ? SW_SHOW : SW_HIDE);
  }
}

void TForm1::OnCommand(int id, int code, HWND from) {
  if (id == IDOK && !from) {
    // Enter on a focused push button presses it, as in a dialog.
    HWND focus = GetFocus();
    if (const ControlDesc* desc = DescByNumber(GetDlgCtrlID(focus));
        desc && desc->kind == ControlKind::PushButton && controls_[Index(desc->id)] == focus) {
      SendMessageW(focus, BM_CLICK, 0, 0);
    }
    return;
  }
  const ControlDesc* desc = DescByNumber(id);
  if (!desc || controls_[Index(desc->id)] != from) return;
  // A click or pick that reaches a control after it was disabled does nothing.
  if (!IsWindowEnabled(from)) return;
  switch (desc->kind) {
    case ControlKind::PushButton:
    case ControlKind::ToolButton:
      if (code == BN_CLICKED) RunControlHandler(desc->handler);
      break;
    case ControlKind::DropDownList:
      // The user's pick: a click or Enter in the dropped list, or a key that
      // changes the closed list. Browsing the dropped list with the keys
      // picks nothing, and selecting by program sends nothing.
      if (code == CBN_SELENDOK && desc->handler != Handler::None) {
        PostMessageW(window_, kListPicked, static_cast<WPARAM>(desc->id), 0);
      }
      break;
    default:
      break;
  }
}

LRESULT TForm1::OnNotify(const NMHDR& header) {
  if (header.hwndFrom == controls_[Index(ControlId::sPageControl1)] && header.code == TCN_SELCHANGE) {
    ShowPage(ActivePage());
    RunControlHandler(Describe(ControlId::sPageControl1).handler);
    return 0;
  }
  if (calendar_ && header.hwndFrom == calendar_ && header.code == MCN_SELECT) {
    PickCalendarDate();
    return 0;
  }
  return 0;
}

void TForm1::OnDrawItem(const DRAWITEMSTRUCT& item) {
  const ControlDesc* desc = DescByNumber(static_cast<int>(item.CtlID));
  if (!desc) return;
  HDC dc = item.hDC;
  const RECT r = item.rcItem;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  SetBkMode(dc, TRANSPARENT);
  HGDIOBJ oldFont = SelectObject(dc, Font(desc->font));

  if (desc->kind == ControlKind::HeadingLabel) {
    // A soft shadow: the text in grey one pixel down and right, then in black.
    RECT fill = r;
    FillRect(dc, &fill, GetSysColorBrush(COLOR_BTNFACE));
    const std::wstring text = W(desc->caption);
    constexpr UINT format = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    const int offset = std::max(1, Scale(1));
    RECT shadow = r;
    OffsetRect(&shadow, offset, offset);
    SetTextColor(dc, RGB(0xA0, 0xA0, 0xA0));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &shadow, format);
    RECT front = r;
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &front, format);
  } else if (desc->kind == ControlKind::ToolButton) {
    // Flat: a frame only under the pointer, sunk while pressed.
    RECT face = r;
    FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
    if (item.itemState & ODS_SELECTED) {
      DrawEdge(dc, &face, BDR_SUNKENOUTER, BF_RECT);
      OffsetRect(&face, 1, 1);
    } else if (GetPropW(item.hwndItem, kHotProperty) && !disabled) {
      DrawEdge(dc, &face, BDR_RAISEDINNER, BF_RECT);
    }
    const std::wstring text = WindowText(item.hwndItem);
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &face, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  } else if (desc->kind == ControlKind::DropDownList) {
    // The port list: its items, and its shown text when none is selected.
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    RECT fill = r;
    FillRect(dc, &fill, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const std::wstring text =
        item.itemID == static_cast<UINT>(-1) ? W(portShownText_) : ListItem(item.hwndItem, static_cast<int>(item.itemID));
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT textRect = r;
    textRect.left += Scale(2);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(dc, &fill);
  }
  SelectObject(dc, oldFont);
}

LRESULT TForm1::WindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case kListPicked: {
      const auto id = static_cast<ControlId>(wParam);
      if (Index(id) < kControlCount) RunControlHandler(Describe(id).handler);
      return 0;
    }
    case WM_DRAWITEM:
      OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_MEASUREITEM: {
      auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      item.itemHeight = static_cast<UINT>(Scale(16));
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(0, 0, 0));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SETCURSOR:
      if (busyCursor_) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_ACTIVATE:
      // The focus comes back to the control that had it, as in a dialog.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) focusBeforeDeactivation_ = focus;
      } else if (focusBeforeDeactivation_ && IsWindow(focusBeforeDeactivation_) &&
                 IsWindowVisible(focusBeforeDeactivation_)) {
        SetFocus(focusBeforeDeactivation_);
        return 0;
      }
      break;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window_, &paint);
      EndPaint(window_, &paint);
      if (firstPaint_ == 0) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        firstPaint_ = now.QuadPart;
      }
      return 0;
    }
    case WM_DPICHANGED: {
      ApplyDpi(HIWORD(wParam), /*moveControls=*/true);
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_CLOSE:
      CloseRequested();
      return 0;
    case WM_DESTROY:
      closed_ = true;
      PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY: {
      HWND self = window_;
      window_ = nullptr;
      return DefWindowProcW(self, message, wParam, lParam);
    }
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void TForm1::OpenCalendar() {
  if (closed_) return;
  HWND field = controls_[Index(ControlId::sDateEdit2)];
  if (!calendar_) {
    calendar_ = CreateWindowExW(WS_EX_TOOLWINDOW, MONTHCAL_CLASSW, L"", WS_POPUP | WS_BORDER, 0, 0, 0, 0, window_,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!calendar_) return;
    SetWindowSubclass(calendar_, CalendarSubclass, 0, reinterpret_cast<DWORD_PTR>(this));
  }
  // The field's date, or today when it holds none.
  SYSTEMTIME date{};
  GetLocalTime(&date);
  const std::u16string text = ReadText(ControlId::sDateEdit2);
  int day = 0, month = 0, year = 0;
  if (std::swscanf(W(text).c_str(), L"%2d.%2d.%4d", &day, &month, &year) == 3 && month >= 1 && month <= 12 &&
      day >= 1 && year >= 1753 && day <= DaysInMonth(year, month)) {
    date.wYear = static_cast<WORD>(year);
    date.wMonth = static_cast<WORD>(month);
    date.wDay = static_cast<WORD>(day);
  }
  SendMessageW(calendar_, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&date));

  RECT need{};
  SendMessageW(calendar_, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
  const int width = need.right - need.left + 2 * GetSystemMetrics(SM_CXBORDER);
  const int height = need.bottom - need.top + 2 * GetSystemMetrics(SM_CYBORDER);
  RECT fieldRect;
  GetWindowRect(field, &fieldRect);
  const RECT area = WorkArea(field);
  // Below the field, kept on the screen.
  int left = std::min(static_cast<int>(fieldRect.left), static_cast<int>(area.right) - width);
  int top = fieldRect.bottom;
  if (top + height > area.bottom) top = fieldRect.top - height;
  left = std::max(left, static_cast<int>(area.left));
  top = std::max(top, static_cast<int>(area.top));
  SetWindowPos(calendar_, HWND_TOP, left, top, width, height, SWP_SHOWWINDOW);
  SetFocus(calendar_);
}

void TForm1::PickCalendarDate() {
  SYSTEMTIME date{};
  if (SendMessageW(calendar_, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&date))) {
    SetDate(ControlId::sDateEdit2, date.wYear, date.wMonth, date.wDay);
  }
  ShowWindow(calendar_, SW_HIDE);
  SetActiveWindow(window_);
  SetFocus(controls_[Index(ControlId::sDateEdit2)]);
}

LRESULT TForm1::CalendarMessage(HWND calendar, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) ShowWindow(calendar, SW_HIDE);
      break;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        ShowWindow(calendar, SW_HIDE);
        SetActiveWindow(window_);
        SetFocus(controls_[Index(ControlId::sDateEdit2)]);
        return 0;
      }
      if (wParam == VK_RETURN) {
        PickCalendarDate();
        return 0;
      }
      break;
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS;
    default:
      break;
  }
  return DefSubclassProc(calendar, message, wParam, lParam);
}

HWND TForm1::Control(ControlId id) const {
  if (Index(id) >= kControlCount) throw std::logic_error("TForm1: no such control");
  return controls_[Index(id)];
}

HWND TForm1::BoundLabel(ControlId id) const {
  if (Index(id) >= kControlCount) throw std::logic_error("TForm1: no such control");
  return labels_[Index(id)];
}

HWND TForm1::ListOf(ControlId id) const {
  if (Describe(id).kind != ControlKind::DropDownList) throw std::logic_error("TForm1: not a drop-down list");
  return Control(id);
}

std::u16string TForm1::ReadText(ControlId id) const {
  const ControlDesc& desc = Describe(id);
  if (desc.kind == ControlKind::DropDownList) {
    HWND list = Control(id);
    const auto selected = static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0));
    if (selected >= 0) return U(ListItem(list, selected));
    // The port list's shown text ("Поиск......" during a search).
    return id == ControlId::sComboBox_port ? portShownText_ : std::u16string();
  }
  if (desc.kind != ControlKind::EditField && desc.kind != ControlKind::DateField) {
    throw std::logic_error("TForm1: no text to read");
  }
  return U(WindowText(Control(id)));
}

void TForm1::SetText(ControlId id, std::u16string_view text) {
  const ControlDesc& desc = Describe(id);
  switch (desc.kind) {
    case ControlKind::DropDownList: {
      HWND list = Control(id);
      SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
      if (id == ControlId::sComboBox_port) {
        portShownText_ = std::u16string(text);
        InvalidateRect(list, nullptr, TRUE);
        UpdateWindow(list);  // the search that follows keeps the loop busy
      }
      return;
    }
    case ControlKind::DateField:
      SetWindowTextW(Control(id), W(FitDateFieldText(text)).c_str());
      return;
    case ControlKind::EditField:
      // WM_SETTEXT is not held to the typing limit, nor to digits only.
      SetWindowTextW(Control(id), W(text).c_str());
      return;
    default:
      throw std::logic_error("TForm1: no text to set");
  }
}

int TForm1::SelectedIndex(ControlId id) const {
  return static_cast<int>(SendMessageW(ListOf(id), CB_GETCURSEL, 0, 0));
}

void TForm1::SelectIndex(ControlId id, int index) {
  HWND list = ListOf(id);
  const int count = ItemCount(id);
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index >= 0 && index < count ? index : -1), 0);
  if (id == ControlId::sComboBox_port) InvalidateRect(list, nullptr, TRUE);
}

int TForm1::FindItem(ControlId id, std::u16string_view text) const {
  // CB_FINDSTRINGEXACT ignores case; the comparison here does not.
  HWND list = ListOf(id);
  const std::wstring wanted = W(text);
  const int count = ItemCount(id);
  for (int i = 0; i < count; ++i) {
    if (ListItem(list, i) == wanted) return i;
  }
  return -1;
}

int TForm1::ItemCount(ControlId id) const {
  const LRESULT count = SendMessageW(ListOf(id), CB_GETCOUNT, 0, 0);
  return count == CB_ERR ? 0 : static_cast<int>(count);
}

std::u16string TForm1::ItemText(ControlId id, int index) const {
  if (index < 0 || index >= ItemCount(id)) return {};
  return U(ListItem(ListOf(id), index));
}

void TForm1::ClearItems(ControlId id) {
  HWND list = ListOf(id);
  SendMessageW(list, CB_RESETCONTENT, 0, 0);
  if (id == ControlId::sComboBox_port) {
    portShownText_.clear();
    InvalidateRect(list, nullptr, TRUE);
  }
}

void TForm1::AddItem(ControlId id, std::u16string_view text) {
  // CB_ADDSTRING leaves the selection as it is.
  SendMessageW(ListOf(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(text).c_str()));
}

void TForm1::SetDate(ControlId id, int year, int month, int day) {
  if (Describe(id).kind != ControlKind::DateField) throw std::logic_error("TForm1: not a date field");
  wchar_t text[16];
  std::swprintf(text, std::size(text), L"%02d.%02d.%04d", day % 100, month % 100, year % 10000);
  SetWindowTextW(Control(id), text);
}

void TForm1::SetEnabled(ControlId id, bool enabled) { EnableWindow(Control(id), enabled ? TRUE : FALSE); }

bool TForm1::IsEnabled(ControlId id) const { return IsWindowEnabled(Control(id)) != FALSE; }

void TForm1::SetButtonVisible(ControlId id, bool visible) {
  HWND button = Control(id);
  if (!visible && GetFocus() == button) SetFocus(GetNextDlgTabItem(window_, button, FALSE));
  ShowWindow(button, visible ? SW_SHOWNA : SW_HIDE);
}

bool TForm1::IsButtonVisible(ControlId id) const {
  return (GetWindowLongPtrW(Control(id), GWL_STYLE) & WS_VISIBLE) != 0;
}

int TForm1::ActivePage() const {
  return static_cast<int>(SendMessageW(Control(ControlId::sPageControl1), TCM_GETCURSEL, 0, 0));
}

void TForm1::SetScreenCursor(ScreenCursor cursor) {
  busyCursor_ = cursor == ScreenCursor::Busy;
  SetCursor(LoadCursorW(nullptr, busyCursor_ ? IDC_WAIT : IDC_ARROW));
}

void TForm1::ShowBox(std::u16string_view text, std::u16string_view caption, UINT icon) {
  // Once the user has closed the window, nothing more is said.
  if (closed_) return;
  MessageBoxW(IsWindowVisible(window_) ? window_ : nullptr, W(text).c_str(), W(caption).c_str(), MB_OK | icon);
}

void TForm1::ShowMessageBox(std::u16string_view text, std::optional<std::u16string_view> caption) {
  ShowBox(text, caption ? *caption : kDefaultBoxCaption, 0);
}

void TForm1::ShowPlainMessage(std::u16string_view text) { ShowBox(text, title_, 0); }

void TForm1::ShowErrorBox(std::u16string_view text) { ShowBox(text, title_, MB_ICONERROR); }

std::optional<std::u16string> TForm1::RunFileDialog(bool save, std::u16string_view proposedName) {
  if (closed_) return std::nullopt;
  const FileDialogDesc& desc = save ? kSaveDialog : kOpenDialog;
  // Description and pattern, each ending in a zero, and a zero after the last pair.
  std::wstring filter = W(desc.filterDescription);
  filter += L'\0';
  filter += W(desc.filterPattern);
  filter += L'\0';
  std::wstring file(32768, L'\0');
  const std::wstring proposed = W(proposedName).substr(0, file.size() - 1);
  std::copy(proposed.begin(), proposed.end(), file.begin());

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = window_;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  // A typed name of a file that does not exist is passed on to the loading,
  // which tells the user so.
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | (save ? OFN_OVERWRITEPROMPT : 0);
  const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
  if (!chosen) return std::nullopt;
  return U(std::wstring(file.c_str()));
}

std::optional<std::u16string> TForm1::ChooseOpenFile() { return RunFileDialog(/*save=*/false, {}); }

std::optional<std::u16string> TForm1::ChooseSaveFile(std::u16string_view proposedName) {
  return RunFileDialog(/*save=*/true, proposedName);
}

}  // namespace tacho
