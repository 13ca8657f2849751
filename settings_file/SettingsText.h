// The bytes of a settings file: written as Windows-1251 with CR LF after every
// line; read with byte-order-mark detection and cut into lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tacho {

// Every line followed by CR LF, one byte a character, no byte-order mark; a
// character Windows-1251 lacks becomes '?'. A line is written up to its first
// CR, LF or NUL: read back, each would break the file's line structure (a NUL
// ends the whole text), so a saved file keeps one line for each entry.
std::string EncodeSettingsFile(const std::vector<std::u16string>& lines);

// The file's text: UTF-8 after EF BB BF, UTF-16 LE after FF FE, UTF-16 BE after
// FE FF (the mark dropped), Windows-1251 otherwise. The text ends at its first NUL.
std::u16string DecodeSettingsBytes(std::string_view bytes);

// CR, LF and CR LF each end a line (LF CR is two ends); a break at the very end
// adds no empty line; a last line without a break counts.
std::vector<std::u16string> SplitLines(std::u16string_view text);

// DecodeSettingsBytes, then SplitLines.
std::vector<std::u16string> DecodeSettingsText(std::string_view bytes);

}  // namespace tacho
