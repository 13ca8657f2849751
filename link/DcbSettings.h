// The device's line settings for a Win32 port, as a pure function of the block
// the port reports: 9600 baud, 8 data bits, even parity, one stop bit, received
// zero bytes kept (fNull cleared); handshaking stays as the port had it.
#pragma once

#include "WindowsHeaders.h"

namespace tacho {

DCB DeviceDcb(const DCB& reported);

}  // namespace tacho
