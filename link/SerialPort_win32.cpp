// Win32 backend of the serial port: CreateFileW on "COM1".."COM9" and
// "\\.\COM10".."\\.\COM42", the device control block, 15 ms time-outs, and
// synchronous WriteFile/ReadFile without an OVERLAPPED structure.
#include "SerialPort.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#include <utility>

namespace tacho {

namespace {

constexpr std::u16string_view kOpenErrorText = u"Ошибка открытия порта";
constexpr std::u16string_view kOpenErrorCaption = u"Внимание!";

constexpr DWORD kBaudRate = 9600;
constexpr BYTE kByteSize = 8;
constexpr BYTE kParityEven = 2;      // EVENPARITY
constexpr BYTE kStopBitsOne = 0;     // ONESTOPBIT
constexpr DWORD kTimeoutMs = 15;     // all five time-outs
constexpr DWORD kPurgeBoth = 12;     // PURGE_TXCLEAR | PURGE_RXCLEAR
constexpr DWORD kEventRxChar = 1;    // EV_RXCHAR
static_assert(kParityEven == EVENPARITY && kStopBitsOne == ONESTOPBIT);
static_assert(kPurgeBoth == (PURGE_TXCLEAR | PURGE_RXCLEAR) && kEventRxChar == EV_RXCHAR);

bool IsPortIndex(int index) { return index >= 0 && index < kPortCount; }

// "COM1".."COM9"; from COM10 on only the device namespace reaches the port.
std::wstring PortName(int index) {
  const std::wstring number = std::to_wstring(index + 1);
  return index < 9 ? L"COM" + number : L"\\\\.\\COM" + number;
}

// The same numbers as the fields set by hand, as the mode parser reads them.
std::wstring ModeText() { return std::wstring(L"baud =") + L"9600" + L" parity=2 data=8 stop=1"; }

// Starts from what the port reports; only speed, frame and fNull change, so
// received zero bytes are kept. Handshaking stays as the port had it.
void SetLineFields(DCB& dcb) {
  dcb.BaudRate = kBaudRate;
  dcb.ByteSize = kByteSize;
  dcb.Parity = kParityEven;
  dcb.StopBits = kStopBitsOne;
  dcb.DCBlength = sizeof(DCB);
  dcb.fNull = FALSE;
}

COMMTIMEOUTS PortTimeouts() {
  COMMTIMEOUTS timeouts{};
  timeouts.ReadIntervalTimeout = kTimeoutMs;
  timeouts.ReadTotalTimeoutMultiplier = kTimeoutMs;
  timeouts.ReadTotalTimeoutConstant = kTimeoutMs;
  timeouts.WriteTotalTimeoutMultiplier = kTimeoutMs;
  timeouts.WriteTotalTimeoutConstant = kTimeoutMs;
  return timeouts;
}

}  // namespace

const SerialPort::NativeHandle SerialPort::kInvalidHandle = INVALID_HANDLE_VALUE;

// Windows names its ports itself; the map only matters on Linux.
SerialPort::SerialPort(PortMap map) : map_(std::move(map)) {}

SerialPort::~SerialPort() { Close(); }

void SerialPort::OpenPort(int index) {
  if (!IsPortIndex(index)) return;
  // A handle still open would keep the port held until the program ends.
  Close();
  PortHandle = CreateFileW(PortName(index).c_str(), GENERIC_READ | GENERIC_WRITE, 0 /* no sharing */,
                           nullptr, OPEN_EXISTING, 0, nullptr);
}

bool SerialPort::SetupPort(int index, IForm& form) {
  if (IsPortIndex(index)) OpenPort(index);
  // Outside 0..41 nothing was opened: never go on with a handle of an earlier command.
  if (!IsPortIndex(index) || !IsOpen()) {
    form.ShowMessageBox(kOpenErrorText, kOpenErrorCaption);
    return false;
  }

  // A port that refuses a setting is used as it is; nothing below is reported.
  DCB dcb{};
  dcb.DCBlength = sizeof(DCB);
  GetCommState(PortHandle, &dcb);
  SetLineFields(dcb);
  BuildCommDCBW(ModeText().c_str(), &dcb);
  SetCommState(PortHandle, &dcb);
  COMMTIMEOUTS timeouts = PortTimeouts();
  SetCommTimeouts(PortHandle, &timeouts);
  FlushFileBuffers(PortHandle);
  PurgeComm(PortHandle, kPurgeBoth);
  SetCommMask(PortHandle, kEventRxChar);
  return true;
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
  CloseHandle(PortHandle);
  PortHandle = kInvalidHandle;
}

}  // namespace tacho
