// Windows opens its ports by name ("COMn", "\\.\COMn"); there is nothing to map.
#include "PortMap.h"

#include <utility>

namespace tacho {

PortMap::PortMap(std::string folder, std::string devDir) : folder_(std::move(folder)), devDir_(std::move(devDir)) {}
PortMap PortMap::ForCurrentUser() { return PortMap({}, {}); }
std::string PortMap::DefaultFolder() { return {}; }
std::vector<std::string> PortMap::ListUsbSerialDevices(const std::string&) { return {}; }
void PortMap::Refresh() {}
int PortMap::Open(int, int) const { return -1; }
std::string PortMap::DevicePath(int) const { return {}; }

}  // namespace tacho
