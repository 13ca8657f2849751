// Whole commands from the user's click to the outcome box, against the device
// emulator on a pseudo-terminal linked as COM3 in a port folder of the test's own.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QSignalSpy>
#include <QTimer>
#include <memory>
#include <ostream>

#include "AppContext.h"
#include "BoxCatcher.h"
#include "CalibrationRecord.h"
#include "DeviceEmulator.h"
#include "GsmPresets.h"
#include "GsmRecord.h"
#include "Handlers.h"
#include "QtPrint.h"
#include "SerialPort.h"
#include "Session.h"
#include "Unit1.h"

namespace tacho {
namespace {

using test::BoxCatcher;

class Commands : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    emu::EmulatorOptions options;
    options.portFolder = folder_.path().toStdString();
    options.comNumber = 3;
    emulator_ = std::make_unique<emu::DeviceEmulator>(options);
    port_ = std::make_unique<SerialPort>(PortMap(options.portFolder, {}));
    form_ = std::make_unique<TForm1>();
    app_ = std::make_unique<AppContext>(AppContext{*form_, session_, *port_});
    ConnectHandlers(*form_, *app_);
    form_->ShowCentred();
    form_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
  }

  void Click(ControlId id) { QTest::mouseClick(form_->Button(id), Qt::LeftButton); }
  void Type(ControlId id, const QString& text) {
    auto* field = static_cast<QLineEdit*>(form_->Control(id));
    field->clear();
    QTest::keyClicks(field, text);
  }
  void ShowPage(int index) {
    QTabBar* bar = form_->Pages()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
  }
  void FindDeviceOnCom3(BoxCatcher& catcher) {
    Click(ControlId::Search_Button);
    ASSERT_EQ(catcher.Texts(), std::vector<QString>{"Устройство обнаружено"});
    catcher.boxes.clear();
  }

  QTemporaryDir folder_;
  std::unique_ptr<emu::DeviceEmulator> emulator_;
  Session session_;
  std::unique_ptr<SerialPort> port_;
  std::unique_ptr<TForm1> form_;
  std::unique_ptr<AppContext> app_;
};

TEST_F(Commands, SearchFindsTheDeviceWithTheBusyCursorAndTheListOffersItsPort) {
  BoxCatcher catcher;
  std::vector<Qt::CursorShape> duringSearch;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    if (catcher.boxes.empty() && QApplication::overrideCursor()) {
      duringSearch.push_back(QApplication::overrideCursor()->shape());
    }
  });
  probe.start(50);
  Click(ControlId::Search_Button);
  probe.stop();

  ASSERT_EQ(catcher.boxes.size(), 1u);
  EXPECT_EQ(catcher.boxes[0].text, "Устройство обнаружено");
  EXPECT_EQ(catcher.boxes[0].caption, "Внимание!");
  ASSERT_FALSE(duringSearch.empty());
  EXPECT_EQ(duringSearch.front(), Qt::WaitCursor);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(form_->ReadText(ControlId::sComboBox_port), u"COM 3");
  ASSERT_EQ(form_->ItemCount(ControlId::sComboBox_port), 2);
  EXPECT_EQ(form_->ItemText(ControlId::sComboBox_port, 1), u"Найти устр-во");
  EXPECT_EQ(session_.PortIndex, 2);
}

TEST_F(Commands, CalibrationWriteFromTypedEntriesReachesTheDeviceAndReportsSuccess) {
  BoxCatcher catcher;
  FindDeviceOnCom3(catcher);
  Type(ControlId::sEdit_VIN, "WDB9634031L123456");
  Type(ControlId::sEdit_VRN, "A123BC77");
  Type(ControlId::sEdit_W, "8000");
  Type(ControlId::sEdit_L, "3000");
  Type(ControlId::sEdit_typeSize, "315/80R22.5");
  Type(ControlId::sEdit_speed, "90");
  Type(ControlId::sEdit_odometer, "1234");
  Click(ControlId::Write_Kalibr_Button);

  ASSERT_EQ(catcher.boxes.size(), 1u);
  EXPECT_EQ(catcher.boxes[0].text, "Данные успешно записаны");
  EXPECT_EQ(catcher.boxes[0].caption, "Внимание!");
  const auto record = emulator_->LastCalibrationRecord();
  ASSERT_TRUE(record.has_value());
  const std::string vin(record->begin() + calib::kVin, record->begin() + calib::kVin + calib::kVinWidth);
  EXPECT_EQ(vin, "WDB9634031L123456");
}

TEST_F(Commands, CalibrationWriteWithEmptyEntriesShowsTheirMessagesAndSendsNothing) {
  BoxCatcher catcher;
  FindDeviceOnCom3(catcher);
  emulator_->ClearReceived();
  Click(ControlId::Write_Kalibr_Button);
  const std::vector<QString> expected = {"Введите VIN!", "Введите VRN!", "Введите W!", "Введите L!",
                                         "Введите обозначение размера шин!", "Введите разрешённую скорость!",
                                         "Введите показания счётчика пробега!"};
  EXPECT_EQ(catcher.Texts(), expected);
  for (const auto& box : catcher.boxes) EXPECT_EQ(box.caption, "Ошибка");
  EXPECT_TRUE(emulator_->ReceivedFrames().empty());
}

TEST_F(Commands, GsmReadFillsThePageAndDefaultsAreWrittenBack) {
  BoxCatcher catcher;
  FindDeviceOnCom3(catcher);
  ShowPage(1);
  ASSERT_TRUE(form_->IsButtonVisible(ControlId::Read_GSM_Button));

  Click(ControlId::Read_GSM_Button);
  EXPECT_TRUE(catcher.boxes.empty()) << catcher.boxes.front().text.toStdString();
  EXPECT_EQ(form_->ReadText(ControlId::Edit_IP).rfind(u"192.168.0.1", 0), 0u);
  EXPECT_EQ(form_->ReadText(ControlId::Edit_int_send), u"60");
  EXPECT_EQ(form_->ReadText(ControlId::Edit_int_save), u"60");

  Click(ControlId::Default_Button);
  EXPECT_EQ(form_->ReadText(ControlId::sComboBox3), u"МТС");
  Click(ControlId::Write_GSM_Button);
  ASSERT_EQ(catcher.boxes.size(), 1u);
  EXPECT_EQ(catcher.boxes[0].text, "Данные успешно записаны");
  const emu::GsmRecord record = emulator_->GetGsmRecord();
  EXPECT_EQ(std::string(record.begin() + gsm::kPort, record.begin() + gsm::kPort + gsm::kPortWidth), "21400");
  EXPECT_EQ(record[gsm::kSendInterval], 4);
  EXPECT_EQ(record[gsm::kSaveInterval], 1);
}

TEST_F(Commands, OnlyTheUsersPickOfAnOperatorFillsTheConnectionString) {
  ShowPage(1);
  form_->SetText(ControlId::Edit_operator, u"kept");
  form_->SelectIndex(ControlId::sComboBox3, 0);
  EXPECT_EQ(form_->ReadText(ControlId::Edit_operator), u"kept");

  form_->SelectIndex(ControlId::sComboBox3, -1);
  QTest::keyClick(form_->List(ControlId::sComboBox3), Qt::Key_Down);  // the user picks "МТС"
  EXPECT_EQ(form_->SelectedIndex(ControlId::sComboBox3), 0);
  EXPECT_EQ(form_->ReadText(ControlId::Edit_operator), kOperatorPresets[0]);
}

TEST_F(Commands, PickingThePortListsSearchItemSearchesAndAPortItemOnlySetsThePort) {
  BoxCatcher catcher;
  QComboBox* ports = form_->List(ControlId::sComboBox_port);
  QTest::keyClick(ports, Qt::Key_Down);  // "Найти устр-во", the only item
  EXPECT_EQ(catcher.Texts(), std::vector<QString>{"Устройство обнаружено"});
  EXPECT_EQ(session_.PortIndex, 2);

  session_.PortIndex = 0;
  emulator_->ClearReceived();
  form_->SelectIndex(ControlId::sComboBox_port, 1);
  QTest::keyClick(ports, Qt::Key_Up);  // the user picks "COM 3"
  EXPECT_EQ(session_.PortIndex, 2);
  EXPECT_TRUE(emulator_->ReceivedFrames().empty());
}

TEST_F(Commands, SettingsAreSavedThroughTheSaveDialogAndLoadedBack) {
  BoxCatcher catcher;
  const QString file = folder_.filePath(QStringLiteral("A123BC77"));
  QString proposed;
  catcher.answerDialog = [&](QFileDialog& dialog) {
    if (dialog.acceptMode() == QFileDialog::AcceptSave) {
      proposed = dialog.selectedFiles().value(0);
      dialog.selectFile(file);
    } else {
      dialog.selectFile(file + QStringLiteral(".txt"));
    }
    QMetaObject::invokeMethod(&dialog, "accept");
  };
  form_->SetText(ControlId::sEdit_VRN, u"A123BC77");
  form_->SetText(ControlId::Edit_port, u"21400");
  Click(ControlId::Save_File_Button);
  EXPECT_TRUE(proposed.endsWith(QStringLiteral("A123BC77"))) << proposed.toStdString();
  ASSERT_TRUE(QFile::exists(file + QStringLiteral(".txt")));

  form_->SetText(ControlId::Edit_port, u"1");
  form_->SetText(ControlId::sEdit_VRN, u"");
  Click(ControlId::Open_File_Button);
  EXPECT_EQ(catcher.dialogNames, (std::vector<QString>{"sSaveDialog1", "sOpenDialog1"}));
  EXPECT_TRUE(catcher.boxes.empty());
  EXPECT_EQ(form_->ReadText(ControlId::Edit_port), u"21400");
  EXPECT_EQ(form_->ReadText(ControlId::sEdit_VRN), u"A123BC77");

  catcher.answerDialog = [&](QFileDialog& dialog) {
    dialog.selectFile(folder_.filePath(QStringLiteral("missing.txt")));
    QMetaObject::invokeMethod(&dialog, "accept");
  };
  Click(ControlId::Open_File_Button);
  ASSERT_EQ(catcher.boxes.size(), 1u);
  EXPECT_EQ(catcher.boxes[0].text, "Файл не найден");
  EXPECT_EQ(catcher.boxes[0].caption, form_->ApplicationTitleText());
}

// The controls a running command owns, from the window description.
std::vector<ControlId> LockedControls() {
  std::vector<ControlId> ids;
  for (const ControlDesc& c : kControls) {
    if (c.lockedWhileBusy) ids.push_back(c.id);
  }
  return ids;
}

TEST_F(Commands, ARunningCommandOwnsTheLockedControlsAndTheWindowStillPaints) {
  BoxCatcher catcher;
  FindDeviceOnCom3(catcher);
  ShowPage(1);
  const std::vector<ControlId> locked = LockedControls();
  std::vector<ControlId> enabledDuringRead = locked;
  bool fieldEditable = false;
  bool busyCursor = false;
  int paints = 0;
  QTimer::singleShot(100, form_.get(), [&] {
    enabledDuringRead.clear();
    for (ControlId id : locked) {
      if (form_->Control(id)->isEnabled()) enabledDuringRead.push_back(id);
    }
    fieldEditable = form_->Control(ControlId::Edit_IP)->isEnabled();
    busyCursor = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    form_->repaint();
    ++paints;
  });
  Click(ControlId::Read_GSM_Button);
  EXPECT_EQ(paints, 1);
  EXPECT_TRUE(enabledDuringRead.empty());
  EXPECT_TRUE(fieldEditable);
  EXPECT_TRUE(busyCursor);
  for (ControlId id : locked) EXPECT_TRUE(form_->Control(id)->isEnabled()) << Describe(id).name;
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(catcher.boxes.empty());
}

// Closing the window while a command or the search waits: the command ends at
// that wait with its port closed, no box follows, and the window signals the
// end once the handler has unwound.
struct CloseCase {
  const char* name;
  ControlId button;
  int page;
};

// Test names and failures show the row by its name.
void PrintTo(const CloseCase& c, std::ostream* os) { *os << c.name; }

class CloseDuringACommand : public Commands, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseDuringACommand, LeavesNoBoxAndThePortClosed) {
  BoxCatcher catcher;
  if (GetParam().button != ControlId::Search_Button) FindDeviceOnCom3(catcher);
  ShowPage(GetParam().page);
  QSignalSpy ended(form_.get(), &TForm1::closedDuringCommand);
  emulator_->ClearReceived();
  // Inside the 400 ms probe wait of COM3, or the 200 ms reply wait.
  QTimer::singleShot(100, form_.get(), [&] { form_->close(); });
  Click(GetParam().button);
  EXPECT_FALSE(form_->isVisible());
  EXPECT_EQ(emulator_->ReceivedFrames().size(), 1u) << "the frame went out before the close";
  EXPECT_FALSE(port_->IsOpen());
  SerialPort other(PortMap(folder_.path().toStdString(), {}));
  EXPECT_TRUE(other.SetupPort(2)) << "the port is free again";
  QTest::qWait(600);  // a box would have come by now
  EXPECT_TRUE(catcher.boxes.empty()) << catcher.boxes.front().text.toStdString();
  EXPECT_EQ(ended.count(), 1);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_FALSE(session_.commandRunning);
}

INSTANTIATE_TEST_SUITE_P(Waits, CloseDuringACommand,
                         ::testing::Values(CloseCase{"SearchWait", ControlId::Search_Button, 0},
                                           CloseCase{"GsmReadWait", ControlId::Read_GSM_Button, 1}),
                         [](const ::testing::TestParamInfo<CloseCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tacho
