// The device's line settings for a POSIX terminal, as a pure function of what
// the port reports: 9600 baud, 8 data bits, even parity, one stop bit, raw, no
// flow control, reads driven by poll (VMIN = VTIME = 0).
#pragma once

#include <termios.h>

namespace tacho {

termios DeviceTermios(const termios& reported);
// The same without parity: what is applied when a line refuses parity (a
// pseudo-terminal does), so that the raw mode still holds.
termios WithoutParity(const termios& settings);

}  // namespace tacho
