// The text rules of the masked date field, "DD.MM.YYYY" with a space in every
// blank position: how a text set by program is fitted, and how typing, pasting
// and erasing change it. Toolkit-free; each front end's date field applies them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tacho {

inline constexpr std::u16string_view kBlankDateField = u"  .  .    ";
inline constexpr std::size_t kDateFieldLength = kBlankDateField.size();

constexpr bool IsDateSeparatorPosition(std::size_t i) { return i == 2 || i == 5; }

// Ten characters, dots at 2 and 5, a digit or a space everywhere else.
bool HasDateFieldForm(std::u16string_view text);

// The field's text after a program sets `text`: a text of the field's form is
// kept as it is; any other text is fitted into the blank mask from the left, a
// digit into each digit position, a dot moving on to the next dot, every other
// character dropped.
std::u16string FitDateFieldText(std::u16string_view text);

struct DateFieldEdit {
  std::u16string text;
  std::size_t caret;
  friend bool operator==(const DateFieldEdit&, const DateFieldEdit&) = default;
};

// The user types or pastes `input` over the selection [selStart, selEnd) of
// `field` (a text of the field's form): the selection is blanked first, then
// `input` is fitted from selStart on as above, overwriting what stands there;
// the caret goes behind what was placed, past a dot.
DateFieldEdit InsertIntoDateField(std::u16string_view field, std::size_t selStart, std::size_t selEnd,
                                  std::u16string_view input);

// Backspace (backwards) or Delete over the selection, or next to the caret when
// nothing is selected: the digit positions become blanks; dots stay.
DateFieldEdit EraseInDateField(std::u16string_view field, std::size_t selStart, std::size_t selEnd, bool backwards);

}  // namespace tacho
