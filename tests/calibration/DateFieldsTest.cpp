#include "DateFields.h"

#include <gtest/gtest.h>

#include "AppError.h"
#include "FormModel.h"
#include "MoscowTime.h"
#include "TextCodec.h"

namespace tacho {
namespace {

struct Parts {
  const char* text;
  int day, month, year;
};

TEST(DatePart, ReadsDayFirstAndYearFirstWithAnySeparator) {
  const Parts cases[] = {
      {"25.12.2014", 25, 12, 2014}, {"2014.12.25", 25, 12, 2014}, {"25,12,2014", 25, 12, 2014},
      {"25_12_2014", 25, 12, 2014}, {"25-12-2014", 25, 12, 2014}, {"2014-12-25", 25, 12, 2014},
      {" 5.06.2020", 5, 6, 2020},
  };
  for (const Parts& c : cases) {
    EXPECT_EQ(DatePart(1, c.text), c.day) << c.text;
    EXPECT_EQ(DatePart(2, c.text), c.month) << c.text;
    EXPECT_EQ(DatePart(3, c.text), c.year) << c.text;
  }
}

TEST(DatePart, OtherKindsConvertNothing) {
  EXPECT_EQ(DatePart(0, "garbage"), 0);
  EXPECT_EQ(DatePart(4, "  .  .    "), 0);
}

TEST(DatePart, RefusesPartsThatAreNoNumber) {
  EXPECT_THROW(DatePart(3, "  .  .    "), ConvertError);  // blanks only
  EXPECT_THROW(DatePart(1, "5 .06.2020"), ConvertError);  // digit then blank
  EXPECT_THROW(DatePart(3, "25/12/2014"), ConvertError);  // no known separator: year is "25/1"
  EXPECT_THROW(DatePart(1, ""), ConvertError);            // text ends before the part
  // With no separator at 3 or 5, day and month both come from the first two characters.
  EXPECT_EQ(DatePart(2, "1234567890"), 12);
}

// The zone of a test must not leak into the tests after it.
TEST(ScopedTimeZone, GivesTheOldZoneBackOrNone) {
  const char* outer = std::getenv("TZ");
  const std::optional<std::string> saved = outer ? std::optional<std::string>(outer) : std::nullopt;
  for (const char* before : {"UTC0", static_cast<const char*>(nullptr)}) {
    SCOPED_TRACE(before ? before : "unset");
    {
      const ScopedTimeZone set(before);
      {
        const ScopedTimeZone moscow("MSK-3");
        ASSERT_NE(std::getenv("TZ"), nullptr);
        EXPECT_STREQ(std::getenv("TZ"), "MSK-3");
      }
      const char* after = std::getenv("TZ");
      if (before) {
        ASSERT_NE(after, nullptr);
        EXPECT_STREQ(after, before);
      } else {
        EXPECT_EQ(after, nullptr);
      }
    }
  }
  const char* restored = std::getenv("TZ");
  EXPECT_EQ(restored ? std::optional<std::string>(restored) : std::nullopt, saved);
}

class DateToTimeTest : public MoscowTime {};

TEST_F(DateToTimeTest, GivesTheNextDayOneSecondPastMidnight) {
  EXPECT_EQ(DateToTime(2, u"25.12.2014"), 1419541201);
  EXPECT_EQ(DateToTime(2, u"2014.12.25"), 1419541201);
  EXPECT_EQ(DateToTime(2, u"25-12-2014"), 1419541201);
  // The last day of a year runs into the next one: 01.01.2015 00:00:01 local.
  EXPECT_EQ(DateToTime(2, u"31.12.2014"), 1420059601);
}

TEST_F(DateToTimeTest, FirstTimeValueIsNotGiven) { EXPECT_EQ(DateToTime(1, u"25.12.2014"), -1); }

struct DateCase {
  const char* name;
  const char16_t* text;
  bool held;  // false: refused with DateRangeError
};

void PrintTo(const DateCase& c, std::ostream* os) { *os << c.name; }

class DateToTimeRange : public MoscowTime, public ::testing::WithParamInterface<DateCase> {};

TEST_P(DateToTimeRange, RefusesDatesNoRecordCanHold) {
  if (GetParam().held) {
    EXPECT_NO_THROW(DateToTime(2, GetParam().text));
  } else {
    EXPECT_THROW(DateToTime(2, GetParam().text), DateRangeError);
  }
}

const DateCase kDateCases[] = {
    {"February31", u"31.02.2025", false},     {"Day0", u"00.01.2025", false},
    {"Day32", u"32.01.2025", false},          {"Month0", u"15.00.2025", false},
    {"Month13", u"15.13.2025", false},        {"February29OfACommonYear", u"29.02.2023", false},
    {"Before1970", u"31.12.1969", false},     {"After2038", u"01.01.2039", false},
    {"NextDayBeyondInt32", u"19.01.2038", false},
    {"February29OfALeapYear", u"29.02.2024", true},
    {"FirstDayOf1970", u"01.01.1970", true},  {"LastDayThatFits", u"18.01.2038", true},
};

INSTANTIATE_TEST_SUITE_P(Cases, DateToTimeRange, ::testing::ValuesIn(kDateCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DateToTimeTest, UnfilledDateFailsAsAConversion) {
  EXPECT_THROW(DateToTime(2, u"  .  .    "), ConvertError);
  // The year is read first, so a bad day with a bad year reports the year.
  try {
    DateToTime(2, u"xx.12.20y4");
    FAIL();
  } catch (const ConvertError& e) {
    EXPECT_EQ(e.message(), u"'20y4' is not a valid integer value");
  }
}

struct OffsetCase {
  const char* name;
  const char16_t* hours;
  const char16_t* minutes;
  std::uint8_t hourByte, minuteByte;
};

void PrintTo(const OffsetCase& c, std::ostream* os) { *os << c.name; }

class LocalOffsetBytes : public ::testing::TestWithParam<OffsetCase> {};

TEST_P(LocalOffsetBytes, EncodeSignBitAndMinutes) {
  EXPECT_EQ(LocalOffsetPart("hour", GetParam().hours, GetParam().minutes), GetParam().hourByte);
  EXPECT_EQ(LocalOffsetPart("min", GetParam().hours, GetParam().minutes), GetParam().minuteByte);
}

const OffsetCase kOffsetCases[] = {
    {"Plus3And30", u"+3", u"30", 0x03, 0x1E},   {"Minus3And30", u"-3", u"30", 0x83, 0x1E},
    {"MinusZero", u"-0", u"00", 0x80, 0x00},    {"PlusZero", u"+0", u"00", 0x00, 0x00},
    {"Minus23And59", u"-23", u"59", 0x97, 0x3B}, {"Minus10And1", u"-10", u"1", 0x8A, 0x01},
    {"Plus23And5", u"+23", u"5", 0x17, 0x05},   {"NoHoursItem", u"", u"00", 0x00, 0x00},
};

INSTANTIATE_TEST_SUITE_P(Cases, LocalOffsetBytes, ::testing::ValuesIn(kOffsetCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LocalOffsetPart, UnknownPartAndMissingMinutes) {
  EXPECT_EQ(LocalOffsetPart("Hour", u"+5", u"5"), 0);
  EXPECT_THROW(LocalOffsetPart("min", u"+0", u""), ConvertError);  // no minutes item chosen
}

TEST(LocalOffsetPart, ReadsEveryItemOfTheLists) {
  FormModel form;
  for (int i = 0; i < form.ItemCount(ControlId::sComboBox1); ++i) {
    form.SelectIndex(ControlId::sComboBox1, i);
    const std::u16string item = form.ItemText(ControlId::sComboBox1, i);
    const int hours = std::stoi(ToUtf8(item.substr(1)));
    const std::uint8_t expected = static_cast<std::uint8_t>(hours | (item[0] == u'-' ? 0x80 : 0));
    EXPECT_EQ(LocalOffsetPart("hour", form), expected) << ToUtf8(item);
  }
  for (int i = 0; i < form.ItemCount(ControlId::sComboBox2); ++i) {
    form.SelectIndex(ControlId::sComboBox2, i);
    EXPECT_EQ(LocalOffsetPart("min", form), i);
  }
}

}  // namespace
}  // namespace tacho
