#include "RecordTextField.h"

#include "IntText.h"
#include "TextCodec.h"

namespace tacho {

std::optional<std::u16string> FieldWidthFault(const RecordTextField& field, std::u16string_view text) {
  if (ToAnsi(text).size() <= field.width) return std::nullopt;
  const std::u16string width = IntToStr(static_cast<std::int64_t>(field.width));
  std::u16string message = u"Поле «";
  message += field.name;
  message += u"» длиннее " + width + u" символов!\n Запись не выполнена: сократите текст до " + width +
             u" символов.";
  return message;
}

}  // namespace tacho
