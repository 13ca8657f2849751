// The calibration write from click to outcome box, through the real serial code
// to the device emulator on a pseudo-terminal.
#include "CalibrationWrite.h"

#include <gtest/gtest.h>

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
  void SetUp() override {
    CalibrationPage::SetUp();
    session.PortIndex = kCom - 1;
  }
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

TEST_F(CalibrationWrite, EveryFailureEndsInTheRetryMessage) {
  struct Case {
    bool device;
    emu::Fault fault;
    std::vector<std::u16string> boxes;
  };
  const std::u16string retry = u"Произошла ошибка, повторите попытку.";
  const Case cases[] = {
      {false, emu::Fault::None, {u"Ошибка открытия порта", retry}},
      {true, emu::Fault::Silent, {retry}},
      {true, emu::Fault::Garbage, {retry}},
      {true, emu::Fault::BadFirstByte, {retry}},
      {true, emu::Fault::LateReply, {retry}},
  };
  for (const Case& c : cases) {
    form.boxes.clear();
    auto device = c.device ? Device(c.fault) : nullptr;
    Click();
    EXPECT_EQ(form.BoxTexts(), c.boxes) << emu::FaultName(c.fault);
  }
}

TEST_F(CalibrationWrite, RefusedEntriesSendNothing) {
  struct Case {
    ControlId control;
    const char16_t* text;
    FormModel::BoxKind kind;
  };
  const Case cases[] = {
      {ControlId::sEdit_VIN, u"", FormModel::BoxKind::Message},
      {ControlId::sEdit_VIN, u"XYZ123456789012345", FormModel::BoxKind::Message},  // 18 characters
      {ControlId::sDateEdit2, u"31.02.2025", FormModel::BoxKind::Message},
      {ControlId::sDateEdit2, u"  .  .    ", FormModel::BoxKind::Error},
      {ControlId::sEdit_odometer, u"12a", FormModel::BoxKind::Error},
  };
  auto device = Device();
  for (const Case& c : cases) {
    SetUp();
    form.boxes.clear();
    form.SetText(c.control, c.text);
    Click();
    ASSERT_EQ(form.boxes.size(), 1u) << ToUtf8(c.text);
    EXPECT_EQ(form.boxes[0].kind, c.kind) << ToUtf8(c.text);
    EXPECT_TRUE(form.delays.empty());
  }
  EXPECT_TRUE(device->ReceivedBytes().empty());
}

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
