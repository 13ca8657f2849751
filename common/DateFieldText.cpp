#include "DateFieldText.h"

#include <algorithm>

namespace tacho {
namespace {

constexpr char16_t kSeparator = u'.';
constexpr char16_t kBlank = u' ';

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

std::u16string Normalised(std::u16string_view field) {
  return HasDateFieldForm(field) ? std::u16string(field) : std::u16string(kBlankDateField);
}

// The mask's fitting of `input` from position `pos`: the characters it places
// from `pos` on, taking untouched positions from `fill`.
std::u16string MaskFit(std::size_t pos, std::u16string_view input, std::u16string_view fill) {
  std::u16string placed;
  std::size_t i = pos;
  for (std::size_t k = 0; k < input.size() && i < kDateFieldLength;) {
    const char16_t c = input[k];
    if (IsDateSeparatorPosition(i)) {
      placed += kSeparator;
      if (c == kSeparator) ++k;
      ++i;
      continue;
    }
    if (IsDigit(c)) {
      placed += c;
      ++i;
    } else if (c == kSeparator) {
      // A dot moves on to the next dot, keeping what stands between; a lone dot
      // typed right behind a dot does nothing.
      std::size_t next = i;
      while (next < kDateFieldLength && !IsDateSeparatorPosition(next)) ++next;
      const bool behindDot = i > 0 && IsDateSeparatorPosition(i - 1);
      if (next < kDateFieldLength && (input.size() != 1 || !behindDot)) {
        placed += fill.substr(i, next - i + 1);
        i = next + 1;
      }
    }
    ++k;
  }
  return placed;
}

std::u16string BlankRange(std::u16string text, std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to && i < text.size(); ++i) {
    if (!IsDateSeparatorPosition(i)) text[i] = kBlank;
  }
  return text;
}

// The next position a digit can take, from `pos` on.
std::size_t NextDigitPosition(std::size_t pos) {
  while (pos < kDateFieldLength && IsDateSeparatorPosition(pos)) ++pos;
  return pos;
}

}  // namespace

bool HasDateFieldForm(std::u16string_view text) {
  if (text.size() != kDateFieldLength) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsDateSeparatorPosition(i) ? text[i] != kSeparator : text[i] != kBlank && !IsDigit(text[i])) return false;
  }
  return true;
}

std::u16string FitDateFieldText(std::u16string_view text) {
  if (HasDateFieldForm(text)) return std::u16string(text);
  std::u16string field(kBlankDateField);
  const std::u16string placed = MaskFit(0, text, kBlankDateField);
  field.replace(0, placed.size(), placed);
  return field;
}

DateFieldEdit InsertIntoDateField(std::u16string_view field, std::size_t selStart, std::size_t selEnd,
                                  std::u16string_view input) {
  std::u16string text = Normalised(field);
  selStart = std::min(selStart, kDateFieldLength);
  selEnd = std::clamp(selEnd, selStart, kDateFieldLength);
  text = BlankRange(std::move(text), selStart, selEnd);
  const std::u16string placed = MaskFit(selStart, input, text);
  text.replace(selStart, placed.size(), placed);
  const std::size_t caret = placed.empty() ? selStart : NextDigitPosition(selStart + placed.size());
  return {text, caret};
}

DateFieldEdit EraseInDateField(std::u16string_view field, std::size_t selStart, std::size_t selEnd, bool backwards) {
  std::u16string text = Normalised(field);
  selStart = std::min(selStart, kDateFieldLength);
  selEnd = std::clamp(selEnd, selStart, kDateFieldLength);
  if (selStart != selEnd) return {BlankRange(std::move(text), selStart, selEnd), selStart};
  if (backwards) {
    if (selStart == 0) return {text, 0};
    std::size_t at = selStart - 1;
    while (at > 0 && IsDateSeparatorPosition(at)) --at;
    return {BlankRange(std::move(text), at, at + 1), at};
  }
  const std::size_t at = NextDigitPosition(selStart);
  if (at >= kDateFieldLength) return {text, selStart};
  return {BlankRange(std::move(text), at, at + 1), at + 1};
}

}  // namespace tacho
