// The main window TForm1: both pages with every control, the command buttons
// switched with the page, the help message, and the control operations and
// modal boxes through which the page logic reaches the window.
#pragma once

#include <QString>
#include <QWidget>
#include <array>

#include "Form.h"
#include "QtWaits.h"

class QAbstractButton;
class QCloseEvent;
class QComboBox;
class QLineEdit;
class QTabWidget;

namespace tacho {

class TForm1 : public QWidget, public IForm {
  Q_OBJECT

 public:
  // Builds the window from its description (WindowDescription.h), control by
  // control, with the start-up entries. Its own handlers (page switch, help) are connected here; the page
  // logic's handlers are connected by ConnectHandlers.
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // Shows the window centred on the screen.
  void ShowCentred();

  void sPageControl1Change();
  void Help_ButtonClick();

  // The controls by name, for connecting handlers and for tests.
  QWidget* Control(ControlId id) const;
  QAbstractButton* Button(ControlId id) const;
  QComboBox* List(ControlId id) const;
  QTabWidget* Pages() const;
  // The caption of the plain message and the error box.
  const QString& ApplicationTitleText() const { return title_; }

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

 signals:
  // The window was closed during a command, and that command has now ended:
  // start-up ends the program here.
  void closedDuringCommand();

 protected:
  // During a command the window is only hidden and marked closed: the command
  // ends at its next wait, and closedDuringCommand follows.
  void closeEvent(QCloseEvent* event) override;

 private:
  // Makes the widget of one control under its container, as the description gives it.
  void BuildControl(const ControlDesc& desc);
  // The focus chain of the description.
  void SetTabOrder();
  void Register(ControlId id, QWidget* widget);
  QLineEdit* Field(ControlId id) const;

  std::array<QWidget*, kControlCount> controls_{};
  QString title_;
  bool busyCursor_ = false;
  QtWaits waits_{this, [this] { emit closedDuringCommand(); }};
};

}  // namespace tacho
