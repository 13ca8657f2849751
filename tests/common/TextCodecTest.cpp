#include "TextCodec.h"

#include <gtest/gtest.h>

namespace tacho {
namespace {

TEST(Windows1251, EncodesCyrillicAndMarksWhatItLacks) {
  EXPECT_EQ(ToAnsi(u"А123ВС77"), "\xC0" "123" "\xC2\xD1" "77");
  EXPECT_EQ(ToAnsi(u"РФ"), "\xD0\xD4");
  EXPECT_EQ(ToAnsi(u"Ёё№"), "\xA8\xB8\xB9");
  EXPECT_EQ(ToAnsi(u"яЯ"), "\xFF\xDF");
  // Characters outside the code page become one '?' each, a surrogate pair too.
  EXPECT_EQ(ToAnsi(u"a€b"), "a\x88" "b");
  EXPECT_EQ(ToAnsi(u"中"), "?");
  EXPECT_EQ(ToAnsi(u"x\U0001F600y"), "x?y");
  EXPECT_EQ(ToAnsi(std::u16string(1, char16_t(0xD800))), "?");
}

TEST(Windows1251, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  const std::u16string wide = FromAnsi(all);
  ASSERT_EQ(wide.size(), 256u);
  EXPECT_EQ(ToAnsi(wide), all);
  EXPECT_EQ(AnsiCharToWide(0xFF), u'я');
  EXPECT_EQ(AnsiCharToWide(0xC0), u'А');
}

struct OutsideCase {
  const char* name;
  std::u16string text;
  std::optional<char32_t> first;
};

void PrintTo(const OutsideCase& c, std::ostream* os) { *os << c.name; }

class FirstCharacterOutside1251 : public ::testing::TestWithParam<OutsideCase> {};

TEST_P(FirstCharacterOutside1251, AgreesWithTheQuestionMarksOfTheConversion) {
  EXPECT_EQ(FirstCharacterOutsideAnsi(GetParam().text), GetParam().first);
}

const OutsideCase kOutsideCases[] = {
    {"Empty", u"", std::nullopt},
    {"AsciiAndCyrillic", u"А123ВС77 РФ Ёё№", std::nullopt},
    {"EuroSignAndUnassigned0x98AreIn1251", u"€\u0098", std::nullopt},
    {"QuestionMarkItselfIsIn1251", u"?", std::nullopt},
    {"CjkCharacter", u"ab中c", U'中'},
    {"FirstOfTwo", u"xé中", U'é'},
    {"SurrogatePairIsOneCharacter", u"x\U0001F600y", U'\U0001F600'},
    {"LoneHighSurrogate", std::u16string{u'a', char16_t(0xD800), u'b'}, char32_t{0xD800}},
    {"LoneLowSurrogate", std::u16string{char16_t(0xDC00)}, char32_t{0xDC00}},
    {"ReplacementCharacter", u"\uFFFD", char32_t{0xFFFD}},
    {"C1ControlOtherThan0x98", u"\u0085", char32_t{0x85}},
};

INSTANTIATE_TEST_SUITE_P(Cases, FirstCharacterOutside1251, ::testing::ValuesIn(kOutsideCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Utf8, RoundTripsAndReplacesMalformedInput) {
  const std::u16string text = u"Калибровка € \U0001F600";
  EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
  EXPECT_EQ(ToUtf8(u"Ф"), "\xD0\xA4");
  EXPECT_EQ(FromUtf8("a\xFF" "b"), u"a\uFFFDb");
  EXPECT_EQ(FromUtf8("\xD0"), u"\uFFFD");
  EXPECT_EQ(FromUtf8("\xC0\x80"), u"\uFFFD");  // overlong
}

}  // namespace
}  // namespace tacho
