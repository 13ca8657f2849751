#include "SettingsText.h"

#include <gtest/gtest.h>

namespace tacho {
namespace {

using Lines = std::vector<std::u16string>;

TEST(SettingsTextEncode, EveryLineInWindows1251FollowedByCrLfWithoutMark) {
  EXPECT_EQ(EncodeSettingsFile({u"43", u"", u"РФ"}), std::string("43\r\n\r\n\xD0\xD4\r\n"));
  EXPECT_EQ(EncodeSettingsFile({}), "");
}

TEST(SettingsTextEncode, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  // A CJK character, a character outside the basic plane (one '?' for the pair), and a euro sign that 1251 has.
  EXPECT_EQ(EncodeSettingsFile({u"a\u4E2Db\U0001F600c\u20AC"}), std::string("a?b?c\x88\r\n"));
}

struct EncodeCase {
  const char* name;
  std::u16string line;
  std::string bytes;
};

void PrintTo(const EncodeCase& c, std::ostream* os) { *os << c.name; }

class SettingsTextEncodeLine : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(SettingsTextEncodeLine, KeepsOneLineForTheEntry) {
  EXPECT_EQ(EncodeSettingsFile({GetParam().line, u"next"}), GetParam().bytes + "\r\nnext\r\n");
}

const EncodeCase kEncodeCases[] = {
    {"PlainText", u"10.0.0.1", "10.0.0.1"},
    {"LfKeepsTheTextBeforeIt", u"10.0.0.1\nrest", "10.0.0.1"},
    {"CrKeepsTheTextBeforeIt", u"10.0.0.1\rrest", "10.0.0.1"},
    {"CrLfKeepsTheTextBeforeIt", u"ab\r\ncd\r\n", "ab"},
    {"BreakFirstGivesAnEmptyLine", u"\nab", ""},
    {"NulKeepsTheTextBeforeIt", std::u16string(u"ab\0cd", 5), "ab"},
    {"OtherControlCharactersStay", u"a\tb\x0B", "a\tb\x0B"},
};

INSTANTIATE_TEST_SUITE_P(Cases, SettingsTextEncodeLine, ::testing::ValuesIn(kEncodeCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct DecodeCase {
  const char* name;
  std::string bytes;
  Lines lines;
};

void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }

class SettingsTextDecode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(SettingsTextDecode, CutsTheDecodedTextIntoLines) {
  EXPECT_EQ(DecodeSettingsText(GetParam().bytes), GetParam().lines);
}

const DecodeCase kDecodeCases[] = {
    {"Empty", "", {}},
    {"CrLf", "a\r\nb\r\n", {u"a", u"b"}},
    {"LfOnly", "a\nb\n", {u"a", u"b"}},
    {"CrOnly", "a\rb\r", {u"a", u"b"}},
    {"LastLineWithoutBreak", "a\r\nb", {u"a", u"b"}},
    {"LfCrIsTwoBreaks", "a\n\rb", {u"a", u"", u"b"}},
    {"LfCrAtTheEnd", "a\n\r", {u"a", u""}},
    {"EmptyLines", "\r\n\r\n\n", {u"", u"", u""}},
    {"CrCrLf", "a\r\r\nb", {u"a", u"", u"b"}},
    {"Windows1251", "\xD0\xD4\r\n", {u"РФ"}},
    {"Unassigned0x98SurvivesAsU0098", "\x98", {u"\u0098"}},
    {"NulEndsTheText", std::string("a\r\nb\0c\r\nd", 10), {u"a", u"b"}},
    {"NulFirst", std::string("\0a\r\n", 4), {}},
    {"Utf8Mark", "\xEF\xBB\xBF\xD0\xA0\xD0\xA4\r\n+0", {u"РФ", u"+0"}},
    {"Utf8MarkOnly", "\xEF\xBB\xBF", {}},
    {"MalformedUtf8", "\xEF\xBB\xBF\xFFx", {u"\uFFFDx"}},
    {"Utf8WithoutMarkReadAs1251", "\xD0\xA0\xD0\xA4", {u"Р\u00A0Р¤"}},
    {"Utf16LeMark", std::string("\xFF\xFE\x20\x04\x24\x04\r\0\n\0x\0", 12), {u"РФ", u"x"}},
    {"Utf16BeMark", std::string("\xFE\xFF\x04\x20\x04\x24\0\n\0x", 10), {u"РФ", u"x"}},
    {"Utf16DanglingByteDropped", std::string("\xFF\xFEx\0y", 5), {u"x"}},
    {"Utf16NulEndsTheText", std::string("\xFF\xFEx\0\0\0y\0", 8), {u"x"}},
    {"Utf16SurrogatePairKept", std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), {u"\U0001F600"}},
    {"PartialMarkIs1251", "\xEF\xBB", {u"п»"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, SettingsTextDecode, ::testing::ValuesIn(kDecodeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsTextRoundTrip, EncodedLinesDecodeToThemselves) {
  const Lines lines = {u"", u"А123ВС77", u"43", u"  .  .    ", u"-0", u"Ёё№", u""};
  EXPECT_EQ(DecodeSettingsText(EncodeSettingsFile(lines)), lines);
}

}  // namespace
}  // namespace tacho
