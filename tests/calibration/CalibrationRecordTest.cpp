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

// One entry of the worked example changed, and the record bytes it then gives.
struct FieldCase {
  const char* name;
  ControlId control;
  std::u16string text;
  std::size_t offset;
  Bytes bytes;
};

void PrintTo(const FieldCase& c, std::ostream* os) { *os << c.name; }

class FillCalibrationField : public FillCalibrationTest, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(FillCalibrationField, GivesTheExpectedBytes) {
  const FieldCase& c = GetParam();
  form.SetText(c.control, c.text);
  const Bytes record = Fill();
  const auto from = record.begin() + static_cast<std::ptrdiff_t>(c.offset);
  EXPECT_EQ(Bytes(from, from + static_cast<std::ptrdiff_t>(c.bytes.size())), c.bytes);
}

const FieldCase kFieldCases[] = {
    // A 13-character VRN fills its field; byte 127 stays W's low byte.
    {"VrnOf13Characters", ControlId::sEdit_VRN, u"ABCDEFGHIJKLM", 114, Ascii("ABCDEFGHIJKLM@")},
    {"L65000", ControlId::sEdit_L, u"65000", 131, Hex({0xE8, 0xFD, '3'})},
    {"L10", ControlId::sEdit_L, u"10", 131, Hex({0x0A, 0x00})},
    {"Speed200", ControlId::sEdit_speed, u"200", 148, Hex({0xC8})},
    {"Speed10", ControlId::sEdit_speed, u"10", 148, Hex({0x0A})},
    {"Odometer0", ControlId::sEdit_odometer, u"0", 152, Hex({0, 0, 0, 0})},
    {"Odometer999999", ControlId::sEdit_odometer, u"999999", 152, Hex({0x76, 0x96, 0x98, 0x00})},
    {"OdometerAfterBlanks", ControlId::sEdit_odometer, u"  12345", 152, Hex({0x3A, 0xE2, 0x01, 0x00})},
    {"EmptyWorkshop", ControlId::sEdit_master_N, u"", 169, Repeat(0x20, 15)},
    {"BlankWorkshop", ControlId::sEdit_master_N, u"   ", 169, Repeat(0x20, 15)},
    {"BlankVin", ControlId::sEdit_VIN, u"                 ", 95, Repeat(0x20, 17)},
    // Wider texts never run past their field: the next byte keeps its own value.
    {"WideVinStopsBeforeTheNationCode", ControlId::sEdit_VIN, std::u16string(40, u'V'), 95,
     test::Joined({Repeat('V', 17), Hex({0x2B})})},
    {"WideVrnStopsBeforeW", ControlId::sEdit_VRN, std::u16string(40, u'R'), 114, test::Joined({Repeat('R', 13), Hex({0x40})})},
    {"WideTyreSizeStopsBeforeTheSpeed", ControlId::sEdit_typeSize, std::u16string(40, u'T'), 133,
     test::Joined({Repeat('T', 15), Hex({0x5A})})},
    {"WideWorkshopFillsTheRecordToItsEnd", ControlId::sEdit_master_N, std::u16string(40, u'M'), 169,
     Repeat('M', 15)},
};

INSTANTIATE_TEST_SUITE_P(Cases, FillCalibrationField, ::testing::ValuesIn(kFieldCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct NationCase {
  const char* name;
  int index;
  std::uint8_t code;
};

void PrintTo(const NationCase& c, std::ostream* os) { *os << c.name; }

class FillCalibrationNation : public FillCalibrationTest, public ::testing::WithParamInterface<NationCase> {};

TEST_P(FillCalibrationNation, StoresTheCodeOfTheSelectedItem) {
  form.SelectIndex(ControlId::sComboBox_country, GetParam().index);
  EXPECT_EQ(Fill()[calib::kNation], GetParam().code);
}

const NationCase kNationCases[] = {
    {"NoneSelected", -1, 0xFF}, {"NoInformation", 0, 0x00}, {"RUS", 43, 0x2B}, {"UNK", 52, 0x34},
    {"EC", 53, 0xFD},           {"EUR", 54, 0xFE},          {"WLD", 55, 0xFF},
};

INSTANTIATE_TEST_SUITE_P(Cases, FillCalibrationNation, ::testing::ValuesIn(kNationCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(NationCode, IndexBeyondTheListGivesZero) { EXPECT_EQ(NationCode(56), 0x00); }

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

}  // namespace
}  // namespace tacho
