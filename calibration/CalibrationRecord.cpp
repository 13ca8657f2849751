#include "CalibrationRecord.h"

#include <algorithm>
#include <string>

#include "DateFields.h"
#include "IntText.h"
#include "TextCodec.h"

namespace tacho {

const std::array<RecordTextField, 4> kCalibrationTextFields = {{
    {ControlId::sEdit_VIN, calib::kVin, calib::kVinWidth},
    {ControlId::sEdit_VRN, calib::kVrn, calib::kVrnWidth},
    {ControlId::sEdit_typeSize, calib::kTyreSize, calib::kTyreSizeWidth},
    {ControlId::sEdit_master_N, calib::kWorkshop, calib::kWorkshopWidth},
}};

namespace {

using Payload = std::array<std::uint8_t, kPayloadSize>;

// Blanks `blanked` bytes from `offset`, then copies the text's 8-bit bytes there.
// The copy never passes `width` bytes: wider texts are refused before a write.
void PutText(Payload& area, std::size_t offset, std::size_t blanked, std::size_t width,
             std::u16string_view text) {
  std::fill_n(area.begin() + static_cast<std::ptrdiff_t>(offset), blanked, std::uint8_t{0x20});
  const std::string bytes = ToAnsi(text);
  const std::size_t count = std::min(bytes.size(), width);
  std::copy_n(bytes.begin(), count, area.begin() + static_cast<std::ptrdiff_t>(offset));
}

void PutInt32(Payload& area, std::size_t offset, std::int32_t value) {
  const auto u = static_cast<std::uint32_t>(value);
  for (std::size_t i = 0; i < 4; ++i) area[offset + i] = static_cast<std::uint8_t>(u >> (8 * i));
}

}  // namespace

std::uint8_t NationCode(int index) {
  if (index >= 0 && index <= 52) return static_cast<std::uint8_t>(index);
  switch (index) {
    case 53:
      return 0xFD;
    case 54:
      return 0xFE;
    case 55:
    case -1:
      return 0xFF;
    default:
      return 0x00;
  }
}

std::uint8_t NationCode(const IForm& form) { return NationCode(form.SelectedIndex(ControlId::sComboBox_country)); }

void FillCalibration(const IForm& form, Payload& PayloadArea) {
  using namespace calib;
  std::fill_n(PayloadArea.begin(), kPayloadFillEnd, std::uint8_t{0xFF});
  PutText(PayloadArea, kVin, kVinWidth, kVinWidth, form.ReadText(ControlId::sEdit_VIN));
  PayloadArea[kNation] = NationCode(form);
  // The VRN step blanks 14 bytes; W's low byte then takes the last of them.
  PutText(PayloadArea, kVrn, kVrnBlanked, kVrnWidth, form.ReadText(ControlId::sEdit_VRN));
  PutInt32(PayloadArea, kW, StrToInt(form.ReadText(ControlId::sEdit_W)));
  // L is stored whole, then the tyre size blanks its upper two bytes.
  PutInt32(PayloadArea, kL, StrToInt(form.ReadText(ControlId::sEdit_L)));
  PutText(PayloadArea, kTyreSize, kTyreSizeWidth, kTyreSizeWidth, form.ReadText(ControlId::sEdit_typeSize));
  PayloadArea[kSpeed] = static_cast<std::uint8_t>(StrToInt(form.ReadText(ControlId::sEdit_speed)) & 0xFF);
  // The device counts the odometer in tenths of a kilometre.
  PutInt32(PayloadArea, kOdometer, StrToInt(form.ReadText(ControlId::sEdit_odometer) + u"0"));
  PutInt32(PayloadArea, kFirstTime, DateToTime(1, form));
  PutInt32(PayloadArea, kNextCalibrationTime, DateToTime(2, form));
  PayloadArea[kOffsetHours] = LocalOffsetPart("hour", form);
  PayloadArea[kOffsetMinutes] = LocalOffsetPart("min", form);
  PutText(PayloadArea, kWorkshop, kWorkshopWidth, kWorkshopWidth, form.ReadText(ControlId::sEdit_master_N));
}

}  // namespace tacho
