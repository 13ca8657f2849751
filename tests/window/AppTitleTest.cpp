#include "AppTitle.h"

#include <gtest/gtest.h>

#include <string>

namespace tacho {
namespace {

std::string Utf8(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

TEST(ApplicationTitle, IsTheFileNameCutBeforeItsFirstDotWithLaterLettersInLowerCase) {
  const struct {
    const char* name;
    std::u16string_view path;
    std::u16string_view title;
  } cases[] = {
      {"plain name", u"/usr/bin/Tachocalib", u"Tachocalib"},
      {"capitals", u"C:/Program Files/Tacho/TACHOCALIB.EXE", u"Tachocalib"},
      {"backslashes", u"C:\\Tacho\\TachoCalib.exe", u"Tachocalib"},
      {"first dot, not the last", u"/opt/Tacho.calib.exe", u"Tacho"},
      {"dot in a folder", u"/opt/a.b/Writer", u"Writer"},
      {"Cyrillic capitals", u"ПРОГРАММА.exe", u"Программа"},
      {"Cyrillic Ё and Ї", u"ЁЖИКЇ.exe", u"Ёжикї"},
      {"Latin-1 capitals, not the sign ×", u"ÉCOLE×ÀÞ.exe", u"École×àþ"},
      {"digits and signs kept", u"TACHO-2_V1.exe", u"Tacho-2_v1"},
      {"first letter kept as it is", u"tachocalib", u"tachocalib"},
      {"one letter", u"/opt/X.exe", u"X"},
      {"no name before the dot", u"/opt/.Hidden", u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf8(ApplicationTitle(c.path)), Utf8(c.title));
  }
}

}  // namespace
}  // namespace tacho
