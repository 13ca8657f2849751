// The platform-neutral part of the serial port: what SetupPort does before and
// after the backend configures the line.
#include "SerialPort.h"

namespace tacho {

bool SerialPort::SetupPort(int index) {
  if (index < 0 || index >= kPortCount) {
    // Never go on with a port opened before: the write and read that follow go nowhere.
    Close();
  } else {
    OpenPort(index);
  }
  if (!IsOpen()) return false;
  ConfigureOpenPort();
  return true;
}

}  // namespace tacho
