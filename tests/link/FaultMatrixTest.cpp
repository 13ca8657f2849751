// Every fault the emulated device can play, run through the whole commands
// (calibration write, GSM read, GSM write) on a window model and the real serial
// code: what the user sees, what reached the device, and what the GSM page keeps.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "AppContext.h"
#include "CalibrationWrite.h"
#include "GsmCommands.h"
#include "GsmRecord.h"
#include "LinkFixture.h"
#include "MoscowTime.h"
#include "WorkedCalibrationEntries.h"

namespace tacho {
namespace {

using emu::Fault;
using test::Bytes;

const std::u16string kSuccess = u"Данные успешно записаны";
const std::u16string kRetry = u"Произошла ошибка, повторите попытку.";

enum class Command { CalibrationWrite, GsmRead, GsmWrite };

struct Step {
  Command command;
  std::vector<std::u16string> boxes;  // shown by this command, in order
};

// What the GSM page holds after the commands.
enum class Page { Typed, FromDevice };

// The frames the device can receive, written out by hand.
enum class Frame { Calibration, GsmRead, GsmWriteTyped, GsmWriteFromDevice };

// The settings the device holds (test::FullGsmRecord()): each reads back as it
// is and is written back as the same record.
const GsmEntries kDeviceEntries{u"192.168.100.200", u"12345", u"internet.tachograph-service.mts.ru,workshop,secret",
                                u"120", u"60"};
// The page as the technician typed it: the worked GSM example.
const GsmEntries kTypedEntries{u"10.1.2.3", u"21400", u"\" \",\" \",\" \"", u"40", u"5"};

Bytes FrameBytes(Frame frame) {
  switch (frame) {
    case Frame::Calibration: return test::WorkedCalibrationFrame();
    case Frame::GsmRead: return test::kGsmReadFrame;
    case Frame::GsmWriteTyped: return test::WorkedGsmWriteFrame();
    case Frame::GsmWriteFromDevice: return test::FullGsmWriteFrame();
  }
  return {};
}

struct FaultCase {
  const char* name;
  Fault fault;
  std::vector<Step> steps;
  std::vector<Frame> received;  // the whole frames the device took, in order
  Page page;
  bool pacing = false;          // 9600-baud wire time both ways
  int gsmCutAfterByte = 40;
  // Bytes still on the line that the device never took. A pseudo-terminal
  // hands written bytes straight to the other side, so no flush takes them back.
  std::size_t neverTaken = 0;
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

const Step kCalibrationSucceeds{Command::CalibrationWrite, {kSuccess}};
const Step kCalibrationFails{Command::CalibrationWrite, {kRetry}};
const Step kReadFills{Command::GsmRead, {}};
const Step kReadFails{Command::GsmRead, {kRetry}};
const Step kGsmWriteSucceeds{Command::GsmWrite, {kSuccess}};
const Step kGsmWriteFails{Command::GsmWrite, {kRetry}};

const std::vector<Frame> kAllThreeTyped{Frame::Calibration, Frame::GsmRead, Frame::GsmWriteTyped};
const std::vector<Frame> kAllThreeFromDevice{Frame::Calibration, Frame::GsmRead, Frame::GsmWriteFromDevice};

const FaultCase kCases[] = {
    {"None", Fault::None, {kCalibrationSucceeds, kReadFills, kGsmWriteSucceeds}, kAllThreeFromDevice,
     Page::FromDevice},
    {"Silent", Fault::Silent, {kCalibrationFails, kReadFails, kGsmWriteFails}, kAllThreeTyped, Page::Typed},
    {"Garbage", Fault::Garbage, {kCalibrationFails, kReadFails, kGsmWriteFails}, kAllThreeTyped, Page::Typed},
    // Half a reply: three bytes of an acknowledgement, 55 of the settings.
    {"ShortReply", Fault::ShortReply, {kCalibrationFails, kReadFails, kGsmWriteFails}, kAllThreeTyped, Page::Typed},
    {"LateReply", Fault::LateReply, {kCalibrationFails}, {Frame::Calibration}, Page::Typed},
    // Byte 1 is still 0x49: the settings reply passes its test and fills the page.
    {"BadFirstByte", Fault::BadFirstByte, {kCalibrationFails, kReadFills, kGsmWriteFails}, kAllThreeFromDevice,
     Page::FromDevice},
    {"HangUpMidFrame", Fault::HangUp, {kCalibrationFails, kReadFails, kGsmWriteFails}, {}, Page::Typed},
    // The acknowledgement's bursts are all in before the read; the settings' are not.
    {"BurstsCalibrationWrite", Fault::Bursts, {kCalibrationSucceeds}, {Frame::Calibration}, Page::Typed},
    {"BurstsGsmRead", Fault::Bursts, {kReadFails}, {Frame::GsmRead}, Page::Typed},
    {"JunkBeforeTheReply", Fault::JunkFirst, {kCalibrationFails, kReadFails, kGsmWriteFails}, kAllThreeTyped,
     Page::Typed},
    // The write's acknowledgement lands in the read, the read's settings in the next write.
    {"LateReplyLandsInTheNextCommand", Fault::LateIntoNext, {kCalibrationFails, kReadFails, kGsmWriteFails},
     kAllThreeTyped, Page::Typed},
    {"GsmReplyCutAfterByte40", Fault::CutGsm, {kReadFails}, {Frame::GsmRead}, Page::Typed, false, 40},
    {"GsmReplyCutAfterByte75", Fault::CutGsm, {kReadFails}, {Frame::GsmRead}, Page::Typed, false, 75},
    {"GsmReplyCutAfterByte76", Fault::CutGsm, {kReadFills}, {Frame::GsmRead}, Page::FromDevice, false, 76},
    // 250 ms of thought after the last byte at 9600 baud: the reply comes only
    // because the wait starts once the frame has left.
    {"ThinkTimeAt9600Baud", Fault::Slow, {kCalibrationSucceeds, kReadFills, kGsmWriteSucceeds}, kAllThreeFromDevice,
     Page::FromDevice, true},
    // Every command ends at its time-outs; nothing waits on the device.
    {"StopsTakingBytes", Fault::StopsReading, {kCalibrationFails, kReadFails, kGsmWriteFails}, {}, Page::Typed,
     false, 40, 200 + 6 + 110},
    {"HangUpMidReply", Fault::HangUpMidReply, {kCalibrationFails, kReadFails}, {Frame::Calibration, Frame::GsmRead},
     Page::Typed},
};

class FaultMatrix : public MoscowTime, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(FaultMatrix, TheUserSeesTheOutcomeNothingWrongIsSentAndNoEntryIsLost) {
  const FaultCase& c = GetParam();
  test::LinkBench b;
  AppContext app{b.form, b.session, b.port};
  emu::EmulatorOptions options;
  options.portFolder = b.folder.path();
  options.comNumber = 4;
  options.fault = c.fault;
  options.realisticPacing = c.pacing;
  options.gsmCutAfterByte = c.gsmCutAfterByte;
  emu::DeviceEmulator device(options);
  const Bytes held = test::FullGsmRecord();
  emu::GsmRecord record;
  std::copy(held.begin(), held.end(), record.begin());
  device.SetGsmRecord(record);

  b.session.PortIndex = 3;
  test::TypeWorkedCalibrationEntries(b.form);
  PutGsmEntries(b.form, kTypedEntries);
  for (const Step& step : c.steps) {
    b.form.boxes.clear();
    switch (step.command) {
      case Command::CalibrationWrite: Write_Kalibr_ButtonClick(app); break;
      case Command::GsmRead: Read_GSM_ButtonClick(app); break;
      case Command::GsmWrite: Write_GSM_ButtonClick(app); break;
    }
    EXPECT_EQ(b.form.BoxTexts(), step.boxes) << "step " << (&step - c.steps.data());
    for (const auto& box : b.form.boxes) EXPECT_EQ(box.caption, std::u16string(u"Внимание!"));
    EXPECT_FALSE(b.port.IsOpen());
  }

  EXPECT_EQ(ReadGsmEntries(b.form), c.page == Page::Typed ? kTypedEntries : kDeviceEntries);
  // What the device took: whole frames only, each exactly as written out.
  std::vector<Bytes> expected;
  for (Frame f : c.received) expected.push_back(FrameBytes(f));
  device.WaitForFrames(expected.size(), std::chrono::seconds(5));
  EXPECT_EQ(device.ReceivedFrames(), expected);
  EXPECT_EQ(device.PendingFromTool(), c.neverTaken);
}

INSTANTIATE_TEST_SUITE_P(EveryFault, FaultMatrix, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

TEST(FaultMatrixRows, EveryFaultOfTheEmulatorHasARow) {
  for (Fault f : emu::kAllFaults) {
    bool found = false;
    for (const FaultCase& c : kCases) found = found || c.fault == f;
    EXPECT_TRUE(found) << emu::FaultName(f);
  }
}

}  // namespace
}  // namespace tacho
