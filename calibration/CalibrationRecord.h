// The 184-byte calibration record, assembled in the PayloadArea from the
// calibration page. Offsets and widths are named once here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "Form.h"
#include "RecordTextField.h"
#include "Session.h"

namespace tacho {

namespace calib {
inline constexpr std::size_t kVin = 95;
inline constexpr std::size_t kVinWidth = 17;
inline constexpr std::size_t kNation = 112;
inline constexpr std::size_t kVrn = 114;
inline constexpr std::size_t kVrnWidth = 13;
inline constexpr std::size_t kVrnBlanked = 14;  // the fill of the VRN step reaches byte 127
inline constexpr std::size_t kW = 127;
inline constexpr std::size_t kL = 131;
inline constexpr std::size_t kTyreSize = 133;
inline constexpr std::size_t kTyreSizeWidth = 15;
inline constexpr std::size_t kSpeed = 148;
inline constexpr std::size_t kOdometer = 152;
inline constexpr std::size_t kFirstTime = 159;
inline constexpr std::size_t kNextCalibrationTime = 163;
inline constexpr std::size_t kOffsetHours = 167;
inline constexpr std::size_t kOffsetMinutes = 168;
inline constexpr std::size_t kWorkshop = 169;
inline constexpr std::size_t kWorkshopWidth = 15;
}  // namespace calib

// The four text fields, in record order.
extern const std::array<RecordTextField, 4> kCalibrationTextFields;

// The nation code of country list item `index` (-1: none selected).
std::uint8_t NationCode(int index);
std::uint8_t NationCode(const IForm& form);

// Fills PayloadArea bytes 0..183 from the page. Throws ConvertError for a number
// that does not convert, DateRangeError for a date no record can hold.
// Callers have refused texts wider than their fields, texts with characters
// Windows-1251 lacks and odometer readings that are not plain decimal (CheckCalibration).
void FillCalibration(const IForm& form, std::array<std::uint8_t, kPayloadSize>& PayloadArea);

}  // namespace tacho
