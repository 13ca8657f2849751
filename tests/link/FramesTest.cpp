// Frames built from the PayloadArea, and the judgement of a write's reply.
#include <gtest/gtest.h>

#include <numeric>
#include <ostream>
#include <string>

#include "Exchange.h"
#include "Frames.h"
#include "LinkFixture.h"

namespace tacho {
namespace {

using test::Bytes;
using test::Cat;
using test::Repeat;
using test::WorkedGsmRecord;

Bytes Sent(const Session& s, std::size_t n) { return Bytes(s.FrameBuffer.begin(), s.FrameBuffer.begin() + n); }

bool ZeroFrom(const Session& s, std::size_t from) {
  return std::all_of(s.FrameBuffer.begin() + from, s.FrameBuffer.end(), [](std::uint8_t b) { return b == 0; });
}

TEST(Checksum, IsTheComplementOfTheLowByteOfTheSum) {
  const std::uint8_t gsmRead[] = {0x02, 0x49, 0x00, 0xB9, 0x00};
  const std::uint8_t probe[] = {0x02, 0x49, 0x00, 0xD1, 0x00};
  EXPECT_EQ(Checksum(gsmRead, 5), 0xFB);  // 260 -> 0x04 -> 0xFB
  EXPECT_EQ(Checksum(probe, 5), 0xE3);
  EXPECT_EQ(Checksum(nullptr, 0), 0xFF);
  EXPECT_EQ(Checksum(kProbeFrame.data(), 5), kProbeFrame[5]);
}

TEST(BuildFrame, GsmReadIsSixFixedBytesAndZerosAfter) {
  Session s;
  s.FrameBuffer.fill(0xAA);
  s.PayloadArea.fill(0x55);
  BuildFrame(s, "GSM_read");
  EXPECT_EQ(Sent(s, 6), (Bytes{0x02, 0x49, 0x00, 0xB9, 0x00, 0xFB}));
  EXPECT_TRUE(ZeroFrom(s, 6));
}

TEST(BuildFrame, WriteLaysOutTheRecordInTwoPiecesAroundTheChecksum) {
  Session s;
  s.FrameBuffer.fill(0xAA);
  for (std::size_t i = 0; i < s.PayloadArea.size(); ++i) s.PayloadArea[i] = static_cast<std::uint8_t>(i * 7 + 3);
  BuildFrame(s, "write");
  const Bytes record(s.PayloadArea.begin(), s.PayloadArea.end());
  const Bytes head = Cat({{0x02, 0x49, 0xAA, 0x38, 0x00}, Bytes(record.begin(), record.begin() + 169)});
  unsigned sum = std::accumulate(head.begin(), head.end(), 0u);
  const std::uint8_t checksum = static_cast<std::uint8_t>(~sum);
  const Bytes expected = Cat({head, {checksum}, Repeat(0x00, 10), Bytes(record.begin() + 169, record.end())});
  ASSERT_EQ(expected.size(), 200u);
  EXPECT_EQ(Sent(s, 200), expected);
  EXPECT_TRUE(ZeroFrom(s, 200));  // byte 200 is never sent and is not formed
  // Read by its length byte (170 payload bytes), the frame ends in a matching checksum too.
  EXPECT_EQ(Checksum(s.FrameBuffer.data(), 175), s.FrameBuffer[175]);
}

TEST(BuildFrame, GsmWriteOfTheWorkedRecordEndsInChecksum92) {
  Session s;
  s.PayloadArea.fill(0xFF);
  const Bytes record = WorkedGsmRecord();
  ASSERT_EQ(record.size(), 104u);
  std::copy(record.begin(), record.end(), s.PayloadArea.begin());
  BuildFrame(s, "GSM_write");
  EXPECT_EQ(Sent(s, 110), Cat({{0x02, 0x49, 0x68, 0x39, 0x00}, record, {0x92}}));
  EXPECT_TRUE(ZeroFrom(s, 110));
}

TEST(BuildFrame, AnyOtherWordLeavesTheBufferAllZero) {
  for (const char* word : {"", "Write", "WRITE", "write ", "gsm_read", "GSM_Write", "probe", "GSM_read\n"}) {
    Session s;
    s.FrameBuffer.fill(0xAA);
    BuildFrame(s, word);
    EXPECT_TRUE(ZeroFrom(s, 0)) << "word '" << word << "'";
  }
}

struct ReplyCase {
  const char* name;
  Bytes reply;  // the bytes that arrived; the rest of the FrameBuffer stays 0
  bool success;
};

// Test names and failures show the row by its name.
void PrintTo(const ReplyCase& c, std::ostream* os) { *os << c.name; }

class WriteReply : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(WriteReply, IsAcknowledgedOnlyBySixOrMoreBytesWith02FirstAnd00AtByteFive) {
  Session s;
  std::copy(GetParam().reply.begin(), GetParam().reply.end(), s.FrameBuffer.begin());
  EXPECT_EQ(WriteAcknowledged(s, GetParam().reply.size()), GetParam().success);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, WriteReply,
    ::testing::Values(ReplyCase{"Acknowledged", {0x02, 0x49, 0x01, 0x38, 0x00, 0x00, 0x7D}, true},
                      // bytes 1-4 and 6 are not looked at
                      ReplyCase{"AnyOtherBytes", {0x02, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0xFF}, true},
                      ReplyCase{"SixBytesAreEnough", {0x02, 0x49, 0x01, 0x38, 0x00, 0x00}, true},
                      // a zero that never came is no success
                      ReplyCase{"TheSingleStartByte", {0x02}, false},
                      ReplyCase{"CutBeforeByteFive", {0x02, 0x49, 0x01, 0x38, 0x00}, false},
                      ReplyCase{"NoReply", {}, false},
                      ReplyCase{"ABadStartByte", {0x03, 0x49, 0x01, 0x38, 0x00, 0x00, 0x7D}, false},
                      ReplyCase{"AFailureStatus", {0x02, 0x49, 0x01, 0x38, 0x00, 0x01, 0x7C}, false},
                      ReplyCase{"TheReplyOneByteLate", {0x00, 0x02, 0x49, 0x01, 0x38, 0x00, 0x00}, false}),
    [](const ::testing::TestParamInfo<ReplyCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tacho
