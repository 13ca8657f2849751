// The calibration write from click to outcome box, through the real serial code
// to the device emulator on a pseudo-terminal.
#include "CalibrationWrite.h"

#include <gtest/gtest.h>

#include <optional>

#include "CalibrationFixture.h"
#include "CalibrationRecord.h"
#include "HandlerRunner.h"
#include "LinkFixture.h"

namespace tacho {
namespace {

using test::Bytes;

constexpr int kCom = 3;

class CalibrationWrite : public CalibrationPage {
 protected:
  CalibrationWrite() { session.PortIndex = kCom - 1; }
  std::unique_ptr<emu::DeviceEmulator> Device(emu::Fault fault = emu::Fault::None) {
    emu::EmulatorOptions o;
    o.portFolder = folder.path();
    o.comNumber = kCom;
    o.fault = fault;
    return std::make_unique<emu::DeviceEmulator>(o);
  }
  void Click() {
    RunHandler(form, [this] { Write_Kalibr_ButtonClick(app); });
  }

  test::TempFolder folder;
  Session session;
  SerialPort port{PortMap(folder.path(), {})};
  AppContext app{form, session, port};
};

// Header, record bytes 0..168, checksum, ten zeros, record bytes 169..183.
Bytes ExpectedFrame(const std::array<std::uint8_t, kPayloadSize>& record) {
  Bytes frame = {0x02, 0x49, 0xAA, 0x38, 0x00};
  frame.insert(frame.end(), record.begin(), record.begin() + 169);
  unsigned sum = 0;
  for (std::uint8_t b : frame) sum += b;
  frame.push_back(static_cast<std::uint8_t>(~sum & 0xFF));
  frame.insert(frame.end(), 10, 0x00);
  frame.insert(frame.end(), record.begin() + 169, record.end());
  return frame;
}

TEST_F(CalibrationWrite, WorkedRecordReachesTheDeviceByteForByte) {
  auto device = Device();
  Click();
  ASSERT_TRUE(device->WaitForFrames(1, std::chrono::seconds(2)));
  const auto frames = device->ReceivedFrames();
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].size(), 200u);
  EXPECT_EQ(frames[0], ExpectedFrame(session.PayloadArea));
  EXPECT_EQ(frames[0][5 + 163], 0xD1);  // the next calibration time, D1 7A 9C 54
  ASSERT_EQ(form.boxes.size(), 1u);
  EXPECT_EQ(form.boxes[0].text, u"Данные успешно записаны");
  EXPECT_EQ(form.boxes[0].caption, u"Внимание!");
  EXPECT_EQ(form.delays, std::vector<int>{200});
}

struct FailureCase {
  const char* name;
  std::optional<emu::Fault> device;  // nullopt: nothing behind the port
  std::vector<std::u16string> boxes;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class CalibrationWriteFailure : public CalibrationWrite, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(CalibrationWriteFailure, EndsInTheRetryMessage) {
  auto device = GetParam().device ? Device(*GetParam().device) : nullptr;
  Click();
  EXPECT_EQ(form.BoxTexts(), GetParam().boxes);
}

const std::u16string kRetry = u"Произошла ошибка, повторите попытку.";

const FailureCase kFailureCases[] = {
    {"PortDoesNotOpen", std::nullopt, {u"Ошибка открытия порта", kRetry}},
    {"Silent", emu::Fault::Silent, {kRetry}},
    {"Garbage", emu::Fault::Garbage, {kRetry}},
    {"BadFirstByte", emu::Fault::BadFirstByte, {kRetry}},
    {"LateReply", emu::Fault::LateReply, {kRetry}},
};

INSTANTIATE_TEST_SUITE_P(Cases, CalibrationWriteFailure, ::testing::ValuesIn(kFailureCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct RefusedCase {
  const char* name;
  ControlId control;
  std::u16string text;
  FormModel::BoxKind kind;
  std::optional<std::u16string> caption;
};

void PrintTo(const RefusedCase& c, std::ostream* os) { *os << c.name; }

class CalibrationWriteRefused : public CalibrationWrite, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(CalibrationWriteRefused, OpensNoPortAndSendsNothing) {
  auto device = Device();
  form.SetText(GetParam().control, GetParam().text);
  Click();
  ASSERT_EQ(form.boxes.size(), 1u);
  EXPECT_EQ(form.boxes[0].kind, GetParam().kind);
  if (GetParam().kind == FormModel::BoxKind::Message) {
    EXPECT_EQ(form.boxes[0].caption, GetParam().caption);
  }
  EXPECT_TRUE(form.delays.empty());
  EXPECT_TRUE(device->ReceivedBytes().empty());
}

using Kind = FormModel::BoxKind;

const RefusedCase kRefusedCases[] = {
    {"EmptyVin", ControlId::sEdit_VIN, u"", Kind::Message, std::nullopt},
    {"VinOf18Characters", ControlId::sEdit_VIN, u"XYZ123456789012345", Kind::Message, u"Внимание!"},
    {"VinWithAnEmoji", ControlId::sEdit_VIN, u"XYZ\U0001F600", Kind::Message, u"Внимание!"},
    {"WorkshopWithACjkCharacter", ControlId::sEdit_master_N, u"\u4E2D", Kind::Message, u"Внимание!"},
    {"NoSuchDate", ControlId::sDateEdit2, u"31.02.2025", Kind::Message, u"Внимание!"},
    {"UnfilledDate", ControlId::sDateEdit2, u"  .  .    ", Kind::Error, std::nullopt},
    {"OdometerWithALetter", ControlId::sEdit_odometer, u"12a", Kind::Message, u"Внимание!"},
    {"NegativeOdometer", ControlId::sEdit_odometer, u"-5", Kind::Message, u"Внимание!"},
    {"HexOdometer", ControlId::sEdit_odometer, u"$A", Kind::Message, u"Внимание!"},
};

INSTANTIATE_TEST_SUITE_P(Cases, CalibrationWriteRefused, ::testing::ValuesIn(kRefusedCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CalibrationWrite, ASecondClickDuringTheWaitIsRefused) {
  auto device = Device();
  form.onDelay = [this](int) { Click(); };
  Click();
  ASSERT_TRUE(device->WaitForFrames(1, std::chrono::seconds(2)));
  EXPECT_EQ(device->ReceivedFrames().size(), 1u);
  EXPECT_EQ(form.BoxTexts(), std::vector<std::u16string>{u"Данные успешно записаны"});
}

}  // namespace
}  // namespace tacho
