// The checks of the GSM page before a write.
#pragma once

#include <cstdint>

#include "Form.h"

namespace tacho {

// Runs every test, one message box per fault; 1 when all passed, 0 otherwise.
// Throws ConvertError when an interval is not a number (empty included), after
// the boxes of the tests before it. After the seven entry tests it refuses texts
// wider than their record field or holding a character that Windows-1251 lacks,
// field by field in record order.
std::int32_t CheckGsm(IForm& form);

}  // namespace tacho
