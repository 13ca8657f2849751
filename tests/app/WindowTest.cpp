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
#include "FieldEdit.h"
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

QString Q(std::u16string_view text) { return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())); }

// The label bound to `field`: the one whose buddy it is.
const QLabel* BoundLabelOf(QWidget* field) {
  for (const QLabel* label : field->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
    if (label->buddy() == field) return label;
  }
  return nullptr;
}

void ExpectFont(const QFont& font, FontStyle style) {
  const FontStyle expected = style.pixelHeight > 0 ? style : kMainWindow.font;
  const QFontInfo info(font);
  EXPECT_TRUE(info.family() == "Tahoma" || info.family() == "DejaVu Sans") << info.family().toStdString();
  EXPECT_EQ(info.pixelSize(), expected.pixelHeight);
  EXPECT_EQ(font.bold(), expected.bold);
}

// The text a control shows of its own: a button's or a label's caption, a page's tab.
QString ShownCaption(TForm1& form, const ControlDesc& d, QWidget* w) {
  if (d.kind == ControlKind::Page) return form.Pages()->tabText(form.Pages()->indexOf(w));
  if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
  if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
  if (w == &form) return form.windowTitle();
  return {};
}

// Each widget is read back and compared with its control's description.
TEST(Window, RendersEveryControlAsTheDescriptionGivesIt) {
  TForm1 form;
  EXPECT_EQ(form.size(), QSize(kMainWindow.clientWidth, kMainWindow.clientHeight));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
  ExpectFont(form.font(), kMainWindow.font);
  EXPECT_EQ(form.ActivePage(), 0);

  for (const ControlDesc& d : kControls) {
    SCOPED_TRACE(std::string(d.name));
    QWidget* w = form.Control(d.id);
    EXPECT_EQ(form.findChild<QWidget*>(Name(d.id)) == w || w == &form, true) << "found by its name";
    EXPECT_EQ(ShownCaption(form, d, w), Q(d.caption));
    if (d.id == ControlId::Form1) continue;
    if (d.kind == ControlKind::Page) {
      EXPECT_EQ(form.Pages()->widget(d.tab), w);
      continue;
    }
    EXPECT_EQ(w->parentWidget(), form.Control(d.parent));
    EXPECT_EQ(w->isVisibleTo(w->parentWidget()), d.visibleAtStart);
    EXPECT_EQ(w->geometry(), QRect(d.rect.left, d.rect.top, d.rect.width, d.rect.height));
    ExpectFont(w->font(), d.font);
    EXPECT_EQ(w->toolTip(), Q(d.hint));

    if (auto* field = dynamic_cast<FieldEdit*>(w)) {
      EXPECT_EQ(field->Limits().maxLength, d.maxLength);
      EXPECT_EQ(field->Limits().digitsOnly, d.digitsOnly);
      EXPECT_EQ(field->text(), Q(d.defaultText));
      EXPECT_EQ(form.ReadText(d.id), d.defaultText);
    }
    if (d.kind == ControlKind::DateField) {
      EXPECT_EQ(static_cast<QLineEdit*>(w)->maxLength(), d.maxLength);
      ASSERT_EQ(d.defaultDate, StartDate::NextCalibrationDate);
      EXPECT_EQ(form.ReadText(d.id), DateText(DefaultNextCalibrationDate(TodayLocal())));
    }
    if (auto* list = qobject_cast<QComboBox*>(w)) {
      ASSERT_EQ(list->count(), static_cast<int>(d.items.size()));
      for (int i = 0; i < list->count(); ++i) EXPECT_EQ(list->itemText(i), Q(d.items[static_cast<std::size_t>(i)])) << i;
      EXPECT_EQ(list->currentIndex(), d.defaultIndex);
      EXPECT_EQ(form.ReadText(d.id), d.defaultIndex >= 0 ? d.items[static_cast<std::size_t>(d.defaultIndex)] : u"");
    }

    const QLabel* bound = BoundLabelOf(w);
    EXPECT_EQ(bound != nullptr, !d.label.text.empty());
    if (bound) {
      EXPECT_EQ(bound->text(), Q(d.label.text));
      ExpectFont(bound->font(), d.label.font);
      EXPECT_EQ(bound->geometry().right() + 1, w->x()) << "right-aligned against the field, no gap";
      EXPECT_TRUE(bound->alignment() & Qt::AlignRight);
    }
    // Screen readers find a field by its label: the label relation, and the name.
    if (bound || d.namedBy != ControlId::Form1) {
      QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(w);
      ASSERT_NE(accessible, nullptr);
      const QString name = bound ? bound->text() : Q(Describe(d.namedBy).caption);
      // A drop-down list reads out its item; its own name is given to it.
      EXPECT_EQ(qobject_cast<QComboBox*>(w) ? w->accessibleName() : accessible->text(QAccessible::Name), name);
      if (bound) {
        const auto labels = accessible->relations(QAccessible::Label);
        ASSERT_EQ(labels.size(), 1);
        EXPECT_EQ(labels[0].first->object(), bound);
      }
    }
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
      QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
      ASSERT_NE(accessible, nullptr);
      EXPECT_EQ(accessible->text(QAccessible::Name), Q(d.caption));
      EXPECT_EQ(button->focusPolicy() == Qt::NoFocus, d.kind == ControlKind::ToolButton);
    }
  }
}

// Qt's focus chain, from the first control of the description's chain, keeps
// the description's order (other widgets, such as labels, may stand between).
TEST(Window, FocusChainIsTheDescribedTabOrder) {
  TForm1 form;
  const std::vector<ControlId> described = FocusChain();
  std::vector<ControlId> found;
  QWidget* start = form.Control(described.front());
  QWidget* w = start;
  do {
    for (const ControlDesc& d : kControls) {
      if (d.id != ControlId::Form1 && form.Control(d.id) == w &&
          std::find(described.begin(), described.end(), d.id) != described.end()) {
        found.push_back(d.id);
      }
    }
    w = w->nextInFocusChain();
  } while (w != start && found.size() <= described.size());
  std::vector<std::string> expectedNames, foundNames;
  for (ControlId id : described) expectedNames.emplace_back(ControlName(id));
  for (ControlId id : found) foundNames.emplace_back(ControlName(id));
  EXPECT_EQ(foundNames, expectedNames);
}

// The tab key visits the shown controls of the chain in order, wrapping round;
// controls of the page not shown and hidden buttons are skipped.
TEST(Window, TabKeyFollowsTheFocusChainSkippingWhatIsNotShown) {
  TForm1 form;
  ShowActive(form);
  for (int page : {0, 1}) {
    SCOPED_TRACE(page);
    if (page == 1) ClickTab(form, 1);
    ASSERT_EQ(form.ActivePage(), page);
    std::vector<QString> expected;
    for (ControlId id : FocusChain()) {
      if (form.Control(id)->isVisible()) expected.push_back(Name(id));
    }
    ASSERT_GE(expected.size(), 10u);
    // From the first control shown, one round of the tab key comes back to it.
    form.findChild<QWidget*>(expected.front())->setFocus(Qt::TabFocusReason);
    std::rotate(expected.begin(), expected.begin() + 1, expected.end());
    std::vector<QString> seen;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QWidget* focused = QApplication::focusWidget();
      seen.push_back(focused == form.Pages()->tabBar() ? Name(ControlId::sPageControl1) : focused->objectName());
    }
    EXPECT_EQ(seen, expected);
  }
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
