// Finding the device on ports 1..42 and choosing the port from the port list.
#pragma once

#include "AppContext.h"

namespace tacho {

inline constexpr int kProbeWaitMs = 400;

void FindDevice(AppContext& app);
void Search_ButtonClick(AppContext& app);
// Runs when the user picks an item of sComboBox_port.
void sComboBox_portChange(AppContext& app);

}  // namespace tacho
