// The main window TForm1 over plain Win32 controls, built from the window
// description: both pages with every control, the command buttons switched with
// the page, and the control operations, boxes, dialogs and waits through which
// the page logic reaches the window.
#pragma once

#include "WindowsHeaders.h"

#include <array>
#include <functional>
#include <string>

#include "Form.h"

namespace tacho {

class TForm1 : public IForm {
 public:
  // Builds the hidden window with its start-up entries, the date field at today
  // plus 730 days. A failure to create a window throws std::runtime_error.
  TForm1();
  ~TForm1() override;
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // The control's described handler runs through this (the page switch and the
  // help included); until it is set, only those two run, directly.
  void SetHandlerRunner(std::function<void(Handler)> runner) { runner_ = std::move(runner); }

  // Shows the window centred on the screen's work area.
  void ShowCentred();
  // Runs the event loop until the window is closed.
  void RunEventLoop();

  void sPageControl1Change();
  void Help_ButtonClick();

  HWND Handle() const { return window_; }
  // The control's window; nullptr for one that has none (the window itself
  // gives its own handle).
  HWND Control(ControlId id) const;
  // The label bound to a field; nullptr when it has none.
  HWND BoundLabel(ControlId id) const;
  HWND Tooltip() const { return tooltip_; }
  // The date field's calendar popup, created on first use.
  HWND CalendarPopup() const { return calendar_; }
  void OpenCalendar();
  UINT Dpi() const { return dpi_; }
  // True once the user closed the window; no box shows after that.
  bool Closed() const { return closed_; }
  // The caption of the plain message and the error box.
  const std::u16string& ApplicationTitleText() const { return title_; }
  // The time the window was first painted (QueryPerformanceCounter), 0 before.
  LONGLONG FirstPaintCounter() const { return firstPaint_; }

  // IForm
  std::u16string ReadText(ControlId id) const override;
  void SetText(ControlId id, std::u16string_view text) override;
  int SelectedIndex(ControlId id) const override;
  void SelectIndex(ControlId id, int index) override;
  int FindItem(ControlId id, std::u16string_view text) const override;
  int ItemCount(ControlId id) const override;
  std::u16string ItemText(ControlId id, int index) const override;
  void ClearItems(ControlId id) override;
  void AddItem(ControlId id, std::u16string_view text) override;
  void SetDate(ControlId id, int year, int month, int day) override;
  void SetEnabled(ControlId id, bool enabled) override;
  bool IsEnabled(ControlId id) const override;
  void SetButtonVisible(ControlId id, bool visible) override;
  bool IsButtonVisible(ControlId id) const override;
  int ActivePage() const override;
  void SetScreenCursor(ScreenCursor cursor) override;
  void ShowMessageBox(std::u16string_view text, std::optional<std::u16string_view> caption) override;
  void ShowPlainMessage(std::u16string_view text) override;
  void ShowErrorBox(std::u16string_view text) override;
  std::optional<std::u16string> ChooseOpenFile() override;
  std::optional<std::u16string> ChooseSaveFile(std::u16string_view proposedName) override;
  void ResponsiveDelay(int ms) override;
  void RunBlocking(const std::function<void()>& step) override;

  // Window procedures' entry points (public for the C callbacks).
  LRESULT WindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT CalendarMessage(HWND calendar, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void CreateControls();
  HWND CreateControl(const ControlDesc& desc, HWND parent);
  // Sizes the window for `dpi`, gives every control its font, and moves the
  // controls to their places when asked (a change of dpi).
  void ApplyDpi(UINT dpi, bool moveControls);
  RECT Placement(const ControlDesc& desc) const;
  void PlaceControl(const ControlDesc& desc, bool move);
  void PlaceBoundLabel(const ControlDesc& desc);
  void FitListHeight(HWND list, int height);
  void ClipPageControl();
  void ShowPage(int index);
  HFONT Font(FontStyle style);
  void RunControlHandler(Handler handler);
  void OnCommand(int id, int code, HWND from);
  LRESULT OnNotify(const NMHDR& header);
  void OnDrawItem(const DRAWITEMSTRUCT& item);
  void PumpPending();
  void PickCalendarDate();
  std::optional<std::u16string> RunFileDialog(bool save, std::u16string_view proposedName);
  void ShowBox(std::u16string_view text, std::u16string_view caption, UINT icon);
  void CloseRequested();
  HWND ListOf(ControlId id) const;
  int Scale(int value) const;

  HWND window_ = nullptr;
  HWND tooltip_ = nullptr;
  HWND calendar_ = nullptr;
  std::array<HWND, kControlCount> controls_{};
  std::array<HWND, kControlCount> labels_{};
  std::array<HFONT, 64> fonts_{};  // by pixel height and weight, for the current dpi
  UINT dpi_ = 96;
  std::u16string title_;
  std::u16string portShownText_;
  std::function<void(Handler)> runner_;
  HWND focusBeforeDeactivation_ = nullptr;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  bool busyCursor_ = false;
  bool closed_ = false;
  int handlersRunning_ = 0;
  LONGLONG firstPaint_ = 0;
};

}  // namespace tacho
