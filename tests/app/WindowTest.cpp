// The window as a user meets it: start state, limits, lists, pages, help, boxes.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QSignalSpy>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>

#include "AppError.h"
#include "BoxCatcher.h"
#include "CivilDate.h"
#include "ControlLists.h"
#include "HandlerRunner.h"
#include "QtPrint.h"
#include "HelpText.h"
#include "Unit1.h"

namespace tacho {
namespace {

using test::BoxCatcher;

QString Name(ControlId id) {
  const std::string_view n = ControlName(id);
  return QString::fromLatin1(n.data(), static_cast<qsizetype>(n.size()));
}

std::u16string DateText(CivilDate d) {
  return QString::asprintf("%02d.%02d.%04d", d.day, d.month, d.year).toStdU16String();
}

void ShowActive(TForm1& form) {
  form.ShowCentred();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
}

void ClickTab(TForm1& form, int index) {
  QTabBar* bar = form.Pages()->tabBar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

const ControlId kEditFields[] = {
    ControlId::sEdit_master_N, ControlId::sEdit_VIN,     ControlId::sEdit_VRN,     ControlId::sEdit_W,
    ControlId::sEdit_L,        ControlId::sEdit_typeSize, ControlId::sEdit_speed,  ControlId::sEdit_odometer,
    ControlId::Edit_operator,  ControlId::Edit_IP,       ControlId::Edit_port,     ControlId::Edit_int_send,
    ControlId::Edit_int_save,
};

TEST(Window, StartsOnTheCalibrationPageWithEveryDefault) {
  TForm1 form;
  EXPECT_EQ(form.windowTitle(), QString::fromStdU16String(std::u16string(kWindowCaption)));
  EXPECT_EQ(form.size(), QSize(430, 419));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);

  EXPECT_EQ(form.ActivePage(), 0);
  EXPECT_EQ(form.Pages()->tabText(0), "Калибровка");
  EXPECT_EQ(form.Pages()->tabText(1), "Настройка GSM");
  EXPECT_TRUE(form.IsButtonVisible(ControlId::Write_Kalibr_Button));
  EXPECT_TRUE(form.IsButtonVisible(ControlId::Help_Button));
  EXPECT_FALSE(form.IsButtonVisible(ControlId::Read_GSM_Button));
  EXPECT_FALSE(form.IsButtonVisible(ControlId::Write_GSM_Button));

  EXPECT_EQ(form.SelectedIndex(ControlId::sComboBox_country), 43);
  EXPECT_EQ(form.ReadText(ControlId::sComboBox_country), u"RUS   Росс.федерац.");
  EXPECT_EQ(form.ItemCount(ControlId::sComboBox_country), 56);
  EXPECT_EQ(form.ReadText(ControlId::sComboBox1), u"+0");
  EXPECT_EQ(form.ItemCount(ControlId::sComboBox1), 47);
  EXPECT_EQ(form.ReadText(ControlId::sComboBox2), u"00");
  EXPECT_EQ(form.ItemCount(ControlId::sComboBox2), 60);
  for (ControlId list : {ControlId::sComboBox3, ControlId::sComboBox_port}) {
    EXPECT_EQ(form.SelectedIndex(list), -1);
    EXPECT_EQ(form.ReadText(list), u"");
  }
  EXPECT_EQ(form.ItemCount(ControlId::sComboBox3), 5);
  EXPECT_EQ(form.ItemCount(ControlId::sComboBox_port), 1);
  EXPECT_EQ(form.ItemText(ControlId::sComboBox_port, 0), u"Найти устр-во");

  for (ControlId field : kEditFields) {
    EXPECT_EQ(form.ReadText(field), field == ControlId::sEdit_master_N ? u"РФ" : u"") << Name(field).toStdString();
  }
  EXPECT_EQ(form.ReadText(ControlId::sDateEdit2), DateText(DefaultNextCalibrationDate(TodayLocal())));

  // Every control is found by its name.
  for (const ControlDesc& control : kControls) {
    if (control.id == ControlId::Form1) continue;
    const QString name = Name(control.id);
    EXPECT_NE(form.findChild<QWidget*>(name), nullptr) << name.toStdString();
  }
}

TEST(Window, FieldsAreNamedByTheirBoundLabelsAndUseTahoma) {
  TForm1 form;
  const struct {
    ControlId id;
    const char* label;
  } bound[] = {
      {ControlId::sEdit_master_N, "Номер мастерской: "},
      {ControlId::sEdit_VIN, "Идентификационный номер (VIN): "},
      {ControlId::sComboBox_country, "Страна: "},
      {ControlId::sEdit_L, "Эффективная окружность шин колёс (L,мм): "},
      {ControlId::sDateEdit2, "Дата Следующей калибровки: "},
      {ControlId::sComboBox1, "Сдвиг местного времени: "},
      {ControlId::sComboBox3, "Оператор: "},
      {ControlId::Edit_operator, "Строка подключения:  "},
      {ControlId::Edit_IP, "IP адресс:  "},
      {ControlId::Edit_int_save, "Интервал сохранения данных (сек):  "},
  };
  for (const auto& b : bound) {
    QWidget* field = form.Control(b.id);
    const QLabel* found = nullptr;
    for (const QLabel* label : field->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
      if (label->buddy() == field) found = label;
    }
    ASSERT_NE(found, nullptr) << Name(b.id).toStdString();
    EXPECT_EQ(found->text(), QString::fromUtf8(b.label));
    EXPECT_EQ(found->geometry().right() + 1, field->x()) << "right-aligned against the field, no gap";
    // Screen readers and UI automation find the field by its label: the label
    // relation everywhere, and the name of an edit field too.
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(field);
    ASSERT_NE(accessible, nullptr);
    const auto labels = accessible->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1) << Name(b.id).toStdString();
    EXPECT_EQ(labels[0].first->object(), found);
    if (qobject_cast<QLineEdit*>(field)) {
      EXPECT_EQ(accessible->text(QAccessible::Name), QString::fromUtf8(b.label)) << Name(b.id).toStdString();
    }
  }
  for (ControlId button : {ControlId::Write_Kalibr_Button, ControlId::Search_Button, ControlId::Default_Button}) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(form.Button(button));
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name), form.Button(button)->text());
  }
  EXPECT_EQ(form.List(ControlId::sComboBox2)->accessibleName(), "мин");
  EXPECT_EQ(form.List(ControlId::sComboBox_port)->accessibleName(), "Связь с устройством:");
  EXPECT_EQ(form.Control(ControlId::Edit_IP)->toolTip(), "IP адресс сервера");
  EXPECT_EQ(form.Control(ControlId::Edit_operator)->toolTip(), "\"точка доступа\", \"логин\",\"пароль\"");

  const QFontInfo font(form.Control(ControlId::sEdit_VIN)->font());
  EXPECT_TRUE(font.family() == "Tahoma" || font.family() == "DejaVu Sans") << font.family().toStdString();
  EXPECT_EQ(font.pixelSize(), 11);
}

TEST(Window, TabKeyFollowsTheOrderOfEachPageSkippingHiddenButtons) {
  TForm1 form;
  ShowActive(form);
  auto walk = [&form](ControlId from, int steps) {
    form.Control(from)->setFocus(Qt::TabFocusReason);
    std::vector<QString> seen;
    for (int i = 0; i < steps; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QWidget* w = QApplication::focusWidget();
      seen.push_back(w == form.Pages()->tabBar() ? QStringLiteral("sPageControl1") : w->objectName());
    }
    return seen;
  };
  const std::vector<QString> calibration = {
      "Help_Button",    "sPageControl1", "sEdit_master_N", "sEdit_VIN",      "sEdit_VRN",
      "sComboBox_country", "sEdit_W",   "sEdit_L",        "sEdit_typeSize", "sEdit_speed",
      "sEdit_odometer", "sDateEdit2",    "sComboBox1",     "sComboBox2",     "sComboBox_port",
      "Write_Kalibr_Button"};
  EXPECT_EQ(walk(ControlId::Write_Kalibr_Button, 16), calibration);

  ClickTab(form, 1);
  ASSERT_EQ(form.ActivePage(), 1);
  const std::vector<QString> gsm = {"sPageControl1", "Edit_IP",        "Edit_port",       "Edit_operator",
                                    "Edit_int_send", "Edit_int_save",  "Default_Button",  "sComboBox3",
                                    "Read_GSM_Button", "Write_GSM_Button", "sComboBox_port", "Help_Button"};
  EXPECT_EQ(walk(ControlId::Help_Button, 12), gsm);
}

TEST(Window, SwitchingPagesSwapsTheCommandButtonsAndKeepsEveryEntry) {
  TForm1 form;
  ShowActive(form);
  form.SetText(ControlId::sEdit_VIN, u"XTA21099043456789");
  form.SetText(ControlId::Edit_IP, u"10.0.0.1");
  form.SelectIndex(ControlId::sComboBox3, 2);

  ClickTab(form, 1);
  EXPECT_EQ(form.ActivePage(), 1);
  EXPECT_FALSE(form.IsButtonVisible(ControlId::Write_Kalibr_Button));
  EXPECT_TRUE(form.IsButtonVisible(ControlId::Read_GSM_Button));
  EXPECT_TRUE(form.IsButtonVisible(ControlId::Write_GSM_Button));
  EXPECT_TRUE(form.IsButtonVisible(ControlId::Help_Button));

  ClickTab(form, 0);
  EXPECT_EQ(form.ActivePage(), 0);
  EXPECT_TRUE(form.IsButtonVisible(ControlId::Write_Kalibr_Button));
  EXPECT_FALSE(form.IsButtonVisible(ControlId::Read_GSM_Button));
  EXPECT_FALSE(form.IsButtonVisible(ControlId::Write_GSM_Button));
  EXPECT_EQ(form.ReadText(ControlId::sEdit_VIN), u"XTA21099043456789");
  EXPECT_EQ(form.ReadText(ControlId::Edit_IP), u"10.0.0.1");
  EXPECT_EQ(form.SelectedIndex(ControlId::sComboBox3), 2);
}

TEST(Window, HelpButtonShowsTheHelpTextWithoutIcon) {
  TForm1 form;
  ShowActive(form);
  BoxCatcher catcher;
  QTest::mouseClick(form.Button(ControlId::Help_Button), Qt::LeftButton);
  ASSERT_EQ(catcher.boxes.size(), 1u);
  EXPECT_EQ(catcher.boxes[0].caption, "О программе");
  EXPECT_EQ(catcher.boxes[0].text.toStdU16String(), HelpText());
  EXPECT_EQ(catcher.boxes[0].icon, QMessageBox::NoIcon);
  EXPECT_EQ(catcher.boxes[0].buttons, 1);
}

TEST(Window, BoxesCarryTheirCaptionsAndIcons) {
  TForm1 form;
  ShowActive(form);
  BoxCatcher catcher;
  form.ShowMessageBox(u"Введите VIN!", std::nullopt);
  form.ShowMessageBox(u"Данные успешно записаны", u"Внимание!");
  form.ShowPlainMessage(u"Файл не найден");
  form.ShowErrorBox(u"'x' is not a valid integer value");
  ASSERT_EQ(catcher.boxes.size(), 4u);
  const QString title = form.ApplicationTitleText();
  EXPECT_EQ(title, "app_tests");  // the program file's own first letter is kept
  const struct {
    const char* text;
    QString caption;
    QMessageBox::Icon icon;
  } expected[] = {
      {"Введите VIN!", "Ошибка", QMessageBox::NoIcon},
      {"Данные успешно записаны", "Внимание!", QMessageBox::NoIcon},
      {"Файл не найден", title, QMessageBox::NoIcon},
      {"'x' is not a valid integer value", title, QMessageBox::Critical},
  };
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(catcher.boxes[i].text, QString::fromUtf8(expected[i].text));
    EXPECT_EQ(catcher.boxes[i].caption, expected[i].caption);
    EXPECT_EQ(catcher.boxes[i].icon, expected[i].icon);
    EXPECT_EQ(catcher.boxes[i].buttons, 1);
  }
}

TEST(Window, AnErrorEscapingAHandlerShowsTheErrorBoxAndTheWindowGoesOn) {
  TForm1 form;
  ShowActive(form);
  BoxCatcher catcher;
  RunHandler(form, [&form] {
    form.SetText(ControlId::sEdit_W, u"12");
    throw ConvertError(u"'abc' is not a valid integer value");
  });
  ASSERT_EQ(catcher.boxes.size(), 1u);
  EXPECT_EQ(catcher.boxes[0].icon, QMessageBox::Critical);
  EXPECT_EQ(catcher.boxes[0].text, "'abc' is not a valid integer value");
  EXPECT_EQ(form.ReadText(ControlId::sEdit_W), u"12");
  QTest::mouseClick(form.Button(ControlId::Help_Button), Qt::LeftButton);
  EXPECT_EQ(catcher.boxes.size(), 2u);
}

TEST(Window, FindItemIsExact) {
  TForm1 form;
  const struct {
    ControlId list;
    const char* text;
    int index;
  } cases[] = {
      {ControlId::sComboBox1, "+0", 23},  {ControlId::sComboBox1, "-0", 22},  {ControlId::sComboBox1, "0", -1},
      {ControlId::sComboBox1, "-11", -1}, {ControlId::sComboBox1, "-23", 0},  {ControlId::sComboBox1, "+23", 46},
      {ControlId::sComboBox2, "00", 0},   {ControlId::sComboBox2, "5", 5},    {ControlId::sComboBox2, "05", -1},
      {ControlId::sComboBox_country, "RUS   Росс.федерац.", 43},
      {ControlId::sComboBox_country, "RUS Росс.федерац.", -1},
      {ControlId::sComboBox3, "мтс", -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(form.FindItem(c.list, QString::fromUtf8(c.text).toStdU16String()), c.index) << c.text;
  }
}

TEST(Window, SelectingByProgramTakesOnlyItemsOfTheList) {
  TForm1 form;
  for (int index : {-1, 56, 1000}) {
    form.SelectIndex(ControlId::sComboBox_country, 3);
    form.SelectIndex(ControlId::sComboBox_country, index);
    EXPECT_EQ(form.SelectedIndex(ControlId::sComboBox_country), -1) << index;
    EXPECT_EQ(form.ReadText(ControlId::sComboBox_country), u"");
  }
  EXPECT_EQ(form.ItemText(ControlId::sComboBox2, 59), u"59");
  EXPECT_EQ(form.ItemText(ControlId::sComboBox2, 60), u"");
  EXPECT_EQ(form.ItemText(ControlId::sComboBox2, -1), u"");
}

TEST(Window, EditFieldsKeepLongerTextsSetByProgramButLimitTyping) {
  TForm1 form;
  ShowActive(form);
  const std::u16string twenty = u"ABCDEFGHIJ0123456789";
  form.SetText(ControlId::sEdit_VIN, twenty);
  EXPECT_EQ(form.ReadText(ControlId::sEdit_VIN), twenty);
  auto* vin = static_cast<QLineEdit*>(form.Control(ControlId::sEdit_VIN));
  QTest::keyClick(vin, Qt::Key_Z);
  EXPECT_EQ(form.ReadText(ControlId::sEdit_VIN), twenty);

  form.SetText(ControlId::sEdit_VIN, u"");
  QTest::keyClicks(vin, "WDB9634031L123456789");
  EXPECT_EQ(form.ReadText(ControlId::sEdit_VIN), u"WDB9634031L123456");

  for (ControlId id : {ControlId::Edit_port, ControlId::Edit_int_send, ControlId::Edit_int_save}) {
    auto* field = static_cast<QLineEdit*>(form.Control(id));
    QTest::keyClicks(field, "1a2b");
    EXPECT_EQ(form.ReadText(id), u"12") << Name(id).toStdString();
    form.SetText(id, u"abc");
    EXPECT_EQ(form.ReadText(id), u"abc");
  }
  auto* odometer = static_cast<QLineEdit*>(form.Control(ControlId::sEdit_odometer));
  QTest::keyClicks(odometer, "12345678");
  EXPECT_EQ(form.ReadText(ControlId::sEdit_odometer), u"123456");
}

TEST(Window, DateFieldReadsBackWithSpacesAndPicksFromTheCalendar) {
  TForm1 form;
  ShowActive(form);
  for (const char16_t* text : {u"28.02.2025", u"  .  .    ", u"01.03.2026", u"1 .  .20 4", u" 5. 3.  2 "}) {
    form.SetText(ControlId::sDateEdit2, text);
    EXPECT_EQ(form.ReadText(ControlId::sDateEdit2), text);
  }
  form.SetDate(ControlId::sDateEdit2, 2025, 2, 28);
  EXPECT_EQ(form.ReadText(ControlId::sDateEdit2), u"28.02.2025");

  auto* date = form.Control(ControlId::sDateEdit2);
  QTest::keyClick(date, Qt::Key_Down, Qt::AltModifier);
  auto* calendar = date->findChild<QCalendarWidget*>();
  ASSERT_NE(calendar, nullptr);
  ASSERT_TRUE(calendar->isVisible());
  EXPECT_EQ(calendar->selectedDate(), QDate(2025, 2, 28));
  calendar->setSelectedDate(QDate(2025, 3, 1));
  emit calendar->activated(calendar->selectedDate());
  EXPECT_FALSE(calendar->isVisible());
  EXPECT_EQ(form.ReadText(ControlId::sDateEdit2), u"01.03.2025");
}

TEST(Window, PortListShowsATextOfItsOwnAndAddingSelectsNothing) {
  TForm1 form;
  form.ClearItems(ControlId::sComboBox_port);
  form.SetText(ControlId::sComboBox_port, u"Поиск......");
  EXPECT_EQ(form.ReadText(ControlId::sComboBox_port), u"Поиск......");
  EXPECT_EQ(form.ItemCount(ControlId::sComboBox_port), 0);
  form.AddItem(ControlId::sComboBox_port, u"COM 3");
  EXPECT_EQ(form.SelectedIndex(ControlId::sComboBox_port), -1);
  form.SelectIndex(ControlId::sComboBox_port, 0);
  form.AddItem(ControlId::sComboBox_port, u"Найти устр-во");
  EXPECT_EQ(form.ReadText(ControlId::sComboBox_port), u"COM 3");
  form.SelectIndex(ControlId::sComboBox_port, -1);
  form.SetText(ControlId::sComboBox_port, u"       ");
  EXPECT_EQ(form.ReadText(ControlId::sComboBox_port), u"       ");
  form.ClearItems(ControlId::sComboBox_port);
  EXPECT_EQ(form.ReadText(ControlId::sComboBox_port), u"");
}

TEST(Window, BusyCursorCoversTheScreenUntilSetBack) {
  TForm1 form;
  form.SetScreenCursor(ScreenCursor::Busy);
  form.SetScreenCursor(ScreenCursor::Busy);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  form.SetScreenCursor(ScreenCursor::Normal);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(Window, ResponsiveDelayHandlesEventsUntilItsTimeIsUp) {
  TForm1 form;
  bool ranDuringWait = false;
  QTimer::singleShot(10, &form, [&] { ranDuringWait = true; });
  QElapsedTimer clock;
  clock.start();
  form.ResponsiveDelay(60);
  EXPECT_GE(clock.elapsed(), 60);
  EXPECT_TRUE(ranDuringWait);
}

TEST(Window, ABlockingStepRunsOffTheWindowThreadWhileTheWindowHandlesEvents) {
  TForm1 form;
  bool ranDuringStep = false;
  QTimer::singleShot(10, &form, [&] { ranDuringStep = true; });
  std::thread::id stepThread;
  form.RunBlocking([&] {
    stepThread = std::this_thread::get_id();
    std::this_thread::sleep_for(std::chrono::milliseconds(80));
  });
  EXPECT_NE(stepThread, std::this_thread::get_id());
  EXPECT_TRUE(ranDuringStep);
}

TEST(Window, AnErrorOfABlockingStepComesOutOnTheWindowThread) {
  TForm1 form;
  EXPECT_THROW(form.RunBlocking([] { throw ConvertError(u"'x' is not a valid integer value"); }), ConvertError);
}

// The user closes the window while a command waits: the wait ends, the window
// is hidden, later boxes show nothing, and once the command has unwound the
// window says so (start-up ends the program there).
TEST(Window, ClosedDuringADelayTheDelayEndsAtOnceAndNothingMoreIsShown) {
  BoxCatcher catcher;
  TForm1 form;
  form.show();
  QSignalSpy ended(&form, &TForm1::closedDuringCommand);
  QTimer::singleShot(20, &form, [&] { form.close(); });
  QElapsedTimer clock;
  clock.start();
  EXPECT_THROW(form.ResponsiveDelay(2000), WindowClosed);
  EXPECT_LT(clock.elapsed(), 1000);
  EXPECT_FALSE(form.isVisible());
  form.ShowMessageBox(u"Данные успешно записаны", u"Внимание!");
  form.ShowErrorBox(u"late");
  EXPECT_FALSE(form.ChooseOpenFile().has_value());
  EXPECT_THROW(form.ResponsiveDelay(10), WindowClosed);
  EXPECT_EQ(ended.count(), 0) << "not before the command has unwound";
  QTest::qWait(30);
  EXPECT_EQ(ended.count(), 1);
  EXPECT_TRUE(catcher.boxes.empty());
}

TEST(Window, ClosedDuringABlockingStepTheStepEndsFirst) {
  TForm1 form;
  form.show();
  QTimer::singleShot(20, &form, [&] { form.close(); });
  std::atomic<bool> stepDone{false};
  bool doneWhenThrown = false;
  try {
    form.RunBlocking([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(120));
      stepDone = true;
    });
  } catch (const WindowClosed&) {
    doneWhenThrown = stepDone;
  }
  EXPECT_TRUE(doneWhenThrown);
  // Once closed, a step (the port's close on the way out) still runs, then the call throws.
  bool ranAfterClose = false;
  EXPECT_THROW(form.RunBlocking([&] { ranAfterClose = true; }), WindowClosed);
  EXPECT_TRUE(ranAfterClose);
}

TEST(Window, ClosedWithNoCommandRunningTheWindowClosesAsUsual) {
  TForm1 form;
  form.show();
  QSignalSpy ended(&form, &TForm1::closedDuringCommand);
  EXPECT_TRUE(form.close());
  QTest::qWait(10);
  EXPECT_EQ(ended.count(), 0);
  form.ResponsiveDelay(1);  // no command was running: nothing is marked closed
}

}  // namespace
}  // namespace tacho
