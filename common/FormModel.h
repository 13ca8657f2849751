// An in-memory window built from the window description: every control that
// the page logic reaches, with its items and start-up defaults, the
// boxes shown, scripted file-dialog answers. The page logic runs on it in tests.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "CivilDate.h"
#include "Form.h"

namespace tacho {

class FormModel : public IForm {
 public:
  enum class BoxKind { Message, Plain, Error };
  struct Box {
    BoxKind kind;
    std::u16string text;
    std::optional<std::u16string> caption;  // message boxes only; nullopt: system default
  };

  // The window's start-up state, with the date field at today plus 730 days.
  FormModel();
  explicit FormModel(CivilDate today);

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
  // Sleeps for real (the emulated device keeps real time), after running onDelay;
  // throws WindowClosed once `closed` is set, after onDelay and without sleeping.
  void ResponsiveDelay(int ms) override;
  // Runs the step inline: the logic tests stay sequential and exact. Counts the
  // steps; throws WindowClosed after the step once `closed` is set.
  void RunBlocking(const std::function<void()>& step) override;

  // Test controls.
  void SetActivePage(int page) { activePage_ = page; }
  std::vector<Box> boxes;
  std::vector<ScreenCursor> cursorHistory;
  ScreenCursor cursor = ScreenCursor::Normal;
  std::deque<std::optional<std::u16string>> openAnswers;  // empty: the user cancels
  std::deque<std::optional<std::u16string>> saveAnswers;
  std::vector<std::u16string> proposedSaveNames;
  std::vector<int> delays;
  int blockingSteps = 0;
  // The user has closed the window: waits throw WindowClosed, boxes show nothing.
  bool closed = false;
  // Runs at the start of every responsive delay: a test clicks here "during the wait".
  std::function<void(int ms)> onDelay;

  // The texts of all boxes shown, in order.
  std::vector<std::u16string> BoxTexts() const;

 private:
  struct Control {
    enum class Kind { Edit, Date, List, Button, Pages } kind = Kind::Edit;
    std::u16string text{};  // edit and date fields; the port list's shown text
    std::vector<std::u16string> items{};
    int selected = -1;
    bool visible = true;
    bool enabled = true;
  };
  Control& At(ControlId id);
  const Control& At(ControlId id) const;

  std::map<ControlId, Control> controls_;
  int activePage_ = 0;
};

}  // namespace tacho
