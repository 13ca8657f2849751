// The probe of the device search: one port opened, probed and closed. Which
// ports are probed, and what the window shows meanwhile, is the port choice's.
#pragma once

#include "SerialPort.h"
#include "Waiter.h"

namespace tacho {

inline constexpr int kProbeWaitMs = 400;

enum class ProbeOutcome {
  NotOpened,     // the first open failed: the port is passed over silently
  ReopenFailed,  // it opened, but the configured reopen failed; nothing was sent
  Silent,        // probed, and no reply began with 02 49
  Answered,      // the reply began with 02 49: the device is here
};

// Opens port `index`, closes it, opens and configures it again, writes the
// seven probe bytes (02 49 00 D1 00 E3 00), waits 400 ms through the waiter,
// reads at most 9 bytes and closes the port. Each port operation runs through
// the waiter; the port is closed however the probe ends.
ProbeOutcome ProbePort(SerialPort& port, int index, IWaiter& waiter);

}  // namespace tacho
