// Finding the device on ports 1..42 and choosing the port from the port list.
#pragma once

#include <string>

#include "AppContext.h"

namespace tacho {

inline constexpr int kProbeWaitMs = 400;

// The text of item `index` of a list; empty when it is no item (as -1 is).
std::u16string ItemText(const IForm& form, ControlId list, int index);

// Probes COM1..COM42 in turn and selects the first that answers. The callers
// below hold the session's CommandScope; a click that finds a command running
// is refused quietly.
void FindDevice(AppContext& app);
void Search_ButtonClick(AppContext& app);
// Runs when the user picks an item of sComboBox_port.
void sComboBox_portChange(AppContext& app);

}  // namespace tacho
