#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HelpText.h"

namespace tacho {
namespace {

std::vector<std::u16string> Lines(const std::u16string& text) {
  std::vector<std::u16string> lines(1);
  for (char16_t c : text) {
    if (c == u'\n') {
      lines.emplace_back();
    } else {
      lines.back() += c;
    }
  }
  return lines;
}

TEST(HelpText, HasFourteenLinesExactlyAsWrittenWithLineFeedsOnly) {
  const std::u16string text = HelpText();
  EXPECT_EQ(text.find(u'\r'), std::u16string::npos);
  EXPECT_NE(text.back(), u'\n');

  const std::vector<std::u16string> expected = {
      u"\t                    ПРОГРАММА ЗАПИСИ КАЛИБРОВОЧНЫХ ДАННЫХ  ",
      u"\t                    *****************************************",
      u"\t                                     версия 1.1.2 от 17.10.2013 ",
      u"\t                      ***************************************",
      u" ",
      u" Данная программа записывает калибровочные данные в тахограф *ВИРОН RV-38М*  ",
      u" в качестве предустановок. При выполнении калибровки их можно будет изменить. ",
      u" ",
      u" Для подключения ПК к тахографу *ВИРОН RV-38* необходимо установить драйвер ",
      u" виртуального COM-потра **usb_com_driver_setup.exe** (если он ещё не установлен). ",
      u" ",
      u" Скачать драйвер можно с сайта  www.example.com  из раздела *Техническая поддержка* ",
      u"  ",
      u"                    Для соединения ПК с тахографом необходим кабель USB-AA.",
  };
  const std::vector<std::u16string> lines = Lines(text);
  ASSERT_EQ(lines.size(), 14u);
  for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_TRUE(lines[i] == expected[i]) << "line " << i + 1;
}

TEST(HelpText, LineLengthsCountEverySpaceAndAsterisk) {
  // Lengths in characters, counted from the layout: tab, spaces, text, spaces.
  const std::size_t lengths[] = {1 + 20 + 37 + 2, 1 + 20 + 41, 1 + 37 + 26 + 1, 1 + 22 + 39, 1, 1 + 74 + 2,
                                 1 + 76 + 1,      1,           1 + 74 + 1,      0,           1, 0,
                                 2,               20 + 55};
  const std::vector<std::u16string> lines = Lines(HelpText());
  ASSERT_EQ(lines.size(), 14u);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lengths[i] != 0) {
      EXPECT_EQ(lines[i].size(), lengths[i]) << "line " << i + 1;
    }
  }
}

}  // namespace
}  // namespace tacho
