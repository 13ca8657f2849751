// The device exchange of the three record commands, against the emulator.
#include <gtest/gtest.h>

#include "AppError.h"
#include "Exchange.h"
#include "Frames.h"
#include "LinkFixture.h"

namespace tacho {
namespace {

using emu::Fault;
using test::Bytes;
using test::Cat;
using test::LinkBench;
using test::Repeat;
using test::WorkedGsmRecord;

// What the hooks saw: whether the open failed, and each judgement of a write reply.
struct Seen {
  int portNotOpened = 0;
  std::vector<bool> writeReplies;
};

ExchangePlan WritePlan(LinkBench& b, Seen& seen) {
  return {.word = "write",
          .writeCount = kWriteFrameLength,
          .readCount = kWriteReplyLength,
          .portNotOpened = [&seen] { ++seen.portNotOpened; },
          .judge = [&b, &seen](std::size_t arrived) { seen.writeReplies.push_back(WriteAcknowledged(b.session, arrived)); }};
}

void CalibrationWrite(LinkBench& b, Seen& seen) { RunDeviceExchange(b.form, b.session, b.port, WritePlan(b, seen)); }

void GsmRead(LinkBench& b) {
  RunDeviceExchange(b.form, b.session, b.port,
                    {.word = "GSM_read", .writeCount = kGsmReadFrameLength, .readCount = kGsmReadReplyLength});
}

void GsmWrite(LinkBench& b, const Bytes& record, Seen& seen) {
  RunDeviceExchange(b.form, b.session, b.port,
                    {.word = "GSM_write",
                     .writeCount = kGsmWriteFrameLength,
                     .readCount = kWriteReplyLength,
                     .beforeFrame =
                         [&] {
                           b.session.PayloadArea.fill(0xFF);
                           std::copy(record.begin(), record.end(), b.session.PayloadArea.begin());
                         },
                     .secondWait = true,
                     .judge = [&](std::size_t arrived) { seen.writeReplies.push_back(WriteAcknowledged(b.session, arrived)); }});
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
  Seen seen;
  CalibrationWrite(b, seen);

  const Bytes head = Cat({{0x02, 0x49, 0xAA, 0x38, 0x00}, Bytes(record.begin(), record.begin() + 169)});
  const Bytes frame = Cat({head, {Checksum(head.data(), head.size())}, Repeat(0, 10), Bytes(record.begin() + 169, record.end())});
  ASSERT_EQ(device->ReceivedFrames().size(), 1u);
  EXPECT_EQ(device->ReceivedFrames()[0], frame);
  EXPECT_EQ(device->ReceivedBytes().size(), 200u);
  const auto kept = device->LastCalibrationRecord();
  ASSERT_TRUE(kept.has_value());
  EXPECT_EQ(Bytes(kept->begin(), kept->end()), record);
  EXPECT_EQ(seen.writeReplies, std::vector<bool>{true});
  EXPECT_EQ(seen.portNotOpened, 0);
  EXPECT_EQ(b.form.delays, std::vector<int>{200});
  // Open and configure, write, read, close: each off the window's thread.
  EXPECT_EQ(b.form.blockingSteps, 4);
  EXPECT_TRUE(b.form.boxes.empty()) << "the link shows nothing";
  EXPECT_FALSE(b.port.IsOpen());
  SerialPort other = b.OtherPort();
  EXPECT_TRUE(other.SetupPort(2)) << "no port stays open after a command";
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
  Seen seen;
  GsmWrite(b, record, seen);
  EXPECT_EQ(device->ReceivedFrames(),
            (std::vector<Bytes>{Cat({{0x02, 0x49, 0x68, 0x39, 0x00}, record, {0x92}})}));
  EXPECT_EQ(seen.writeReplies, std::vector<bool>{true});
  EXPECT_EQ(b.form.delays, (std::vector<int>{200, 200}));
  const auto kept = device->GetGsmRecord();
  EXPECT_EQ(Bytes(kept.begin(), kept.end()), record);

  GsmRead(b);
  EXPECT_EQ(Bytes(b.session.FrameBuffer.begin() + 5, b.session.FrameBuffer.begin() + 109), record);
}

TEST(DeviceExchange, WithThePortUnavailableTheExchangeReportsItAndGoesOnWithAnEmptyReply) {
  LinkBench b;
  b.session.PortIndex = 6;  // nothing linked as COM7
  b.session.FrameBuffer.fill(0x02);  // an earlier reply
  Seen seen;
  CalibrationWrite(b, seen);
  EXPECT_EQ(seen.portNotOpened, 1);
  EXPECT_EQ(seen.writeReplies, std::vector<bool>{false});
  EXPECT_EQ(b.form.delays, std::vector<int>{200});
  EXPECT_TRUE(b.form.boxes.empty()) << "the link shows nothing";
}

TEST(DeviceExchange, AnErrorBeforeTheFrameStillClosesThePort) {
  LinkBench b;
  auto device = b.Device(1);
  EXPECT_THROW(RunDeviceExchange(b.form, b.session, b.port,
                                 {.word = "GSM_write",
                                  .writeCount = 110,
                                  .readCount = 7,
                                  .beforeFrame = [] { throw ConvertError(u"'x' is not a valid integer value"); },
                                  .secondWait = true}),
               ConvertError);
  EXPECT_FALSE(b.port.IsOpen());
  EXPECT_TRUE(device->ReceivedBytes().empty());
  SerialPort other = b.OtherPort();
  EXPECT_TRUE(other.SetupPort(0));
}

// The window closed during a wait: the exchange ends there, closes the port and
// judges nothing.
TEST(DeviceExchange, TheWindowClosedDuringTheWaitEndsItWithThePortClosed) {
  LinkBench b;
  auto device = b.Device(1);
  b.form.onDelay = [&](int) { b.form.closed = true; };
  Seen seen;
  EXPECT_THROW(CalibrationWrite(b, seen), WindowClosed);
  EXPECT_TRUE(seen.writeReplies.empty());
  EXPECT_EQ(b.form.delays, std::vector<int>{200});
  EXPECT_FALSE(b.port.IsOpen());
  SerialPort other = b.OtherPort();
  EXPECT_TRUE(other.SetupPort(0));
}

}  // namespace
}  // namespace tacho
