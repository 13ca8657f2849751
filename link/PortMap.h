// Which device stands behind COM n (n = 1..42). On Linux: a link named "COMn" in
// the per-user port folder ($XDG_RUNTIME_DIR/tachocalib/ports/) when there is one;
// the COM numbers that no link takes go, in order, to the USB serial devices
// present (/dev/ttyUSB*, then /dev/ttyACM*). Built-in UARTs only when linked.
#pragma once

#include <string>
#include <vector>

namespace tacho {

class PortMap {
 public:
  // Tests pass a folder holding only emulator links and an empty device list.
  PortMap(std::string folder, std::vector<std::string> usbDevices);
  // The real map: the per-user folder and the USB serial devices present now.
  static PortMap ForCurrentUser();
  static std::string DefaultFolder();

  // The device path for port index 0..41; empty when nothing stands there.
  std::string DevicePath(int index) const;
  const std::string& folder() const { return folder_; }

 private:
  std::string folder_;
  std::vector<std::string> usbDevices_;
};

}  // namespace tacho
