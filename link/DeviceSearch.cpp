#include "DeviceSearch.h"

#include <algorithm>
#include <array>

#include "Frames.h"
#include "PortSteps.h"

namespace tacho {

ProbeOutcome ProbePort(SerialPort& port, int index, IWaiter& waiter) {
  ClosePortAtEnd closer(waiter, port);
  bool opened = false;
  waiter.RunBlocking([&] {
    port.OpenPort(index);
    opened = port.IsOpen();
    port.Close();
  });
  if (!opened) return ProbeOutcome::NotOpened;
  bool reopened = false;
  waiter.RunBlocking([&] { reopened = port.SetupPort(index); });
  if (!reopened) return ProbeOutcome::ReopenFailed;
  // The whole buffer is cleared: the seventh byte written is 0x00.
  std::array<std::uint8_t, kProbeReplyLength> probe{};
  std::copy(kProbeFrame.begin(), kProbeFrame.end(), probe.begin());
  waiter.RunBlocking([&] { port.Write(probe.data(), kProbeWriteLength); });
  probe.fill(0);
  waiter.ResponsiveDelay(kProbeWaitMs);
  waiter.RunBlocking([&] { port.Read(probe.data(), probe.size()); });
  closer.Close();
  return probe[0] == kFrameStart && probe[1] == kFrameMarker ? ProbeOutcome::Answered : ProbeOutcome::Silent;
}

}  // namespace tacho
