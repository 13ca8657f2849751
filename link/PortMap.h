// Which device stands behind COM n (n = 1..42). On Linux: a link named "COMn" in
// the per-user port folder ($XDG_RUNTIME_DIR/tachocalib/ports/) when there is
// one, read at each open. The COM numbers no link takes are fixed to the USB
// serial adapters (ttyUSB*, then ttyACM*, in numeric order) when the port list
// is made, at start-up and at each search, by a stable identity: the adapter's
// /dev/serial/by-id name, else its device number. A number stays with its
// adapter while the tool runs, so an adapter unplugged gives an open error,
// never another device. Built-in UARTs only when linked. Windows opens its
// ports by name and keeps nothing here.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tacho {

class PortMap {
 public:
  // `folder` holds the COMn links; `devDir` the adapters (ttyUSB*, ttyACM*,
  // serial/by-id/), empty for none. Takes no look at the adapters yet.
  PortMap(std::string folder, std::string devDir);
  // The real map: the per-user folder and /dev, with the adapters present now.
  static PortMap ForCurrentUser();
  // $XDG_RUNTIME_DIR/tachocalib/ports, or /tmp/tachocalib-<uid>/ports.
  static std::string DefaultFolder();
  // devDir's ttyUSB<n> in numeric order, then its ttyACM<n>; opens nothing.
  static std::vector<std::string> ListUsbSerialDevices(const std::string& devDir);

  // Looks at the adapters present now. One seen before keeps its COM number,
  // present or not; a new one takes the lowest number that no link and no
  // adapter holds. Adapters a link points to get no number of their own.
  void Refresh();
  // Opens the device behind port index 0..41 with the open(2) `flags`: the
  // link's target, or the adapter fixed to that number if it is the one found
  // there now. -1 when nothing stands there or it cannot be opened.
  int Open(int index, int flags) const;
  // What Open would open, for tests and messages; empty when nothing stands there.
  std::string DevicePath(int index) const;
  const std::string& folder() const { return folder_; }

 private:
  struct Adapter {
    std::string identity;  // "by-id:<name>" or "dev:<device number>"
    std::string path;      // the by-id link when there is one, else the ttyUSB/ttyACM node
    std::uint64_t device = 0;
    bool byId = false;
  };
  std::string folder_;
  std::string devDir_;
  std::array<std::optional<Adapter>, 42> adapters_{};  // by port index
};

}  // namespace tacho
