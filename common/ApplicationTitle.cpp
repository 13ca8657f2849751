#include "ApplicationTitle.h"

namespace tacho {

char16_t LowerLetter(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= 0x00C0 && c <= 0x00DE && c != 0x00D7)) return static_cast<char16_t>(c + 0x20);
  if (c >= 0x0410 && c <= 0x042F) return static_cast<char16_t>(c + 0x20);  // А..Я
  if (c >= 0x0400 && c <= 0x040F) return static_cast<char16_t>(c + 0x50);  // Ѐ..Џ (Ё among them)
  return c;
}

std::u16string ApplicationTitleFromPath(std::u16string_view programFilePath) {
  const std::size_t slash = programFilePath.find_last_of(u"\\/");
  std::u16string_view name = slash == std::u16string_view::npos ? programFilePath : programFilePath.substr(slash + 1);
  name = name.substr(0, name.find(u'.'));
  std::u16string title(name);
  for (std::size_t i = 1; i < title.size(); ++i) title[i] = LowerLetter(title[i]);
  return title;
}

}  // namespace tacho
