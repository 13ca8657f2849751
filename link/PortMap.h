// Which device stands behind COM n (n = 1..42). On Linux: a link named "COMn" in
// the per-user port folder ($XDG_RUNTIME_DIR/tachocalib/ports/) when there is one;
// the COM numbers that no link takes go, in order, to the USB serial devices
// present (/dev/ttyUSB*, then /dev/ttyACM*, in numeric order), leaving out any
// that a link already pins. Built-in UARTs only when linked. A folder that
// other users may write to is not used.
#pragma once

#include <string>
#include <vector>

namespace tacho {

class PortMap {
 public:
  // Tests pass a folder holding only emulator links and an empty device list.
  PortMap(std::string folder, std::vector<std::string> usbDevices);
  // The real map: the per-user folder, and the USB serial devices present at
  // each look-up (an adapter plugged in later is found by the next search).
  static PortMap ForCurrentUser();
  // $XDG_RUNTIME_DIR/tachocalib/ports, or /tmp/tachocalib-<uid>/ports.
  static std::string DefaultFolder();
  // devDir's ttyUSB<n> in numeric order, then its ttyACM<n>; opens nothing.
  static std::vector<std::string> ListUsbSerialDevices(const std::string& devDir);

  // The device path for port index 0..41; empty when nothing stands there.
  std::string DevicePath(int index) const;
  const std::string& folder() const { return folder_; }

 private:
  std::string folder_;
  std::vector<std::string> usbDevices_;
  std::string devDir_;  // set: list the devices here at each look-up instead
};

}  // namespace tacho
