#include "SettingsFileName.h"

#include <gtest/gtest.h>

#include "TextCodec.h"

namespace tacho {
namespace {

struct NameCase {
  std::u16string chosen;
  std::u16string saved;
};

void PrintTo(const NameCase& c, std::ostream* os) { *os << ToUtf8(c.chosen); }

class SettingsFileName : public ::testing::TestWithParam<NameCase> {};

TEST_P(SettingsFileName, AddsTxtUnlessTheExtensionIsExactlyTxt) {
  EXPECT_EQ(WithTxtExtension(GetParam().chosen), GetParam().saved);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsFileName,
    ::testing::Values(NameCase{u"А123ВС77", u"А123ВС77.txt"}, NameCase{u"a.txt", u"a.txt"},
                      NameCase{u"/home/u/a.txt", u"/home/u/a.txt"}, NameCase{u"a.TXT", u"a.TXT.txt"},
                      NameCase{u"a.Txt", u"a.Txt.txt"}, NameCase{u"a.", u"a..txt"},
                      NameCase{u"a.txt.bak", u"a.txt.bak.txt"}, NameCase{u"a.csv", u"a.csv.txt"},
                      NameCase{u"a.txt ", u"a.txt .txt"}, NameCase{u".txt", u".txt"},
                      NameCase{u"C:\\dir.txt\\file", u"C:\\dir.txt\\file.txt"},
                      NameCase{u"C:\\dir\\a.txt", u"C:\\dir\\a.txt"}, NameCase{u"", u".txt"}));

}  // namespace
}  // namespace tacho
