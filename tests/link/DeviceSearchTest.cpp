// The probe of one port, as the device search runs it, against emulators.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "DeviceSearch.h"
#include "LinkFixture.h"

namespace tacho {
namespace {

using emu::Fault;
using test::Bytes;
using test::LinkBench;

const Bytes kProbeWritten{0x02, 0x49, 0x00, 0xD1, 0x00, 0xE3, 0x00};

struct ProbeCase {
  const char* name;
  Fault fault;
  ProbeOutcome outcome;
};

// Test names and failures show the row by its name.
void PrintTo(const ProbeCase& c, std::ostream* os) { *os << c.name; }

class ProbeOfADevice : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(ProbeOfADevice, GivesItsOutcomeAndLeavesThePortClosed) {
  LinkBench b;
  auto device = b.Device(4, GetParam().fault);
  EXPECT_EQ(ProbePort(b.port, 3, b.form), GetParam().outcome);
  EXPECT_EQ(device->ReceivedBytes(), kProbeWritten);  // seven bytes, the seventh 0x00
  EXPECT_EQ(b.form.delays, std::vector<int>{kProbeWaitMs});
  // Open and close, open and configure, write, read, close: each off the window's thread.
  EXPECT_EQ(b.form.blockingSteps, 5);
  EXPECT_FALSE(b.port.IsOpen());
  EXPECT_TRUE(b.form.boxes.empty()) << "the link shows nothing";
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ProbeOfADevice,
    ::testing::Values(ProbeCase{"Answering", Fault::None, ProbeOutcome::Answered},
                      // 02 49 01: the first two bytes are all that is judged.
                      ProbeCase{"ShortReply", Fault::ShortReply, ProbeOutcome::Answered},
                      ProbeCase{"Silent", Fault::Silent, ProbeOutcome::Silent},
                      ProbeCase{"Garbage", Fault::Garbage, ProbeOutcome::Silent},
                      ProbeCase{"BadFirstByte", Fault::BadFirstByte, ProbeOutcome::Silent},
                      ProbeCase{"HangUp", Fault::HangUp, ProbeOutcome::Silent},
                      ProbeCase{"LateReply", Fault::LateReply, ProbeOutcome::Silent}),
    [](const ::testing::TestParamInfo<ProbeCase>& info) { return std::string(info.param.name); });

TEST(Probe, APortThatDoesNotOpenCostsNoWait) {
  LinkBench b;
  EXPECT_EQ(ProbePort(b.port, 0, b.form), ProbeOutcome::NotOpened);
  EXPECT_TRUE(b.form.delays.empty());
}

TEST(Probe, APortAnotherProgramHoldsIsNotOpened) {
  LinkBench b;
  auto device = b.Device(4);
  SerialPort holder = b.OtherPort();
  ASSERT_TRUE(holder.SetupPort(3));
  EXPECT_EQ(ProbePort(b.port, 3, b.form), ProbeOutcome::NotOpened);
  EXPECT_TRUE(device->ReceivedBytes().empty());
}

TEST(Probe, APortTakenBetweenTheTwoOpensIsAFailedReopenAndGetsNothing) {
  LinkBench b;
  auto device = b.Device(4);
  SerialPort holder = b.OtherPort();
  int opens = 0;
  // The second open of the probe finds the port taken by another program.
  b.port.beforeOpen = [&](int index) {
    if (++opens == 2) {
      ASSERT_TRUE(holder.SetupPort(index));
    }
  };
  EXPECT_EQ(ProbePort(b.port, 3, b.form), ProbeOutcome::ReopenFailed);
  EXPECT_TRUE(device->ReceivedBytes().empty());
  EXPECT_TRUE(b.form.delays.empty());
  EXPECT_FALSE(b.port.IsOpen());
}

TEST(Probe, TheWindowClosedDuringTheWaitEndsItWithThePortClosed) {
  LinkBench b;
  auto device = b.Device(2);
  b.form.onDelay = [&](int) { b.form.closed = true; };
  EXPECT_THROW(ProbePort(b.port, 1, b.form), WindowClosed);
  EXPECT_FALSE(b.port.IsOpen());
  SerialPort other = b.OtherPort();
  EXPECT_TRUE(other.SetupPort(1));
}

}  // namespace
}  // namespace tacho
