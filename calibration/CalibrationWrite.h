// The calibration page's write command: checks, record, device exchange, outcome.
#pragma once

#include "AppContext.h"

namespace tacho {

// The click of "Записать данные".
void Write_Kalibr_ButtonClick(AppContext& app);

}  // namespace tacho
