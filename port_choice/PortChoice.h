// The port choice: the search for the device over COM1..COM42 as the window
// shows it, and the port list that sets PortIndex.
#pragma once

#include <string>

#include "AppContext.h"
#include "CommandLock.h"

namespace tacho {

// The text of item `index` of a list; empty when it is no item (as -1 is).
std::u16string ItemText(const IForm& form, ControlId list, int index);

// Probes COM1..COM42 in turn with the busy cursor and "Поиск......" shown,
// selects the first port that answers and tells the user the outcome. Runs
// under the caller's lock.
void FindDevice(AppContext& app, CommandLock& lock);
// The click of "Найти"; refused quietly while a command runs.
void Search_ButtonClick(AppContext& app);
// Runs when the user picks an item of sComboBox_port: the search item starts a
// search, a port item sets PortIndex. Refused quietly while a command runs.
void sComboBox_portChange(AppContext& app);

}  // namespace tacho
