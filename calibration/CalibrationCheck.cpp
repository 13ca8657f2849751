#include "CalibrationCheck.h"

#include <string>

#include "CalibrationRecord.h"
#include "IntText.h"

namespace tacho {
namespace {

std::u16string RangeMessage(std::u16string_view first, std::size_t blanks, std::u16string_view bounds) {
  std::u16string text(first);
  text += u'\n';
  text.append(blanks, u' ');
  text += bounds;
  return text;
}

constexpr std::u16string_view kOdometerMessage =
    u"Некорректно введены показания счётчика пробега!\n Введите целое число километров: от 1 до 6 цифр.";

// Whole kilometres, as the record takes them: one to six decimal digits after
// any leading blanks. The strict conversion alone would also take a sign or a
// hexadecimal prefix, and with the "0" the record appends, "-5", "x10" and "$A"
// would reach the device as -50, 256 and 160 tenths of a kilometre.
bool IsOdometerReading(std::u16string_view text) {
  const std::size_t start = text.find_first_not_of(u' ');
  if (start == std::u16string_view::npos) return false;
  const std::u16string_view digits = text.substr(start);
  if (digits.size() > 6) return false;
  for (char16_t c : digits) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

}  // namespace

std::int32_t CheckCalibration(IForm& form) {
  std::int32_t result = 0;
  auto refuse = [&](std::u16string_view text, std::optional<std::u16string_view> caption = std::nullopt) {
    form.ShowMessageBox(text, caption);
    result = 1;
  };
  auto requireText = [&](ControlId id, std::u16string_view message) {
    if (form.ReadText(id).empty()) refuse(message);
  };
  auto requireRange = [&](ControlId id, std::int32_t low, std::int32_t high, const std::u16string& message) {
    const std::u16string text = form.ReadText(id);
    if (text.empty()) return;
    const std::int32_t value = StrToInt(text);
    if (value < low || value > high) refuse(message, kAttentionCaption);
  };

  requireText(ControlId::sEdit_VIN, u"Введите VIN!");
  requireText(ControlId::sEdit_VRN, u"Введите VRN!");
  requireText(ControlId::sEdit_W, u"Введите W!");
  requireRange(ControlId::sEdit_W, 500, 60000,
               RangeMessage(u"Некоректно введён характеристический коэффициент! ", 33, u"500 < W < 60000"));
  requireText(ControlId::sEdit_L, u"Введите L!");
  requireRange(ControlId::sEdit_L, 10, 65000,
               RangeMessage(u"Некоректно введена окружность шин колёс! ", 25, u"10 < L < 65000"));
  requireText(ControlId::sEdit_typeSize, u"Введите обозначение размера шин!");
  requireText(ControlId::sEdit_speed, u"Введите разрешённую скорость!");
  requireRange(ControlId::sEdit_speed, 10, 200,
               RangeMessage(u"Некоректно введена максимальная скорость!  ", 28, u"10 < V < 200"));
  requireText(ControlId::sEdit_odometer, u"Введите показания счётчика пробега!");

  const std::u16string odometer = form.ReadText(ControlId::sEdit_odometer);
  if (!odometer.empty() && !IsOdometerReading(odometer)) refuse(kOdometerMessage, kAttentionCaption);

  // A text wider than its record field would reach the device cut short, and a
  // character the code page lacks would reach it as '?'.
  for (const RecordTextField& field : kCalibrationTextFields) {
    const std::u16string text = form.ReadText(field.control);
    if (auto fault = FieldWidthFault(field, text)) refuse(*fault, kAttentionCaption);
    if (auto fault = FieldCharacterFault(field, text)) refuse(*fault, kAttentionCaption);
  }
  return result;
}

}  // namespace tacho
