#include "IntText.h"

#include <gtest/gtest.h>

#include "AppError.h"
#include "TextCodec.h"

namespace tacho {
namespace {

struct Accepted {
  const char16_t* text;
  std::int32_t value;
};

TEST(StrToInt, AcceptsEveryFormTheConversionKnows) {
  const Accepted cases[] = {
      {u"0", 0},
      {u"42", 42},
      {u"   42", 42},
      {u"+42", 42},
      {u"-42", -42},
      {u"  -7", -7},
      {u"007", 7},
      {u"2147483647", 2147483647},
      {u"-2147483648", INT32_MIN},
      {u"$1F", 31},
      {u"x1f", 31},
      {u"X1F", 31},
      {u"0x1F", 31},
      {u"0X1f", 31},
      {u"-$10", -16},
      {u"$FFFFFFFF", -1},
      {u"$7FFFFFFF", 2147483647},
      {u"0x00000010", 16},
  };
  for (const Accepted& c : cases) {
    EXPECT_EQ(StrToInt(std::u16string_view(c.text)), c.value) << ToUtf8(c.text);
  }
}

TEST(StrToInt, RefusesWithTheTextQuoted) {
  const char16_t* refused[] = {
      u"",          u" ",          u"abc",       u"12 ",       u"1 2",      u"+",       u"-",
      u"- 5",       u"$",          u"0x",        u"2147483648", u"-2147483649", u"99999999999",
      u"$123456789", u"0x0FFFFFFFF", u"12a",     u"1.5",       u"１２",      u"\t12",
  };
  for (const char16_t* text : refused) {
    try {
      StrToInt(std::u16string_view(text));
      ADD_FAILURE() << "accepted '" << ToUtf8(text) << "'";
    } catch (const ConvertError& e) {
      EXPECT_EQ(e.message(), u"'" + std::u16string(text) + u"' is not a valid integer value");
    }
  }
}

TEST(StrToInt, ReadsEightBitText) {
  EXPECT_EQ(StrToInt(std::string_view("  25")), 25);
  EXPECT_THROW(StrToInt(std::string_view("2\xC0")), ConvertError);
}

TEST(IntToStr, PlainDecimal) {
  EXPECT_EQ(IntToStr(0), u"0");
  EXPECT_EQ(IntToStr(-1), u"-1");
  EXPECT_EQ(IntToStr(2550), u"2550");
  EXPECT_EQ(IntToStr(INT32_MIN), u"-2147483648");
}

}  // namespace
}  // namespace tacho
