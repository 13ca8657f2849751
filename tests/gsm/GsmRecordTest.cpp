// The GSM settings record: assembly from the entries and display from a reply.
#include "GsmRecord.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "AppError.h"
#include "FormModel.h"
#include "TextCodec.h"

namespace tacho {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Payload = std::array<std::uint8_t, kPayloadSize>;
using Frame = std::array<std::uint8_t, kFrameBufferSize>;

const std::u16string kOtherPreset = u"\" \",\" \",\" \"";  // the "Другой..." connection string

GsmEntries WorkedExample() { return {u"10.1.2.3", u"21400", kOtherPreset, u"40", u"5"}; }

Bytes Repeat(std::uint8_t byte, std::size_t count) { return Bytes(count, byte); }

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// The record of the worked example, as listed byte by byte.
Bytes WorkedExampleRecord() {
  return Concat({{0x31, 0x30, 0x2E, 0x31, 0x2E, 0x32, 0x2E, 0x33},
                 Repeat(0x20, 7),
                 {0x32, 0x31, 0x34, 0x30, 0x30},
                 {0x22, 0x20, 0x22, 0x2C, 0x22, 0x20, 0x22, 0x2C, 0x22, 0x20, 0x22},
                 {0x00},
                 Repeat(0x20, 38),
                 {0x04, 0x01},
                 Repeat(0xFF, 32)});
}

Bytes RecordOf(const Payload& payload) { return Bytes(payload.begin(), payload.begin() + gsm::kRecordSize); }

Payload Filled(const GsmEntries& entries) {
  Payload payload{};
  FillGsm(entries, payload);
  return payload;
}

// A reply to "GSM_read" with the record bytes from byte 5.
Frame Reply(const Bytes& record, std::uint8_t b0 = 0x02, std::uint8_t b1 = 0x49) {
  Frame frame{};
  frame[0] = b0;
  frame[1] = b1;
  std::copy(record.begin(), record.end(), frame.begin() + gsm::kReplyRecordStart);
  return frame;
}

TEST(FillGsm, WorkedExampleGivesItsRecord) {
  ASSERT_EQ(WorkedExampleRecord().size(), gsm::kRecordSize);
  EXPECT_EQ(RecordOf(Filled(WorkedExample())), WorkedExampleRecord());
}

TEST(FillGsm, FillsUpToByte169AndLeavesTheRestOfThePayloadArea) {
  Payload payload;
  payload.fill(0x5A);
  FillGsm(WorkedExample(), payload);
  for (std::size_t i = gsm::kRecordSize; i < kPayloadFillEnd; ++i) EXPECT_EQ(payload[i], 0xFF) << i;
  for (std::size_t i = kPayloadFillEnd; i < kPayloadSize; ++i) EXPECT_EQ(payload[i], 0x5A) << i;
}

TEST(FillGsm, ReadsTheFiveFieldsOfThePage) {
  FormModel form;
  form.SetText(ControlId::Edit_IP, u"10.1.2.3");
  form.SetText(ControlId::Edit_port, u"21400");
  form.SetText(ControlId::Edit_operator, kOtherPreset);
  form.SetText(ControlId::Edit_int_send, u"40");
  form.SetText(ControlId::Edit_int_save, u"5");
  Session session;
  FillGsm(form, session);
  EXPECT_EQ(RecordOf(session.PayloadArea), WorkedExampleRecord());
}

TEST(FillGsm, ConnectionStringEndsWithAZeroByteOnlyWhenShorterThanItsField) {
  struct Case {
    std::size_t length;
    std::size_t zeroAt;  // 0: no zero byte in the field
  };
  for (const Case c : {Case{0, 20}, Case{1, 21}, Case{49, 69}, Case{50, 0}}) {
    SCOPED_TRACE(c.length);
    GsmEntries entries = WorkedExample();
    entries.connection = std::u16string(c.length, u'a');
    const Payload p = Filled(entries);
    for (std::size_t i = gsm::kConnection; i < gsm::kConnection + gsm::kConnectionWidth; ++i) {
      const std::uint8_t expected = i == c.zeroAt && c.zeroAt != 0 ? 0x00
                                    : i < gsm::kConnection + c.length ? 'a'
                                                                      : 0x20;
      EXPECT_EQ(p[i], expected) << i;
    }
    EXPECT_EQ(p[gsm::kSendInterval], 4);
  }
}

TEST(FillGsm, TextsTakeOneWindows1251ByteACharacter) {
  GsmEntries entries = WorkedExample();
  entries.connection = u"\"интернет\",\"я\",\"\"";
  const Payload p = Filled(entries);
  const std::string ansi = ToAnsi(entries.connection);
  const Bytes expected(ansi.begin(), ansi.end());
  ASSERT_EQ(expected.size(), entries.connection.size());
  EXPECT_EQ(Bytes(p.begin() + gsm::kConnection, p.begin() + gsm::kConnection + expected.size()), expected);
  EXPECT_EQ(p[gsm::kConnection + 1], 0xE8);  // и
  EXPECT_EQ(p[gsm::kConnection + expected.size()], 0x00);
}

TEST(FillGsm, IntervalBytesAreTheSecondsDividedCutTowardZero) {
  struct Case {
    const char16_t* send;
    const char16_t* save;
    std::uint8_t sendByte;
    std::uint8_t saveByte;
  };
  for (const Case c : {Case{u"2500", u"1200", 0xFA, 0xF0}, Case{u"2499", u"1199", 249, 239},
                       Case{u"45", u"7", 4, 1}, Case{u"10", u"5", 1, 1}, Case{u"9", u"4", 0, 0},
                       Case{u"-15", u"-9", 0xFF, 0xFF}, Case{u"2560", u"1280", 0, 0}}) {
    SCOPED_TRACE(std::string(ToAnsi(c.send)) + " " + ToAnsi(c.save));
    GsmEntries entries = WorkedExample();
    entries.sendInterval = c.send;
    entries.saveInterval = c.save;
    const Payload p = Filled(entries);
    EXPECT_EQ(p[gsm::kSendInterval], c.sendByte);
    EXPECT_EQ(p[gsm::kSaveInterval], c.saveByte);
  }
}

TEST(FillGsm, IntervalThatIsNoNumberRaisesTheConversionError) {
  GsmEntries entries = WorkedExample();
  entries.saveInterval = u"5 ";
  Payload p{};
  EXPECT_THROW(FillGsm(entries, p), ConvertError);
}

TEST(FillGsm, TextWiderThanItsFieldIsRefusedNotCut) {
  struct Case {
    std::u16string GsmEntries::*member;
    std::size_t width;
  };
  for (const Case c : {Case{&GsmEntries::address, 15}, Case{&GsmEntries::port, 5},
                       Case{&GsmEntries::connection, 50}}) {
    SCOPED_TRACE(c.width);
    GsmEntries entries = WorkedExample();
    entries.*c.member = std::u16string(c.width, u'7');
    EXPECT_NO_THROW(Filled(entries));
    entries.*c.member = std::u16string(c.width + 1, u'7');
    Payload p{};
    EXPECT_THROW(FillGsm(entries, p), FieldWidthError);
  }
}

TEST(ShowGsm, WorkedExampleReadsBackWithBlanksKeptAndTheZeroByteSkipped) {
  const GsmEntries shown = ShowGsm(Reply(WorkedExampleRecord()));
  EXPECT_EQ(shown.address, u"10.1.2.3       ");
  EXPECT_EQ(shown.port, u"21400");
  EXPECT_EQ(shown.connection, kOtherPreset + std::u16string(38, u' '));
  EXPECT_EQ(shown.connection.size(), 49u);
  EXPECT_EQ(shown.sendInterval, u"40");
  EXPECT_EQ(shown.saveInterval, u"5");
}

TEST(ShowGsm, WritingTheReadEntriesBackMovesOnlyTheZeroByte) {
  const Bytes rewritten = RecordOf(Filled(ShowGsm(Reply(WorkedExampleRecord()))));
  Bytes expected = WorkedExampleRecord();
  expected[31] = 0x20;
  expected[69] = 0x00;
  EXPECT_EQ(rewritten, expected);
}

TEST(ShowGsm, ConnectionStringsOf49And50BytesSurviveARoundTrip) {
  for (std::size_t length : {49u, 50u}) {
    GsmEntries entries = WorkedExample();
    entries.connection = std::u16string(length, u'q');
    const Payload once = Filled(entries);
    const Payload twice = Filled(ShowGsm(Reply(RecordOf(once))));
    EXPECT_EQ(RecordOf(twice), RecordOf(once)) << length;
  }
}

TEST(ShowGsm, AllZeroReplyGivesEmptyTextsAndZeroIntervals) {
  const GsmEntries shown = ShowGsm(Frame{});
  EXPECT_EQ(shown, (GsmEntries{u"", u"", u"", u"0", u"0"}));
}

TEST(ShowGsm, AllFfReplyGivesLettersYaAndIntervalsOutOfRange) {
  const GsmEntries shown = ShowGsm(Reply(Repeat(0xFF, gsm::kRecordSize)));
  EXPECT_EQ(shown.address, std::u16string(15, u'я'));
  EXPECT_EQ(shown.port, std::u16string(5, u'я'));
  EXPECT_EQ(shown.connection, std::u16string(50, u'я'));
  EXPECT_EQ(shown.sendInterval, u"2550");
  EXPECT_EQ(shown.saveInterval, u"1275");
}

TEST(ShowGsm, ZeroBytesInsideAFieldAreSkippedAndTheRestKept) {
  Bytes record = WorkedExampleRecord();
  const Bytes address = {0x31, 0x30, 0x00, 0x2E, 0x31, 0x20, 0x00, 0x00, 0x32, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20};
  std::copy(address.begin(), address.end(), record.begin());
  record[16] = 0x00;
  EXPECT_EQ(ShowGsm(Reply(record)).address, u"10.1 2      ");
  EXPECT_EQ(ShowGsm(Reply(record)).port, u"2400");
}

TEST(ShowGsm, ReadsOnlyReplyBytes5To76) {
  Frame frame = Reply(WorkedExampleRecord(), 0xAA, 0xBB);
  frame[2] = frame[3] = frame[4] = 0x33;
  for (std::size_t i = 77; i < kFrameBufferSize; ++i) frame[i] = 0x41;
  EXPECT_EQ(ShowGsm(frame), ShowGsm(Reply(WorkedExampleRecord())));
}

TEST(ShowGsm, IntervalsAtTheLimitsReadBackAsSeconds) {
  Bytes record = WorkedExampleRecord();
  record[gsm::kSendInterval] = 249;
  record[gsm::kSaveInterval] = 240;
  const GsmEntries shown = ShowGsm(Reply(record));
  EXPECT_EQ(shown.sendInterval, u"2490");
  EXPECT_EQ(shown.saveInterval, u"1200");
}

TEST(ShowGsm, PutsTheFiveTextsIntoThePage) {
  FormModel form;
  form.SelectIndex(ControlId::sComboBox3, 3);
  Session session;
  session.FrameBuffer = Reply(WorkedExampleRecord());
  ShowGsm(session, form);
  EXPECT_EQ(form.ReadText(ControlId::Edit_IP), u"10.1.2.3       ");
  EXPECT_EQ(form.ReadText(ControlId::Edit_port), u"21400");
  EXPECT_EQ(form.ReadText(ControlId::Edit_operator).size(), 49u);
  EXPECT_EQ(form.ReadText(ControlId::Edit_int_send), u"40");
  EXPECT_EQ(form.ReadText(ControlId::Edit_int_save), u"5");
  EXPECT_EQ(form.SelectedIndex(ControlId::sComboBox3), 3);
}

}  // namespace
}  // namespace tacho
