// Win32 backend of the serial port: CreateFileW on "COM1".."COM9" and
// "\\.\COM10".."\\.\COM42", the device control block, 15 ms time-outs, and
// synchronous WriteFile/ReadFile without an OVERLAPPED structure.
#include "SerialPort.h"

#include "DcbSettings.h"  // <windows.h>, lean
#include "PortSettings.h"

#include <string>
#include <utility>

namespace tacho {

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide text is UTF-16");
static_assert(kPurgeFlags == (PURGE_TXCLEAR | PURGE_RXCLEAR) && kEventMask == EV_RXCHAR);

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

COMMTIMEOUTS PortTimeouts() {
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = kCommTimeouts.ReadIntervalTimeout;
  timeouts.ReadTotalTimeoutMultiplier = kCommTimeouts.ReadTotalTimeoutMultiplier;
  timeouts.ReadTotalTimeoutConstant = kCommTimeouts.ReadTotalTimeoutConstant;
  timeouts.WriteTotalTimeoutMultiplier = kCommTimeouts.WriteTotalTimeoutMultiplier;
  timeouts.WriteTotalTimeoutConstant = kCommTimeouts.WriteTotalTimeoutConstant;
  return timeouts;
}

}  // namespace

const SerialPort::NativeHandle SerialPort::kInvalidHandle = INVALID_HANDLE_VALUE;

// Windows names its ports itself; the map only matters on Linux.
SerialPort::SerialPort(PortMap map) : map_(std::move(map)) {}

SerialPort::~SerialPort() { Close(); }

void SerialPort::RefreshPortMap() { map_.Refresh(); }

void SerialPort::OpenPort(int index) {
  const std::u16string name = PortName(index);
  if (name.empty()) return;  // outside 0..41
  if (beforeOpen) beforeOpen(index);
  // A handle still open would keep the port held until the program ends.
  Close();
  PortHandle = CreateFileW(Wide(name), GENERIC_READ | GENERIC_WRITE, 0 /* no sharing */,
                           nullptr, OPEN_EXISTING, 0, nullptr);
}

void SerialPort::ConfigureOpenPort() {
  // A port that refuses a setting is used as it is; nothing below is reported.
  DCB dcb{};
  dcb.DCBlength = sizeof(DCB);
  GetCommState(PortHandle, &dcb);
  dcb = DeviceDcb(dcb);
  BuildCommDCBW(Wide(ModeText()), &dcb);
  SetCommState(PortHandle, &dcb);
  COMMTIMEOUTS timeouts = PortTimeouts();
  SetCommTimeouts(PortHandle, &timeouts);
  FlushFileBuffers(PortHandle);
  PurgeComm(PortHandle, kPurgeFlags);
  SetCommMask(PortHandle, kEventMask);
}

std::size_t SerialPort::Write(const std::uint8_t* data, std::size_t n) {
  if (!IsOpen()) return 0;
  DWORD written = 0;
  WriteFile(PortHandle, data, static_cast<DWORD>(n), &written, nullptr);
  return written;
}

std::size_t SerialPort::Read(std::uint8_t* buffer, std::size_t m) {
  if (!IsOpen()) return 0;
  DWORD read = 0;
  ReadFile(PortHandle, buffer, static_cast<DWORD>(m), &read, nullptr);
  return read;
}

void SerialPort::Close() {
  if (!IsOpen()) return;
  // Output the device never took is dropped, so the close cannot wait on it.
  PurgeComm(PortHandle, PURGE_TXCLEAR | PURGE_TXABORT);
  CloseHandle(PortHandle);
  PortHandle = kInvalidHandle;
}

}  // namespace tacho
