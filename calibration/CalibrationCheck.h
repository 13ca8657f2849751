// The checks of the calibration page before a write.
#pragma once

#include <cstdint>

#include "Form.h"

namespace tacho {

// Runs every test, one message box per fault; 0 when all passed, 1 otherwise.
// Throws ConvertError when W, L or the speed is neither empty nor a number.
// After the ten entry tests it refuses an odometer reading that is not one to
// six decimal digits, then texts wider than their record field or holding a
// character that Windows-1251 lacks, field by field in record order.
std::int32_t CheckCalibration(IForm& form);

}  // namespace tacho
