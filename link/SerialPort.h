// The serial port: opens one of COM1..COM42 for exclusive use with the device's
// line settings (9600 baud, 8 data bits, even parity, one stop bit) and 15 ms
// time-outs, and writes, reads and closes it. PortHandle lives here.
// Backends: SerialPort_posix.cpp (termios) and SerialPort_win32.cpp (Win32).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "PortMap.h"

namespace tacho {

inline constexpr int kPortCount = 42;

class SerialPort {
 public:
#ifdef _WIN32
  using NativeHandle = void*;  // HANDLE
#else
  using NativeHandle = int;  // file descriptor
#endif
  static const NativeHandle kInvalidHandle;

  // On Linux the port map says which device stands behind COM n; Windows opens
  // "COMn" / "\\.\COMn" and ignores it.
  explicit SerialPort(PortMap map = PortMap::ForCurrentUser());
  ~SerialPort();
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Opens port `index` (0 = COM1) exclusively into PortHandle, or stores the
  // invalid handle when it cannot; a port still open is closed first. An index
  // outside 0..41 opens nothing and leaves PortHandle as it is.
  void OpenPort(int index);
  // OpenPort, then the line settings, time-outs, flush, purge and event mask;
  // a setting the port refuses is not an error. Returns true when the port is
  // open and configured, false when the open failed; so does an index outside
  // 0..41, which also closes any port still open, so that the write and read
  // that follow go nowhere. Shows nothing: the caller reports a failure.
  bool SetupPort(int index);
  // One write of n bytes; returns once they have left the port (the driver's
  // queue is empty and their wire time has passed), and gives up after
  // 15 + 15·n ms. Returns the count handed to the driver.
  std::size_t Write(const std::uint8_t* data, std::size_t n);
  // One read of at most m bytes into buffer[0..]: returns when m bytes arrived,
  // when more than 15 ms pass between two bytes, or 15 + 15·m ms after it began.
  std::size_t Read(std::uint8_t* buffer, std::size_t m);
  // Discards output not yet sent, closes PortHandle and leaves it invalid.
  // Nothing happens on the invalid handle.
  void Close();

  bool IsOpen() const { return PortHandle != kInvalidHandle; }

  // Fixes the COM numbers of the serial adapters present now (PortMap::Refresh);
  // the device search calls it before it probes. Nothing on Windows.
  void RefreshPortMap();

  // Test seam: runs at the start of every OpenPort of an index in 0..41, on the
  // thread that opens, before anything is opened. A benchmark sleeps here to
  // play a driver that holds the open for a while.
  std::function<void(int index)> beforeOpen;

 private:
  // The backend's part of SetupPort on an open port: line settings, time-outs,
  // flush, purge, event mask. Nothing it does is examined.
  void ConfigureOpenPort();

  PortMap map_;
  NativeHandle PortHandle = kInvalidHandle;
};

}  // namespace tacho
