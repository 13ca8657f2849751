#include "AppTitle.h"

namespace tacho {
namespace {

// The lower-case form of a letter of the Latin, Greek and Cyrillic alphabets;
// any other character unchanged.
char16_t ToLowerLetter(char16_t c) {
  const auto shifted = [c](int by) { return static_cast<char16_t>(c + by); };
  if (c >= u'A' && c <= u'Z') return shifted(0x20);
  if ((c >= 0x00C0 && c <= 0x00DE) && c != 0x00D7) return shifted(0x20);  // À..Þ, not ×
  if (c >= 0x0100 && c <= 0x0137 && c % 2 == 0 && c != 0x0130) return shifted(1);  // Latin Extended-A pairs
  if (c >= 0x0139 && c <= 0x0148 && c % 2 == 1) return shifted(1);
  if (c >= 0x014A && c <= 0x0177 && c % 2 == 0) return shifted(1);
  if (c >= 0x0391 && c <= 0x03AB && c != 0x03A2) return shifted(0x20);     // Greek Α..Ϋ
  if (c >= 0x0400 && c <= 0x040F) return shifted(0x50);                    // Ѐ..Џ
  if (c >= 0x0410 && c <= 0x042F) return shifted(0x20);                    // А..Я
  if (c >= 0x0460 && c <= 0x04BF && c % 2 == 0 && (c < 0x0482 || c >= 0x048A)) return shifted(1);
  return c;
}

}  // namespace

std::u16string ApplicationTitle(std::u16string_view programFilePath) {
  const std::size_t slash = programFilePath.find_last_of(u"/\\");
  std::u16string_view name = slash == std::u16string_view::npos ? programFilePath : programFilePath.substr(slash + 1);
  name = name.substr(0, name.find(u'.'));
  std::u16string title(name);
  for (std::size_t i = 1; i < title.size(); ++i) title[i] = ToLowerLetter(title[i]);
  return title;
}

}  // namespace tacho
