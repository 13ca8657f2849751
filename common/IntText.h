// The strict string-to-integer conversion and integer-to-decimal text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tacho {

// Leading blanks, an optional sign, then decimal digits, or hexadecimal digits
// after "$", "x", "X", "0x" or "0X". Anything else (trailing blanks included),
// an empty text, a decimal value outside int32 or more than eight hex digits
// throws ConvertError: "'<text>' is not a valid integer value".
std::int32_t StrToInt(std::u16string_view text);
// The same for 8-bit text (Windows-1251).
std::int32_t StrToInt(std::string_view ansi);

std::u16string IntToStr(std::int64_t value);

}  // namespace tacho
