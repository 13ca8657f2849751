#include "CalibrationRecord.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AppError.h"
#include "CalibrationFixture.h"
#include "WorkedFrames.h"

namespace tacho {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Repeat(std::uint8_t value, std::size_t count) { return Bytes(count, value); }
Bytes Hex(std::initializer_list<int> values) { return Bytes(values.begin(), values.end()); }
Bytes Ascii(const std::string& s) { return Bytes(s.begin(), s.end()); }

class FillCalibrationTest : public CalibrationPage {
 protected:
  Bytes Fill() {
    Session session;
    session.PayloadArea.fill(0xAB);  // leftovers of an earlier command
    FillCalibration(form, session.PayloadArea);
    return Bytes(session.PayloadArea.begin(), session.PayloadArea.end());
  }
};

TEST_F(FillCalibrationTest, WorkedExampleGivesTheRecordByteForByte) {
  const Bytes expected = test::WorkedCalibrationRecord();
  ASSERT_EQ(expected.size(), kPayloadSize);
  EXPECT_EQ(Fill(), expected);
}

TEST_F(FillCalibrationTest, FieldsAtTheirLimits) {
  struct Case {
    ControlId control;
    const char16_t* text;
    std::size_t offset;
    Bytes bytes;
  };
  const Case cases[] = {
      // A 13-character VRN fills its field; byte 127 stays W's low byte.
      {ControlId::sEdit_VRN, u"ABCDEFGHIJKLM", 114, Ascii("ABCDEFGHIJKLM@")},
      {ControlId::sEdit_L, u"65000", 131, Hex({0xE8, 0xFD, '3'})},
      {ControlId::sEdit_L, u"10", 131, Hex({0x0A, 0x00})},
      {ControlId::sEdit_speed, u"200", 148, Hex({0xC8})},
      {ControlId::sEdit_speed, u"10", 148, Hex({0x0A})},
      {ControlId::sEdit_odometer, u"0", 152, Hex({0, 0, 0, 0})},
      {ControlId::sEdit_odometer, u"999999", 152, Hex({0x76, 0x96, 0x98, 0x00})},
      {ControlId::sEdit_master_N, u"", 169, Repeat(0x20, 15)},
      {ControlId::sEdit_master_N, u"   ", 169, Repeat(0x20, 15)},
      {ControlId::sEdit_VIN, u"                 ", 95, Repeat(0x20, 17)},
  };
  for (const Case& c : cases) {
    SetUp();
    form.SetText(c.control, c.text);
    const Bytes record = Fill();
    EXPECT_EQ(Bytes(record.begin() + static_cast<long>(c.offset),
                    record.begin() + static_cast<long>(c.offset + c.bytes.size())),
              c.bytes)
        << ControlName(c.control) << " = " << ToUtf8(c.text);
  }
}

TEST_F(FillCalibrationTest, NationCodeOfEachSelection) {
  const std::pair<int, std::uint8_t> cases[] = {{-1, 0xFF}, {0, 0x00}, {43, 0x2B}, {52, 0x34},
                                                {53, 0xFD}, {54, 0xFE}, {55, 0xFF}};
  for (auto [index, code] : cases) {
    form.SelectIndex(ControlId::sComboBox_country, index);
    EXPECT_EQ(Fill()[calib::kNation], code) << index;
  }
  EXPECT_EQ(NationCode(56), 0x00);
}

TEST_F(FillCalibrationTest, OffsetBytesFollowTheLists) {
  form.SelectIndex(ControlId::sComboBox1, form.FindItem(ControlId::sComboBox1, u"-0"));
  form.SelectIndex(ControlId::sComboBox2, 30);
  const Bytes record = Fill();
  EXPECT_EQ(record[calib::kOffsetHours], 0x80);
  EXPECT_EQ(record[calib::kOffsetMinutes], 0x1E);
}

TEST_F(FillCalibrationTest, OdometerThatIsNoNumberStopsTheAssembly) {
  form.SetText(ControlId::sEdit_odometer, u"12a");
  Session session;
  try {
    FillCalibration(form, session.PayloadArea);
    FAIL();
  } catch (const ConvertError& e) {
    EXPECT_EQ(e.message(), u"'12a0' is not a valid integer value");
  }
  // Steps before the odometer ran; the time fields did not.
  EXPECT_EQ(session.PayloadArea[calib::kSpeed], 90);
  EXPECT_EQ(session.PayloadArea[calib::kNextCalibrationTime], 0xFF);  // still the fill
}

TEST_F(FillCalibrationTest, WiderTextsNeverRunPastTheirField) {
  form.SetText(ControlId::sEdit_VIN, std::u16string(40, u'V'));
  form.SetText(ControlId::sEdit_master_N, std::u16string(40, u'M'));
  const Bytes record = Fill();
  EXPECT_EQ(record[calib::kNation], 0x2B);
  EXPECT_EQ(record.size(), kPayloadSize);
  EXPECT_EQ(Bytes(record.begin() + 169, record.end()), Repeat('M', 15));
}

}  // namespace
}  // namespace tacho
