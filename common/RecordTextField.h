// A text field of a device record (calibration or GSM settings): where it stands,
// how many bytes it holds, and the checks that refuse a wider text and a text
// the record's code page cannot hold.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "Form.h"

namespace tacho {

// The caption of the port error, of command outcomes and of refused entries.
inline constexpr std::u16string_view kAttentionCaption = u"Внимание!";

struct RecordTextField {
  constexpr RecordTextField(ControlId field, std::size_t at, std::size_t bytes)
      : control(field), offset(at), width(bytes), name(FieldName(field)) {}

  ControlId control;
  std::size_t offset;
  std::size_t width;
  std::u16string_view name;  // as the user knows the field (its bound label), for messages
};

// The message for a text whose 8-bit form is wider than its field (it would
// reach the device cut short), or nullopt when it fits.
std::optional<std::u16string> FieldWidthFault(const RecordTextField& field, std::u16string_view text);

// The message for a text holding a character that Windows-1251 lacks (it would
// reach the device as '?'), naming the first such character; nullopt when none.
std::optional<std::u16string> FieldCharacterFault(const RecordTextField& field, std::u16string_view text);

}  // namespace tacho
