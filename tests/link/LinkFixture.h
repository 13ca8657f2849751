// What the link tests share: a private port folder, a window model, a session
// and a serial port that sees only the emulators linked in that folder.
// (CommandBench.h adds the command context for the tests of whole commands.)
#pragma once

#include <dirent.h>
#include <unistd.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "DeviceEmulator.h"
#include "FormModel.h"
#include "PortMap.h"
#include "SerialPort.h"
#include "Session.h"
#include "WorkedFrames.h"

namespace tacho::test {

class TempFolder {
 public:
  TempFolder() {
    char name[] = "/tmp/tacho-link-test-XXXXXX";
    if (!::mkdtemp(name)) throw std::runtime_error("mkdtemp failed");
    path_ = name;
  }
  ~TempFolder() {
    if (DIR* dir = ::opendir(path_.c_str())) {
      while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") ::unlink((path_ + "/" + name).c_str());
      }
      ::closedir(dir);
    }
    ::rmdir(path_.c_str());
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

struct LinkBench {
  TempFolder folder;
  FormModel form;
  Session session;
  SerialPort port{PortMap(folder.path(), {})};

  std::unique_ptr<emu::DeviceEmulator> Device(int com, emu::Fault fault = emu::Fault::None,
                                              bool pacing = false) {
    emu::EmulatorOptions o;
    o.portFolder = folder.path();
    o.comNumber = com;
    o.fault = fault;
    o.realisticPacing = pacing;
    return std::make_unique<emu::DeviceEmulator>(o);
  }
  // Another program's view of the same ports.
  SerialPort OtherPort() const { return SerialPort(PortMap(folder.path(), {})); }
};

inline Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

inline Bytes Repeat(std::uint8_t value, std::size_t count) { return Bytes(count, value); }

}  // namespace tacho::test
