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

  // A text wider than its record field would reach the device cut short.
  for (const RecordTextField& field : kCalibrationTextFields) {
    if (auto fault = FieldWidthFault(field, form.ReadText(field.control))) refuse(*fault, kAttentionCaption);
  }
  return result;
}

}  // namespace tacho
