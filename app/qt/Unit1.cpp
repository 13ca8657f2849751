#include "Unit1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QIcon>
#include <QScreen>
#include <QTabWidget>
#include <stdexcept>

#include "Boxes.h"
#include "CivilDate.h"
#include "ControlBuilder.h"
#include "DateEdit.h"
#include "FieldEdit.h"
#include "HandlerRunner.h"
#include "ShellHandlers.h"

namespace tacho {
namespace {

QString Q(std::u16string_view text) { return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent), title_(ProgramTitle()) {
  setWindowTitle(Q(kMainWindow.caption));
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint;
  if (kMainWindow.minimizeButton) flags |= Qt::WindowMinimizeButtonHint;
  if (kMainWindow.maximizeButton) flags |= Qt::WindowMaximizeButtonHint;
  if (!kMainWindow.resizable) flags |= Qt::MSWindowsFixedSizeDialogHint;
  setWindowFlags(flags);
  if (kMainWindow.resizable) {
    resize(kMainWindow.clientWidth, kMainWindow.clientHeight);
  } else {
    setFixedSize(kMainWindow.clientWidth, kMainWindow.clientHeight);
  }
  setFont(WindowFont(kMainWindow.font));
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64}) icon.addFile(QStringLiteral(":/icons/%1.png").arg(size));
  setWindowIcon(icon);

  Register(ControlId::Form1, this);
  for (const ControlDesc& desc : kControls) {
    if (desc.id != ControlId::Form1) BuildControl(desc);
  }
  SetTabOrder();

  connect(Pages(), &QTabWidget::currentChanged, this, [this] { RunHandler(*this, [this] { sPageControl1Change(); }); });
  connect(Button(ControlId::Help_Button), &QAbstractButton::clicked, this,
          [this] { RunHandler(*this, [this] { Help_ButtonClick(); }); });
}

TForm1::~TForm1() {
  if (busyCursor_) QApplication::restoreOverrideCursor();
}

void TForm1::BuildControl(const ControlDesc& desc) {
  QWidget* widget = BuildWidget(desc, Control(desc.parent));
  Register(desc.id, widget);
  if (desc.defaultDate == StartDate::NextCalibrationDate) {
    const CivilDate next = DefaultNextCalibrationDate(TodayLocal());
    SetDate(desc.id, next.year, next.month, next.day);
  }
}

void TForm1::SetTabOrder() {
  // Hidden controls stay in the chain; Qt skips them.
  const std::vector<ControlId> chain = FocusChain();
  for (std::size_t i = 0; i + 1 < chain.size(); ++i) setTabOrder(Control(chain[i]), Control(chain[i + 1]));
  if (!chain.empty()) Control(chain.front())->setFocus();
}

void TForm1::Register(ControlId id, QWidget* widget) {
  const std::string_view name = ControlName(id);
  widget->setObjectName(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
  controls_[static_cast<std::size_t>(id)] = widget;
}

void TForm1::ShowCentred() {
  const QRect area = (screen() ? screen() : QGuiApplication::primaryScreen())->availableGeometry();
  move(area.center() - QPoint(width() / 2, height() / 2));
  show();
}

void TForm1::sPageControl1Change() { ::tacho::sPageControl1Change(*this); }

void TForm1::Help_ButtonClick() { ::tacho::Help_ButtonClick(*this); }

QWidget* TForm1::Control(ControlId id) const {
  QWidget* w = controls_[static_cast<std::size_t>(id)];
  if (!w) throw std::logic_error("TForm1: no such control");
  return w;
}

QAbstractButton* TForm1::Button(ControlId id) const {
  auto* b = qobject_cast<QAbstractButton*>(Control(id));
  if (!b) throw std::logic_error("TForm1: not a button");
  return b;
}

QComboBox* TForm1::List(ControlId id) const {
  auto* c = qobject_cast<QComboBox*>(Control(id));
  if (!c) throw std::logic_error("TForm1: not a drop-down list");
  return c;
}

QTabWidget* TForm1::Pages() const { return static_cast<QTabWidget*>(Control(ControlId::sPageControl1)); }

QLineEdit* TForm1::Field(ControlId id) const {
  auto* e = qobject_cast<QLineEdit*>(Control(id));
  if (!e) throw std::logic_error("TForm1: not an edit field");
  return e;
}

std::u16string TForm1::ReadText(ControlId id) const {
  if (id == ControlId::sDateEdit2) return dynamic_cast<DateEdit&>(*Field(id)).FieldText().toStdU16String();
  if (auto* list = qobject_cast<QComboBox*>(Control(id))) {
    if (list->currentIndex() >= 0) return list->currentText().toStdU16String();
    // The port list's shown text ("Поиск......" during a search) is its placeholder.
    return id == ControlId::sComboBox_port ? list->placeholderText().toStdU16String() : std::u16string();
  }
  return Field(id)->text().toStdU16String();
}

void TForm1::SetText(ControlId id, std::u16string_view text) {
  if (auto* list = qobject_cast<QComboBox*>(Control(id))) {
    list->setCurrentIndex(-1);
    if (id == ControlId::sComboBox_port) {
      list->setPlaceholderText(Q(text));
      list->repaint();  // the search that follows keeps the loop busy
    }
    return;
  }
  if (auto* date = dynamic_cast<DateEdit*>(Field(id))) {
    date->SetFieldText(Q(text));
    return;
  }
  Field(id)->setText(Q(text));
}

int TForm1::SelectedIndex(ControlId id) const { return List(id)->currentIndex(); }

void TForm1::SelectIndex(ControlId id, int index) {
  QComboBox* list = List(id);
  list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

int TForm1::FindItem(ControlId id, std::u16string_view text) const {
  const QComboBox* list = List(id);
  const QString wanted = Q(text);
  for (int i = 0; i < list->count(); ++i) {
    if (list->itemText(i) == wanted) return i;
  }
  return -1;
}

int TForm1::ItemCount(ControlId id) const { return List(id)->count(); }

std::u16string TForm1::ItemText(ControlId id, int index) const {
  const QComboBox* list = List(id);
  if (index < 0 || index >= list->count()) return {};
  return list->itemText(index).toStdU16String();
}

void TForm1::ClearItems(ControlId id) {
  QComboBox* list = List(id);
  list->clear();
  list->setPlaceholderText(QString());
}

void TForm1::AddItem(ControlId id, std::u16string_view text) {
  QComboBox* list = List(id);
  // Qt selects the first item added to an empty list; adding selects nothing here.
  const int selected = list->currentIndex();
  list->addItem(Q(text));
  if (list->currentIndex() != selected) list->setCurrentIndex(selected);
}

void TForm1::SetDate(ControlId id, int year, int month, int day) {
  auto* date = dynamic_cast<DateEdit*>(Field(id));
  if (!date) throw std::logic_error("TForm1: not a date field");
  date->SetDate(year, month, day);
}

void TForm1::SetEnabled(ControlId id, bool enabled) { Control(id)->setEnabled(enabled); }

bool TForm1::IsEnabled(ControlId id) const { return Control(id)->isEnabled(); }

void TForm1::SetButtonVisible(ControlId id, bool visible) { Button(id)->setVisible(visible); }

bool TForm1::IsButtonVisible(ControlId id) const { return Button(id)->isVisibleTo(this); }

int TForm1::ActivePage() const { return Pages()->currentIndex(); }

void TForm1::SetScreenCursor(ScreenCursor cursor) {
  const bool busy = cursor == ScreenCursor::Busy;
  if (busy == busyCursor_) return;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
  busyCursor_ = busy;
}

void TForm1::ShowMessageBox(std::u16string_view text, std::optional<std::u16string_view> caption) {
  if (waits_.Closed()) return;
  ShowModalBox(this, QMessageBox::NoIcon, caption ? Q(*caption) : QString::fromUtf16(kDefaultMessageCaption),
               Q(text));
}

void TForm1::ShowPlainMessage(std::u16string_view text) {
  if (!waits_.Closed()) ShowModalBox(this, QMessageBox::NoIcon, title_, Q(text));
}

void TForm1::ShowErrorBox(std::u16string_view text) {
  if (!waits_.Closed()) ShowModalBox(this, QMessageBox::Critical, title_, Q(text));
}

namespace {

// A file dialog of the window: one filter, no default extension, no folder or
// title of its own; the chosen name with the system's separators, or nullopt.
std::optional<std::u16string> RunFileDialog(QWidget* owner, QFileDialog::AcceptMode mode,
                                            const FileDialogDesc& desc, const QString& proposed) {
  QFileDialog dialog(owner);
  dialog.setObjectName(QString::fromLatin1(desc.name.data(), static_cast<qsizetype>(desc.name.size())));
  dialog.setAcceptMode(mode);
  // Open: a typed name of a file that does not exist is passed on, and the
  // loading itself tells the user "Файл не найден".
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilter(Q(desc.filterDescription) + QStringLiteral(" (") + Q(desc.filterPattern) + u')');
  if (!proposed.isEmpty()) dialog.selectFile(proposed);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(dialog.selectedFiles().first()).toStdU16String();
}

}  // namespace

std::optional<std::u16string> TForm1::ChooseOpenFile() {
  if (waits_.Closed()) return std::nullopt;
  return RunFileDialog(this, QFileDialog::AcceptOpen, kOpenDialog, QString());
}

std::optional<std::u16string> TForm1::ChooseSaveFile(std::u16string_view proposedName) {
  if (waits_.Closed()) return std::nullopt;
  return RunFileDialog(this, QFileDialog::AcceptSave, kSaveDialog, Q(proposedName));
}

void TForm1::ResponsiveDelay(int ms) { waits_.ResponsiveDelay(ms); }

void TForm1::RunBlocking(const std::function<void()>& step) { waits_.RunBlocking(step); }

void TForm1::closeEvent(QCloseEvent* event) {
  if (!waits_.Waiting()) return QWidget::closeEvent(event);
  waits_.MarkClosed();
  hide();
  event->ignore();
}

}  // namespace tacho
