#include "GsmCheck.h"

#include <string_view>

#include "GsmRecord.h"
#include "IntText.h"

namespace tacho {
namespace {

constexpr std::u16string_view kRangeCaption = u"Внимание";

struct EmptyTest {
  ControlId control;
  std::u16string_view message;
};

constexpr EmptyTest kEmptyTests[] = {
    {ControlId::Edit_operator, u"Введите строку подключения!"},
    {ControlId::Edit_IP, u"Введите IP!"},
    {ControlId::Edit_port, u"Введите номер порта!"},
    {ControlId::Edit_int_save, u"Введите интервал сохранения данных!"},
    {ControlId::Edit_int_send, u"Введите интервал передачи данных!"},
};

struct RangeTest {
  ControlId control;
  std::int32_t low;
  std::int32_t high;
  std::u16string_view message;
};

constexpr RangeTest kRangeTests[] = {
    {ControlId::Edit_int_send, 10, 2500,
     u"Некорректно введен интервал передачи данных!\n Значение должно быть в пределах от 10 до 2500 секунд."},
    {ControlId::Edit_int_save, 5, 1200,
     u"Некорректно введен интервал сохранения данных!\n Значение должно быть в пределах от 5 до 1200 секунд."},
};

}  // namespace

std::int32_t CheckGsm(IForm& form) {
  std::int32_t result = 1;
  for (const EmptyTest& test : kEmptyTests) {
    if (form.ReadText(test.control).empty()) {
      form.ShowMessageBox(test.message);
      result = 0;
    }
  }
  for (const RangeTest& test : kRangeTests) {
    // An empty field gets here too: the conversion refuses it and ends the command.
    const std::int32_t value = StrToInt(form.ReadText(test.control));
    if (value < test.low || value > test.high) {
      form.ShowMessageBox(test.message, kRangeCaption);
      result = 0;
    }
  }
  // The record has no room for more, and its code page has no byte for some
  // characters: refuse rather than cut or send '?'.
  auto refuse = [&](const std::optional<std::u16string>& fault) {
    if (!fault) return;
    form.ShowMessageBox(*fault, kAttentionCaption);
    result = 0;
  };
  for (const RecordTextField& field : kGsmTextFields) {
    const std::u16string text = form.ReadText(field.control);
    refuse(FieldWidthFault(field, text));
    refuse(FieldCharacterFault(field, text));
  }
  return result;
}

}  // namespace tacho
