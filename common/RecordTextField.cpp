#include "RecordTextField.h"

#include "IntText.h"
#include "TextCodec.h"

namespace tacho {
namespace {

// "U+1F600": at least four hexadecimal digits.
std::u16string CodePointName(char32_t c) {
  std::u16string digits;
  for (char32_t rest = c; rest != 0 || digits.size() < 4; rest >>= 4) {
    digits.insert(digits.begin(), u"0123456789ABCDEF"[rest & 0xF]);
  }
  return u"U+" + digits;
}

// The character as the user can spot it: itself in quotes with its code, or the
// code alone for what cannot be shown (controls, lone surrogates).
std::u16string ShownCharacter(char32_t c) {
  const bool invisible = c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0xD800 && c <= 0xDFFF);
  if (invisible) return CodePointName(c);
  std::u16string shown = u"«";
  if (c >= 0x10000) {
    shown += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
    shown += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
  } else {
    shown += static_cast<char16_t>(c);
  }
  return shown + u"» (" + CodePointName(c) + u")";
}

}  // namespace

std::optional<std::u16string> FieldWidthFault(const RecordTextField& field, std::u16string_view text) {
  if (ToAnsi(text).size() <= field.width) return std::nullopt;
  const std::u16string width = IntToStr(static_cast<std::int64_t>(field.width));
  std::u16string message = u"Поле «";
  message += field.name;
  message += u"» длиннее " + width + u" символов!\n Запись не выполнена: сократите текст до " + width +
             u" символов.";
  return message;
}

std::optional<std::u16string> FieldCharacterFault(const RecordTextField& field, std::u16string_view text) {
  const std::optional<char32_t> lacking = FirstCharacterOutsideAnsi(text);
  if (!lacking) return std::nullopt;
  std::u16string message = u"Поле «";
  message += field.name;
  message += u"» содержит символ " + ShownCharacter(*lacking) +
             u", которого нет в кодировке Windows-1251!\n Запись не выполнена: замените или удалите этот символ.";
  return message;
}

}  // namespace tacho
