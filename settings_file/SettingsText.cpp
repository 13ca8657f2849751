#include "SettingsText.h"

#include "TextCodec.h"

namespace tacho {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
// The characters that end a line, or the whole text, when a file is read.
constexpr std::u16string_view kLineEnders{u"\r\n\0", 3};

// Two bytes a unit; a dangling last byte is dropped.
std::u16string FromUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string out;
  out.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    out.push_back(static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first));
  }
  return out;
}

}  // namespace

std::string EncodeSettingsFile(const std::vector<std::u16string>& lines) {
  std::string out;
  for (const std::u16string_view line : lines) {
    out += ToAnsi(line.substr(0, line.find_first_of(kLineEnders)));
    out += "\r\n";
  }
  return out;
}

std::u16string DecodeSettingsBytes(std::string_view bytes) {
  std::u16string text;
  if (bytes.starts_with(kUtf8Mark)) {
    text = FromUtf8(bytes.substr(kUtf8Mark.size()));
  } else if (bytes.starts_with(kUtf16LeMark)) {
    text = FromUtf16(bytes.substr(kUtf16LeMark.size()), false);
  } else if (bytes.starts_with(kUtf16BeMark)) {
    text = FromUtf16(bytes.substr(kUtf16BeMark.size()), true);
  } else {
    text = FromAnsi(bytes);
  }
  if (const auto nul = text.find(u'\0'); nul != std::u16string::npos) text.resize(nul);
  return text;
}

std::vector<std::u16string> SplitLines(std::u16string_view text) {
  std::vector<std::u16string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c != u'\r' && c != u'\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::vector<std::u16string> DecodeSettingsText(std::string_view bytes) {
  return SplitLines(DecodeSettingsBytes(bytes));
}

}  // namespace tacho
