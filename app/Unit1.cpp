#include "Unit1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QGraphicsDropShadowEffect>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QToolButton>
#include <stdexcept>

#include "AppTitle.h"
#include "Boxes.h"
#include "CivilDate.h"
#include "ControlLists.h"
#include "DateEdit.h"
#include "FieldEdit.h"
#include "HandlerRunner.h"
#include "HelpText.h"
#include "ShellHandlers.h"
#include "Look.h"

namespace tacho {
namespace {

QString Q(std::u16string_view text) { return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())); }

template <std::size_t N>
void AddItems(QComboBox* list, const std::array<std::u16string_view, N>& items) {
  for (std::u16string_view item : items) list->addItem(Q(item));
}

// A label bound to the left side of its field: right-aligned against it, no gap,
// and the field's buddy so that screen readers name the field by it.
QLabel* BindLabel(QWidget* field, const QString& text, const QFont& font) {
  auto* label = new QLabel(text, field->parentWidget());
  label->setFont(font);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->setBuddy(field);
  // Qt names an edit field by its buddy label; a drop-down list on Windows would
  // be named by its item, so it is given the label as its name.
  if (qobject_cast<QComboBox*>(field)) field->setAccessibleName(text);
  const int width = std::min(label->sizeHint().width(), field->x());
  label->setGeometry(field->x() - width, field->y(), width, field->height());
  return label;
}

QLabel* PlainLabel(QWidget* parent, const QString& name, const QString& text, const QFont& font, QRect geometry) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setFont(font);
  label->setGeometry(geometry);
  return label;
}

// A heading label: a fixed text drawn with a soft shadow.
QLabel* HeadingLabel(QWidget* parent, const QString& name, const QString& text, const QFont& font, QRect geometry) {
  QLabel* label = PlainLabel(parent, name, text, font, geometry);
  auto* shadow = new QGraphicsDropShadowEffect(label);
  shadow->setBlurRadius(4);
  shadow->setOffset(1.5, 1.5);
  shadow->setColor(QColor(0, 0, 0, 90));
  label->setGraphicsEffect(shadow);
  return label;
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent), title_(ApplicationTitle(QCoreApplication::applicationFilePath())) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(Q(kWindowCaption));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(430, 419);
  setFont(TahomaFont(11));
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64}) icon.addFile(QStringLiteral(":/icons/%1.png").arg(size));
  setWindowIcon(icon);

  BuildTopPanel();

  auto* pages = new QTabWidget(this);
  pages->setObjectName(QStringLiteral("sPageControl1"));
  pages->setGeometry(4, 31, 421, 346);
  Register(ControlId::sPageControl1, pages);
  auto* calibration = new QWidget;
  calibration->setObjectName(QStringLiteral("sTabSheet1"));
  auto* gsm = new QWidget;
  gsm->setObjectName(QStringLiteral("sTabSheet2"));
  pages->addTab(calibration, QStringLiteral("Калибровка"));
  pages->addTab(gsm, QStringLiteral("Настройка GSM"));
  BuildCalibrationPage(calibration);
  BuildGsmPage(gsm);
  BuildBottomRow();
  SetTabOrder();

  const CivilDate next = DefaultNextCalibrationDate(TodayLocal());
  SetDate(ControlId::sDateEdit2, next.year, next.month, next.day);

  connect(pages, &QTabWidget::currentChanged, this, [this] { RunHandler(*this, [this] { sPageControl1Change(); }); });
  connect(Button(ControlId::Help_Button), &QAbstractButton::clicked, this,
          [this] { RunHandler(*this, [this] { Help_ButtonClick(); }); });
}

TForm1::~TForm1() {
  if (busyCursor_) QApplication::restoreOverrideCursor();
}

void TForm1::BuildTopPanel() {
  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("sPanel1"));
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setFrameShadow(QFrame::Raised);
  panel->setGeometry(-2, 1, 433, 29);

  auto toolButton = [&](ControlId id, const QString& caption, QRect geometry) {
    auto* button = new QToolButton(panel);
    button->setText(caption);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(geometry);
    Register(id, button);
  };
  toolButton(ControlId::Open_File_Button, QStringLiteral("Открыть"), {2, 2, 86, 25});
  toolButton(ControlId::Save_File_Button, QStringLiteral("Сохранить"), {88, 2, 86, 25});
  PlainLabel(panel, QStringLiteral("sLabel1"), QStringLiteral("Связь с устройством:"), TahomaFont(11),
             {180, 8, 109, 13});

  auto* port = new QComboBox(panel);
  port->setGeometry(291, 3, 91, 22);
  port->setAccessibleName(QStringLiteral("Связь с устройством:"));
  port->addItem(Q(kPortSearchItem));
  port->setCurrentIndex(-1);
  Register(ControlId::sComboBox_port, port);

  toolButton(ControlId::Search_Button, QStringLiteral("Найти"), {385, 2, 44, 24});
}

void TForm1::BuildCalibrationPage(QWidget* page) {
  auto* group = new QGroupBox(page);
  group->setObjectName(QStringLiteral("sGroupBox1"));
  group->setFont(TahomaFont(15));
  group->setGeometry(1, -9, 411, 324);

  const QFont labelFont = TahomaFont(13);
  const QFont fieldFont = TahomaFont(11);
  struct EditRow {
    ControlId id;
    const char16_t* label;
    int top;
    int maxLength;
  };
  const EditRow edits[] = {
      {ControlId::sEdit_master_N, u"Номер мастерской: ", 21, 15},
      {ControlId::sEdit_VIN, u"Идентификационный номер (VIN): ", 48, 17},
      {ControlId::sEdit_VRN, u"Регистрационный номер (VRN): ", 75, 13},
      {ControlId::sEdit_W, u"Характеристический коэффициент (W): ", 130, 0},
      {ControlId::sEdit_L, u"Эффективная окружность шин колёс (L,мм): ", 157, 0},
      {ControlId::sEdit_typeSize, u"Обозначение размера шин: ", 184, 15},
      {ControlId::sEdit_speed, u"Разрешённая скорость ТС (км/ч): ", 211, 0},
      {ControlId::sEdit_odometer, u"Новые показания счётчика пробега (км): ", 238, 6},
  };
  for (const EditRow& row : edits) {
    auto* edit = new FieldEdit(group, UserEditLimits{row.maxLength, false});
    edit->setFont(fieldFont);
    edit->setGeometry(272, row.top, 127, 21);
    Register(row.id, edit);
    BindLabel(edit, QString::fromUtf16(row.label), labelFont);
  }
  Field(ControlId::sEdit_master_N)->setText(Q(kWorkshopDefault));

  auto list = [&](ControlId id, QRect geometry) {
    auto* combo = new QComboBox(group);
    combo->setFont(fieldFont);
    combo->setGeometry(geometry);
    Register(id, combo);
    return combo;
  };
  QComboBox* country = list(ControlId::sComboBox_country, {272, 102, 127, 22});
  AddItems(country, kCountryItems);
  country->setCurrentIndex(kCountryDefaultIndex);
  BindLabel(country, QStringLiteral("Страна: "), labelFont);

  auto* date = new DateEdit(group);
  date->setFont(fieldFont);
  date->setGeometry(272, 265, 79, 21);
  Register(ControlId::sDateEdit2, date);
  BindLabel(date, QStringLiteral("Дата Следующей калибровки: "), labelFont);

  QComboBox* hours = list(ControlId::sComboBox1, {272, 292, 45, 22});
  AddItems(hours, kHoursItems);
  hours->setCurrentIndex(kHoursDefaultIndex);
  BindLabel(hours, QStringLiteral("Сдвиг местного времени: "), labelFont);
  PlainLabel(group, QStringLiteral("sLabel2"), QStringLiteral("ч"), labelFont, {320, 295, 7, 16});

  QComboBox* minutes = list(ControlId::sComboBox2, {333, 292, 41, 22});
  AddItems(minutes, kMinutesItems);
  minutes->setCurrentIndex(kMinutesDefaultIndex);
  minutes->setAccessibleName(QStringLiteral("мин"));
  PlainLabel(group, QStringLiteral("sLabel3"), QStringLiteral("мин"), labelFont, {379, 295, 22, 16});
}

void TForm1::BuildGsmPage(QWidget* page) {
  const QFont heading = TahomaFont(15, true);
  HeadingLabel(page, QStringLiteral("sLabelFX2"), QStringLiteral("Настройки сотового оператора:"), heading,
               {20, 16, 249, 22});
  HeadingLabel(page, QStringLiteral("sLabelFX3"), QStringLiteral("Настройки сервера:"), heading, {20, 101, 157, 22});
  HeadingLabel(page, QStringLiteral("sLabelFX4"), QStringLiteral("Настройки GSM модуля:"), heading,
               {20, 184, 192, 22});

  const QFont labelFont = TahomaFont(12);
  const QFont fieldFont = TahomaFont(11);

  auto* operators = new QComboBox(page);
  operators->setFont(fieldFont);
  operators->setGeometry(184, 41, 137, 22);
  AddItems(operators, kOperatorItems);
  operators->setCurrentIndex(-1);
  Register(ControlId::sComboBox3, operators);
  BindLabel(operators, QStringLiteral("Оператор: "), labelFont);

  struct EditRow {
    ControlId id;
    const char16_t* label;
    QRect geometry;
    UserEditLimits limits;
    const char16_t* hint;
  };
  const EditRow edits[] = {
      {ControlId::Edit_operator, u"Строка подключения:  ", {184, 69, 220, 21}, {50, false},
       u"\"точка доступа\", \"логин\",\"пароль\""},
      {ControlId::Edit_IP, u"IP адресс:  ", {184, 126, 145, 21}, {15, false}, u"IP адресс сервера"},
      {ControlId::Edit_port, u"Порт:  ", {184, 154, 49, 21}, {5, true}, u""},
      {ControlId::Edit_int_send, u"Интервал передачи данных (сек):  ", {265, 209, 41, 21}, {4, true},
       u"интервал передачи данных на сервер (10-2500 сек)"},
      {ControlId::Edit_int_save, u"Интервал сохранения данных (сек):  ", {265, 237, 41, 21}, {4, true},
       u"интервал сохранения данных в чёрный ящик (5-1200 сек)"},
  };
  for (const EditRow& row : edits) {
    auto* edit = new FieldEdit(page, row.limits);
    edit->setFont(fieldFont);
    edit->setGeometry(row.geometry);
    edit->setToolTip(QString::fromUtf16(row.hint));
    Register(row.id, edit);
    BindLabel(edit, QString::fromUtf16(row.label), labelFont);
  }

  auto* defaults = new QPushButton(QStringLiteral("По умолчанию"), page);
  defaults->setFont(TahomaFont(11));
  defaults->setGeometry(9, 268, 124, 24);
  defaults->setAutoDefault(false);
  Register(ControlId::Default_Button, defaults);
}

void TForm1::BuildBottomRow() {
  auto button = [&](ControlId id, const QString& caption, const QFont& font, QRect geometry, bool visible) {
    auto* b = new QPushButton(caption, this);
    b->setFont(font);
    b->setGeometry(geometry);
    b->setAutoDefault(false);
    b->setVisible(visible);
    Register(id, b);
  };
  button(ControlId::Write_Kalibr_Button, QStringLiteral("Записать данные"), TahomaFont(15), {212, 384, 208, 29}, true);
  button(ControlId::Help_Button, QStringLiteral("?"), TahomaFont(20, true), {9, 385, 28, 28}, true);
  button(ControlId::Read_GSM_Button, QStringLiteral("Считать"), TahomaFont(11), {212, 385, 101, 28}, false);
  button(ControlId::Write_GSM_Button, QStringLiteral("Записать"), TahomaFont(11), {319, 385, 101, 28}, false);
  HeadingLabel(this, QStringLiteral("sLabelFX1"), Q(kMakerNotice), TahomaFont(11), {45, 396, 155, 17});
}

void TForm1::SetTabOrder() {
  // The window's order, with each page's fields in its own order; the GSM page's
  // differs from what it shows top to bottom. Hidden controls are skipped by Qt.
  const ControlId order[] = {
      ControlId::Write_Kalibr_Button, ControlId::Help_Button,    ControlId::sPageControl1,
      ControlId::sEdit_master_N,      ControlId::sEdit_VIN,      ControlId::sEdit_VRN,
      ControlId::sComboBox_country,   ControlId::sEdit_W,        ControlId::sEdit_L,
      ControlId::sEdit_typeSize,      ControlId::sEdit_speed,    ControlId::sEdit_odometer,
      ControlId::sDateEdit2,          ControlId::sComboBox1,     ControlId::sComboBox2,
      ControlId::Edit_IP,             ControlId::Edit_port,      ControlId::Edit_operator,
      ControlId::Edit_int_send,       ControlId::Edit_int_save,  ControlId::Default_Button,
      ControlId::sComboBox3,          ControlId::Read_GSM_Button, ControlId::Write_GSM_Button,
      ControlId::sComboBox_port,
  };
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(Control(order[i]), Control(order[i + 1]));
  Control(ControlId::Write_Kalibr_Button)->setFocus();
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
std::optional<std::u16string> RunFileDialog(QWidget* owner, QFileDialog::AcceptMode mode, const QString& name,
                                            const QString& filter, const QString& proposed) {
  QFileDialog dialog(owner);
  dialog.setObjectName(name);
  dialog.setAcceptMode(mode);
  // Open: a typed name of a file that does not exist is passed on, and the
  // loading itself tells the user "Файл не найден".
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilter(filter);
  if (!proposed.isEmpty()) dialog.selectFile(proposed);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return QDir::toNativeSeparators(dialog.selectedFiles().first()).toStdU16String();
}

}  // namespace

std::optional<std::u16string> TForm1::ChooseOpenFile() {
  if (waits_.Closed()) return std::nullopt;
  return RunFileDialog(this, QFileDialog::AcceptOpen, QStringLiteral("sOpenDialog1"),
                       QStringLiteral("Текстовые файлы (*.txt)"), QString());
}

std::optional<std::u16string> TForm1::ChooseSaveFile(std::u16string_view proposedName) {
  if (waits_.Closed()) return std::nullopt;
  return RunFileDialog(this, QFileDialog::AcceptSave, QStringLiteral("sSaveDialog1"),
                       QStringLiteral("Текстовые (*.txt)"), Q(proposedName));
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
