// The device search over COM1..COM42 as the window shows it, and the port list,
// against emulators.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "CommandBench.h"
#include "PortChoice.h"

namespace tacho {
namespace {

using emu::Fault;
using test::Bytes;
using LinkBench = test::CommandBench;
using test::Enabled;
using test::LockedControls;

constexpr ControlId kList = ControlId::sComboBox_port;
const std::u16string kSearchItem = u"Найти устр-во";
const std::u16string kFound = u"Устройство обнаружено";
const std::u16string kNotFound = u"Устройство не найдено";
const Bytes kProbeWritten{0x02, 0x49, 0x00, 0xD1, 0x00, 0xE3, 0x00};

std::vector<std::u16string> Items(const FormModel& form) {
  std::vector<std::u16string> items;
  for (int i = 0; i < form.ItemCount(kList); ++i) items.push_back(form.ItemText(kList, i));
  return items;
}

void ExpectFound(const LinkBench& b, const std::u16string& item, int portIndex) {
  EXPECT_EQ(Items(b.form), (std::vector<std::u16string>{item, kSearchItem}));
  EXPECT_EQ(b.form.SelectedIndex(kList), 0);
  EXPECT_EQ(b.form.ReadText(kList), item);
  EXPECT_EQ(b.session.PortIndex, portIndex);
  ASSERT_EQ(b.form.boxes.size(), 1u);
  EXPECT_EQ(b.form.boxes[0].text, kFound);
  EXPECT_EQ(b.form.boxes[0].caption, std::u16string(u"Внимание!"));
}

void ExpectNotFound(const LinkBench& b, int portIndex) {
  EXPECT_EQ(Items(b.form), std::vector<std::u16string>{kSearchItem});
  EXPECT_EQ(b.form.SelectedIndex(kList), -1);
  EXPECT_EQ(b.form.ReadText(kList), u"       ");
  EXPECT_EQ(b.session.PortIndex, portIndex);
  EXPECT_EQ(b.form.BoxTexts(), std::vector<std::u16string>{kNotFound});
  EXPECT_EQ(b.form.boxes[0].caption, std::u16string(u"Внимание!"));
}

TEST(DeviceSearch, FindsTheDeviceOnComThree) {
  LinkBench b;
  auto device = b.Device(3);
  std::u16string shownDuringWait;
  b.form.onDelay = [&](int) { shownDuringWait = b.form.ReadText(kList); };
  Search_ButtonClick(b.app);
  ExpectFound(b, u"COM 3", 2);
  EXPECT_EQ(shownDuringWait, u"Поиск......");
  EXPECT_EQ(b.form.cursorHistory, (std::vector<ScreenCursor>{ScreenCursor::Busy, ScreenCursor::Normal}));
  EXPECT_EQ(b.form.delays, std::vector<int>{400});
  EXPECT_EQ(device->ReceivedBytes(), kProbeWritten);  // seven bytes, the seventh 0x00
  EXPECT_FALSE(b.port.IsOpen());
}

TEST(DeviceSearch, FindsTheDeviceOnComTwelveWithASixCharacterItem) {
  LinkBench b;
  auto device = b.Device(12);
  Search_ButtonClick(b.app);
  ExpectFound(b, u"COM 12", 11);
}

TEST(DeviceSearch, StopsAtTheFirstOfTwoDevices) {
  LinkBench b;
  auto second = b.Device(2);
  auto fifth = b.Device(5);
  Search_ButtonClick(b.app);
  ExpectFound(b, u"COM 2", 1);
  EXPECT_TRUE(fifth->ReceivedBytes().empty());
}

TEST(DeviceSearch, NoDeviceLeavesThePortIndexAndShowsSevenBlanks) {
  LinkBench b;
  b.session.PortIndex = 6;
  b.form.AddItem(kList, u"COM 7");
  Search_ButtonClick(b.app);
  ExpectNotFound(b, 6);
  EXPECT_TRUE(b.form.delays.empty());  // no port opened, no wait
  EXPECT_EQ(b.form.cursor, ScreenCursor::Normal);
}

TEST(DeviceSearch, ABusyPortIsPassedOverSilently) {
  LinkBench b;
  auto device = b.Device(4);
  SerialPort holder = b.OtherPort();
  ASSERT_TRUE(holder.SetupPort(3));
  Search_ButtonClick(b.app);
  ExpectNotFound(b, 0);
  EXPECT_TRUE(device->ReceivedBytes().empty());
}

TEST(DeviceSearch, ASecondSearchFollowsTheDeviceToAnotherPort) {
  LinkBench b;
  auto device = b.Device(3);
  Search_ButtonClick(b.app);
  ExpectFound(b, u"COM 3", 2);
  device.reset();
  device = b.Device(7);
  b.form.boxes.clear();
  Search_ButtonClick(b.app);
  ExpectFound(b, u"COM 7", 6);
}

TEST(DeviceSearch, TheSeventhProbeByteIsZeroAfterAnEarlierReply) {
  LinkBench b;
  auto noisy = b.Device(1, Fault::Garbage);  // its nine reply bytes fill the probe buffer
  auto device = b.Device(2);
  Search_ButtonClick(b.app);
  ExpectFound(b, u"COM 2", 1);
  EXPECT_EQ(noisy->ReceivedBytes(), kProbeWritten);
  EXPECT_EQ(device->ReceivedBytes(), kProbeWritten);
}

struct FaultCase {
  const char* name;
  Fault fault;
  bool found;
};

// Test names and failures show the row by its name.
void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class SearchOfAFaultyDevice : public ::testing::TestWithParam<FaultCase> {};

TEST_P(SearchOfAFaultyDevice, GivesTheSearchItsOutcome) {
  LinkBench b;
  auto device = b.Device(1, GetParam().fault);
  b.session.PortIndex = 9;
  Search_ButtonClick(b.app);
  if (GetParam().found) {
    ExpectFound(b, u"COM 1", 0);
  } else {
    ExpectNotFound(b, 9);
  }
}

INSTANTIATE_TEST_SUITE_P(Faults, SearchOfAFaultyDevice,
                         ::testing::Values(FaultCase{"Silent", Fault::Silent, false},
                                           FaultCase{"Garbage", Fault::Garbage, false},
                                           // 02 49 01: the first two bytes are all that is judged.
                                           FaultCase{"ShortReply", Fault::ShortReply, true},
                                           FaultCase{"BadFirstByte", Fault::BadFirstByte, false},
                                           FaultCase{"HangUp", Fault::HangUp, false},
                                           FaultCase{"LateReply", Fault::LateReply, false}),
                         [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

TEST(PortList, PickingAPortItemSetsThePortIndexAndTouchesNoPort) {
  LinkBench b;
  auto device = b.Device(7);
  Search_ButtonClick(b.app);
  ExpectFound(b, u"COM 7", 6);
  b.session.PortIndex = 0;
  device->ClearReceived();
  b.form.delays.clear();
  b.form.SelectIndex(kList, 0);
  sComboBox_portChange(b.app);
  EXPECT_EQ(b.session.PortIndex, 6);
  EXPECT_TRUE(device->ReceivedBytes().empty());
  EXPECT_TRUE(b.form.delays.empty());
}

TEST(PortList, PickingTheSearchItemStartsASearch) {
  LinkBench b;
  auto device = b.Device(3);
  b.form.SelectIndex(kList, 0);  // "Найти устр-во", the only item at start
  sComboBox_portChange(b.app);
  ExpectFound(b, u"COM 3", 2);
}

TEST(PortList, ItemTextIsEmptyForNoItem) {
  FormModel form;
  EXPECT_EQ(ItemText(form, kList, 0), kSearchItem);
  EXPECT_EQ(ItemText(form, kList, -1), u"");
  EXPECT_EQ(ItemText(form, kList, 1), u"");
}

TEST(PortList, NoSelectionAndTheSearchItemLeaveThePortIndex) {
  LinkBench b;
  b.session.PortIndex = 4;
  b.form.AddItem(kList, u"COM 12");
  b.form.SetText(kList, u"       ");  // nothing selected
  sComboBox_portChange(b.app);
  EXPECT_EQ(b.session.PortIndex, 4);
  EXPECT_TRUE(b.form.boxes.empty());
  b.form.SelectIndex(kList, 1);
  sComboBox_portChange(b.app);
  EXPECT_EQ(b.session.PortIndex, 11);
}

TEST(DeviceSearch, AClickDuringTheProbeWaitIsRefusedQuietly) {
  LinkBench b;
  auto device = b.Device(2);
  b.form.onDelay = [&](int) {
    Search_ButtonClick(b.app);
    sComboBox_portChange(b.app);
  };
  Search_ButtonClick(b.app);
  ExpectFound(b, u"COM 2", 1);
  EXPECT_EQ(b.form.delays, std::vector<int>{400});
  EXPECT_EQ(device->ReceivedBytes(), kProbeWritten);
}

TEST(DeviceSearch, OwnsTheLockedControlsDuringItsWaitAndGivesThemBack) {
  LinkBench b;
  auto device = b.Device(2);
  const std::vector<ControlId> locked = LockedControls();
  ASSERT_EQ(Enabled(b.form, locked), locked);
  std::vector<ControlId> enabledDuringWait = locked;
  bool fieldEditable = false;
  b.form.onDelay = [&](int) {
    enabledDuringWait = Enabled(b.form, locked);
    fieldEditable = b.form.IsEnabled(ControlId::sEdit_VIN);
  };
  Search_ButtonClick(b.app);
  EXPECT_TRUE(enabledDuringWait.empty());
  EXPECT_TRUE(fieldEditable);
  EXPECT_EQ(Enabled(b.form, locked), locked);
}

TEST(DeviceSearch, APortTakenBetweenItsTwoOpensShowsTheOpenErrorAndTheSearchGoesOn) {
  LinkBench b;
  auto taken = b.Device(1);
  auto device = b.Device(2);
  SerialPort holder = b.OtherPort();
  b.port.beforeOpen = [&](int index) {
    if (index == 0 && !holder.IsOpen() && b.form.blockingSteps == 2) {
      ASSERT_TRUE(holder.SetupPort(0));
    }
  };
  Search_ButtonClick(b.app);
  EXPECT_EQ(b.form.BoxTexts(), (std::vector<std::u16string>{u"Ошибка открытия порта", kFound}));
  EXPECT_EQ(b.form.boxes[0].caption, std::u16string(u"Внимание!"));
  EXPECT_TRUE(taken->ReceivedBytes().empty());
  EXPECT_EQ(b.session.PortIndex, 1);
  // Busy while the ports are probed, normal for each box.
  using enum ScreenCursor;
  EXPECT_EQ(b.form.cursorHistory, (std::vector<ScreenCursor>{Busy, Normal, Busy, Normal}));
}

TEST(DeviceSearch, TheWindowClosedDuringTheWaitEndsTheSearchWithoutABox) {
  LinkBench b;
  auto device = b.Device(2);
  b.form.onDelay = [&](int) { b.form.closed = true; };
  EXPECT_THROW(Search_ButtonClick(b.app), WindowClosed);
  EXPECT_TRUE(b.form.boxes.empty());
  EXPECT_FALSE(b.session.commandRunning);
  EXPECT_EQ(b.form.cursor, ScreenCursor::Normal);
  EXPECT_EQ(Enabled(b.form, LockedControls()), LockedControls());
  SerialPort other = b.OtherPort();
  EXPECT_TRUE(other.SetupPort(1)) << "the port is closed";
}

}  // namespace
}  // namespace tacho
