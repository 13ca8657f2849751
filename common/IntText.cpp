#include "IntText.h"

#include "AppError.h"
#include "TextCodec.h"

namespace tacho {
namespace {

[[noreturn]] void Refuse(std::u16string_view text) {
  std::u16string message = u"'";
  message.append(text);
  message.append(u"' is not a valid integer value");
  throw ConvertError(std::move(message));
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

}  // namespace

std::int32_t StrToInt(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';

  bool hex = false;
  if (i < text.size() && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
    hex = true;
    i += 2;
  }
  if (i == text.size()) Refuse(text);

  if (hex) {
    if (text.size() - i > 8) Refuse(text);
    std::uint32_t value = 0;
    for (; i < text.size(); ++i) {
      const int d = HexDigit(text[i]);
      if (d < 0) Refuse(text);
      value = (value << 4) | static_cast<std::uint32_t>(d);
    }
    // Eight hex digits give the full 32-bit pattern, so "$FFFFFFFF" is -1.
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
  }

  const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c < u'0' || c > u'9') Refuse(text);
    value = value * 10 + (c - u'0');
    if (value > limit) Refuse(text);
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

std::int32_t StrToInt(std::string_view ansi) { return StrToInt(FromAnsi(ansi)); }

std::u16string IntToStr(std::int64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace tacho
