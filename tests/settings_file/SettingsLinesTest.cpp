#include "SettingsLines.h"

#include <gtest/gtest.h>

#include "AppError.h"
#include "SettingsFile.h"
#include "SettingsTestSupport.h"

namespace tacho {
namespace {

using test::kToday;
using test::StateOf;
using Lines = std::vector<std::u16string>;

// Eighteen entries unlike the start-up ones, lines 1..18.
Lines OtherEntries() {
  return {u"XTA210930Y1234567", u"А123ВС77", u"13",     u"8000",  u"1950",        u"315/80R22.5",
          u"90",                u"123456",   u"01.02.2027", u"-0", u"45",          u"2",
          u"internet.beeline.ru,beeline,beeline", u"192.168.0.1", u"5000", u"60", u"30",
          u"ООО Мастер"};
}

TEST(SettingsEntries, AtStartTheyAreTheExampleLines) {
  const FormModel form(kToday);
  EXPECT_EQ(ReadEntries(form), (Lines{u"", u"", u"43", u"", u"", u"", u"", u"", u"15.03.2026", u"+0", u"00",
                                      u"-1", u"", u"", u"", u"", u"", u"РФ"}));
}

TEST(SettingsEntries, ApplyingGivesEveryControlItsLine) {
  FormModel form(kToday);
  LoadEntries(form, OtherEntries());
  EXPECT_EQ(ReadEntries(form), OtherEntries());
  EXPECT_EQ(form.SelectedIndex(ControlId::sComboBox_country), 13);
  EXPECT_EQ(form.SelectedIndex(ControlId::sComboBox1), 22);  // "-0", not "+0"
  EXPECT_EQ(form.SelectedIndex(ControlId::sComboBox2), 45);
  EXPECT_EQ(form.SelectedIndex(ControlId::sComboBox3), 2);
}

TEST(SettingsEntries, SelectingTheOperatorByProgramKeepsTheOperatorLine) {
  FormModel form(kToday);
  Lines lines = OtherEntries();
  lines[11] = u"0";  // МТС, whose preset a user's pick would put into Edit_operator
  lines[12] = u"";
  LoadEntries(form, lines);
  EXPECT_EQ(form.SelectedIndex(ControlId::sComboBox3), 0);
  EXPECT_EQ(form.ReadText(ControlId::Edit_operator), u"");
}

struct ApplyCase {
  const char* name;
  std::size_t line;  // 0-based
  std::u16string text;
  ControlId control;
  std::u16string shownText;
  int selected;
};

void PrintTo(const ApplyCase& c, std::ostream* os) { *os << c.name; }

class SettingsEntryApplied : public ::testing::TestWithParam<ApplyCase> {};

TEST_P(SettingsEntryApplied, AsTheLineSays) {
  const ApplyCase& c = GetParam();
  FormModel form(kToday);
  Lines lines = OtherEntries();
  lines[c.line] = c.text;
  LoadEntries(form, lines);
  EXPECT_EQ(form.ReadText(c.control), c.shownText);
  EXPECT_EQ(form.SelectedIndex(c.control), c.selected);
  EXPECT_TRUE(form.boxes.empty());
}

const ApplyCase kApplyCases[] = {
    {"CountryAboveTheList", 2, u"56", ControlId::sComboBox_country, u"", -1},
    {"CountryMinusOne", 2, u"-1", ControlId::sComboBox_country, u"", -1},
    {"CountryFirst", 2, u"0", ControlId::sComboBox_country, u"   Информац. нет", 0},
    {"CountryInHex", 2, u"$2B", ControlId::sComboBox_country, u"RUS   Росс.федерац.", 43},
    {"CountryLeadingBlanks", 2, u"  43", ControlId::sComboBox_country, u"RUS   Росс.федерац.", 43},
    {"HoursMinusEleven", 9, u"-11", ControlId::sComboBox1, u"", -1},
    {"HoursWithoutSign", 9, u"0", ControlId::sComboBox1, u"", -1},
    {"HoursPlusZero", 9, u"+0", ControlId::sComboBox1, u"+0", 23},
    {"HoursWithBlank", 9, u"+0 ", ControlId::sComboBox1, u"", -1},
    {"MinutesLeadingZero", 10, u"05", ControlId::sComboBox2, u"", -1},
    {"MinutesFive", 10, u"5", ControlId::sComboBox2, u"5", 5},
    {"OperatorOutside", 11, u"5", ControlId::sComboBox3, u"", -1},
    {"OperatorOther", 11, u"4", ControlId::sComboBox3, u"Другой...", 4},
    {"VinLongerThanTheField", 0, u"1234567890123456789012345", ControlId::sEdit_VIN,
     u"1234567890123456789012345", -1},
    {"LettersInTheDigitsOnlyPort", 14, u"abc", ControlId::Edit_port, u"abc", -1},
    {"TextKeepsItsBlanks", 17, u"  РФ  ", ControlId::sEdit_master_N, u"  РФ  ", -1},
    {"EmptyDateField", 8, u"  .  .    ", ControlId::sDateEdit2, u"  .  .    ", -1},
};

INSTANTIATE_TEST_SUITE_P(Cases, SettingsEntryApplied, ::testing::ValuesIn(kApplyCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The first fault in line order, as a line-by-line load would meet it, is the
// one reported, and no field changes.
struct FaultCase {
  const char* name;
  std::string bytes;
  std::u16string message;
};

std::string FileOf(std::size_t count, std::size_t badLine = 0, const std::string& badText = {}) {
  std::string bytes;
  for (std::size_t line = 1; line <= count; ++line) {
    bytes += line == badLine ? badText : (line == 3 || line == 12) ? std::string("7") : std::string("x");
    bytes += "\r\n";
  }
  return bytes;
}

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class SettingsFileFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(SettingsFileFault, ReportsTheFirstFaultAndChangesNoField) {
  FormModel form(kToday);
  form.SetText(ControlId::sEdit_VIN, u"old VIN");
  const test::FormState before = StateOf(form);
  try {
    LoadSettingsBytes(form, GetParam().bytes);
    ADD_FAILURE() << "no error";
  } catch (const AppError& e) {
    EXPECT_EQ(e.message(), GetParam().message);
  }
  EXPECT_EQ(StateOf(form), before);
}

const FaultCase kFaultCases[] = {
    {"EmptyFile", "", u"List index out of bounds (0)"},
    {"MarkOnly", "\xEF\xBB\xBF", u"List index out of bounds (0)"},
    {"OneLine", FileOf(1), u"List index out of bounds (1)"},
    {"TwoLinesOfLetters", "abc\r\ndef\r\n", u"List index out of bounds (2)"},
    {"LettersInLine3OfAShortFile", FileOf(5, 3, "abc"), u"'abc' is not a valid integer value"},
    {"EmptyLine3", FileOf(18, 3, ""), u"'' is not a valid integer value"},
    {"TrailingBlankInLine3", FileOf(18, 3, "5 "), u"'5 ' is not a valid integer value"},
    {"Line3OutsideInt32", FileOf(18, 3, "2147483648"), u"'2147483648' is not a valid integer value"},
    {"ElevenLines", FileOf(11), u"List index out of bounds (11)"},
    {"LettersInLine12", FileOf(18, 12, ToAnsi(u"МТС")), u"'МТС' is not a valid integer value"},
    {"LettersInLine12Of17", FileOf(17, 12, "x"), u"'x' is not a valid integer value"},
    {"SeventeenLines", FileOf(17), u"List index out of bounds (17)"},
    {"NulCutsTheFile", FileOf(10) + std::string(1, '\0') + FileOf(8), u"List index out of bounds (10)"},
};

INSTANTIATE_TEST_SUITE_P(Cases, SettingsFileFault, ::testing::ValuesIn(kFaultCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsFileFault, ConversionFaultIsAConvertError) {
  FormModel form(kToday);
  EXPECT_THROW(LoadSettingsBytes(form, FileOf(18, 12, "x")), ConvertError);
}

}  // namespace
}  // namespace tacho
