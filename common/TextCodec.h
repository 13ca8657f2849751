// Text conversions: wide (UTF-16) text to and from the 8-bit code page of records
// and files (Windows-1251 on every platform), and to and from UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tacho {

// One byte a character; a character Windows-1251 lacks becomes '?' (one byte,
// a surrogate pair included).
std::string ToAnsi(std::u16string_view text);
// One character a byte; 0x98, which Windows-1251 leaves unassigned, maps to
// U+0098 as on Windows, so every byte survives a round trip.
std::u16string FromAnsi(std::string_view bytes);
char16_t AnsiCharToWide(unsigned char byte);
// The first character of the text that Windows-1251 lacks, which ToAnsi would
// turn into '?': a code point, or the unit of a lone surrogate; nullopt when
// every character has its byte.
std::optional<char32_t> FirstCharacterOutsideAnsi(std::u16string_view text);

std::string ToUtf8(std::u16string_view text);
// Malformed sequences become U+FFFD.
std::u16string FromUtf8(std::string_view bytes);

}  // namespace tacho
