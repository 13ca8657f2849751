// The device exchange of the three record commands, against the emulator.
#include <gtest/gtest.h>

#include "AppError.h"
#include "DeviceSearch.h"
#include "Exchange.h"
#include "Frames.h"
#include "LinkFixture.h"

namespace tacho {
namespace {

using test::Bytes;
using test::Cat;
using test::LinkBench;
using test::Repeat;
using test::WorkedGsmRecord;

const std::u16string kSuccess = u"Данные успешно записаны";
const std::u16string kFailure = u"Произошла ошибка, повторите попытку.";
const std::u16string kOpenError = u"Ошибка открытия порта";

// The handlers take the command scope, as the record commands do.
void CalibrationWrite(LinkBench& b) {
  CommandScope scope(b.session);
  if (!scope) return;
  RunDeviceExchange(b.app, {"write", kWriteFrameLength, kWriteReplyLength, nullptr, false,
                            [&](std::size_t arrived) { ShowWriteResult(b.session, b.form, arrived); }});
}

void GsmRead(LinkBench& b) {
  CommandScope scope(b.session);
  if (!scope) return;
  RunDeviceExchange(b.app, {"GSM_read", kGsmReadFrameLength, kGsmReadReplyLength, nullptr, false, nullptr});
}

void GsmWrite(LinkBench& b, const Bytes& record) {
  CommandScope scope(b.session);
  if (!scope) return;
  RunDeviceExchange(b.app, {"GSM_write", kGsmWriteFrameLength, kWriteReplyLength,
                            [&] {
                              b.session.PayloadArea.fill(0xFF);
                              std::copy(record.begin(), record.end(), b.session.PayloadArea.begin());
                            },
                            true, [&](std::size_t arrived) { ShowWriteResult(b.session, b.form, arrived); }});
}

// A calibration record made by hand, every byte different from its neighbours.
Bytes HandMadeRecord() {
  Bytes r(184);
  for (std::size_t i = 0; i < r.size(); ++i) r[i] = static_cast<std::uint8_t>(0xFF - i);
  return r;
}

TEST(DeviceExchange, CalibrationWriteSendsTheTwoHundredBytesAndReportsSuccess) {
  LinkBench b;
  b.session.PortIndex = 2;
  auto device = b.Device(3);
  const Bytes record = HandMadeRecord();
  std::copy(record.begin(), record.end(), b.session.PayloadArea.begin());
  CalibrationWrite(b);

  const Bytes head = Cat({{0x02, 0x49, 0xAA, 0x38, 0x00}, Bytes(record.begin(), record.begin() + 169)});
  const Bytes frame = Cat({head, {Checksum(head.data(), head.size())}, Repeat(0, 10), Bytes(record.begin() + 169, record.end())});
  ASSERT_EQ(device->ReceivedFrames().size(), 1u);
  EXPECT_EQ(device->ReceivedFrames()[0], frame);
  EXPECT_EQ(device->ReceivedBytes().size(), 200u);
  const auto kept = device->LastCalibrationRecord();
  ASSERT_TRUE(kept.has_value());
  EXPECT_EQ(Bytes(kept->begin(), kept->end()), record);
  EXPECT_EQ(b.form.BoxTexts(), std::vector<std::u16string>{kSuccess});
  EXPECT_EQ(b.form.delays, std::vector<int>{200});
  EXPECT_FALSE(b.port.IsOpen());
  SerialPort other = b.OtherPort();
  EXPECT_TRUE(other.SetupPort(2, b.form)) << "no port stays open after a command";
}

TEST(DeviceExchange, GsmReadSendsSixBytesAndGetsTheRecordFromReplyByteFive) {
  LinkBench b;
  b.session.PortIndex = 11;
  auto device = b.Device(12);
  const Bytes record = WorkedGsmRecord();
  emu::GsmRecord held;
  std::copy(record.begin(), record.end(), held.begin());
  device->SetGsmRecord(held);
  GsmRead(b);
  EXPECT_EQ(device->ReceivedBytes(), (Bytes{0x02, 0x49, 0x00, 0xB9, 0x00, 0xFB}));
  const auto& f = b.session.FrameBuffer;
  EXPECT_EQ(Bytes(f.begin(), f.begin() + 5), (Bytes{0x02, 0x49, 0x68, 0xB9, 0x00}));
  EXPECT_EQ(Bytes(f.begin() + 5, f.begin() + 109), record);
  EXPECT_TRUE(std::all_of(f.begin() + 120, f.end(), [](std::uint8_t x) { return x == 0; }));
}

TEST(DeviceExchange, GsmWriteSendsTheWorkedFrameWaitsTwiceAndTheDeviceKeepsIt) {
  LinkBench b;
  auto device = b.Device(1);
  const Bytes record = WorkedGsmRecord();
  GsmWrite(b, record);
  EXPECT_EQ(device->ReceivedFrames(),
            (std::vector<Bytes>{Cat({{0x02, 0x49, 0x68, 0x39, 0x00}, record, {0x92}})}));
  EXPECT_EQ(b.form.BoxTexts(), std::vector<std::u16string>{kSuccess});
  EXPECT_EQ(b.form.delays, (std::vector<int>{200, 200}));
  const auto kept = device->GetGsmRecord();
  EXPECT_EQ(Bytes(kept.begin(), kept.end()), record);

  GsmRead(b);
  EXPECT_EQ(Bytes(b.session.FrameBuffer.begin() + 5, b.session.FrameBuffer.begin() + 109), record);
}

TEST(DeviceExchange, WithThePortUnavailableTheUserSeesTwoBoxes) {
  LinkBench b;
  b.session.PortIndex = 6;  // nothing linked as COM7
  CalibrationWrite(b);
  EXPECT_EQ(b.form.BoxTexts(), (std::vector<std::u16string>{kOpenError, kFailure}));
  EXPECT_EQ(b.form.boxes[0].caption, std::u16string(u"Внимание!"));
  EXPECT_EQ(b.form.boxes[1].caption, std::u16string(u"Внимание!"));
}

TEST(DeviceExchange, AnErrorBeforeTheFrameStillClosesThePort) {
  LinkBench b;
  auto device = b.Device(1);
  CommandScope scope(b.session);
  EXPECT_THROW(RunDeviceExchange(b.app, {"GSM_write", 110, 7, [] { throw ConvertError(u"'x' is not a valid integer value"); },
                                         true, nullptr}),
               ConvertError);
  EXPECT_FALSE(b.port.IsOpen());
  EXPECT_TRUE(device->ReceivedBytes().empty());
  SerialPort other = b.OtherPort();
  EXPECT_TRUE(other.SetupPort(0, b.form));
}

TEST(DeviceExchange, ClicksDuringTheWaitAreRefusedQuietly) {
  LinkBench b;
  auto device = b.Device(1);
  b.form.SelectIndex(ControlId::sComboBox_port, 0);  // the search item
  int clicks = 0;
  b.form.onDelay = [&](int) {
    if (clicks++ > 0) return;
    CalibrationWrite(b);          // a second write
    GsmRead(b);                   // another command
    Search_ButtonClick(b.app);    // a search
    sComboBox_portChange(b.app);  // picking the search item
  };
  CalibrationWrite(b);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(b.form.BoxTexts(), std::vector<std::u16string>{kSuccess});
  EXPECT_EQ(device->ReceivedFrames().size(), 1u);
  EXPECT_EQ(b.form.ItemCount(ControlId::sComboBox_port), 1);
  EXPECT_EQ(b.session.PortIndex, 0);
  EXPECT_FALSE(b.session.commandRunning);
}

}  // namespace
}  // namespace tacho
