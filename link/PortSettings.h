// The port's settings as plain data, shared by both backends: the port names
// of the Windows build, the device control block fields, the mode text, the
// time-outs and the read and write deadlines they give.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tacho {

// "COM1".."COM9" for index 0..8, "\\.\COM10".."\\.\COM42" for 9..41; empty outside.
std::u16string PortName(int index);

// The fields each configuration changes in the block the port reports.
struct DcbFields {
  std::uint32_t BaudRate = 9600;
  std::uint8_t ByteSize = 8;
  std::uint8_t Parity = 2;    // EVENPARITY
  std::uint8_t StopBits = 0;  // ONESTOPBIT
};
inline constexpr DcbFields kDcbFields{};

// "baud =9600 parity=2 data=8 stop=1", for the platform's mode-text parser.
std::u16string ModeText();

struct CommTimeouts {
  std::uint32_t ReadIntervalTimeout = 15;
  std::uint32_t ReadTotalTimeoutMultiplier = 15;
  std::uint32_t ReadTotalTimeoutConstant = 15;
  std::uint32_t WriteTotalTimeoutMultiplier = 15;
  std::uint32_t WriteTotalTimeoutConstant = 15;
};
inline constexpr CommTimeouts kCommTimeouts{};

inline constexpr std::uint32_t kPurgeFlags = 0x0004 | 0x0008;  // PURGE_TXCLEAR | PURGE_RXCLEAR = 12
inline constexpr std::uint32_t kEventMask = 0x0001;            // EV_RXCHAR

// A read of m bytes ends at the latest this long after it began; a write of n
// bytes gives up after WriteTotalTimeoutMs(n).
constexpr std::uint32_t ReadTotalTimeoutMs(std::size_t m) {
  return kCommTimeouts.ReadTotalTimeoutConstant +
         kCommTimeouts.ReadTotalTimeoutMultiplier * static_cast<std::uint32_t>(m);
}
constexpr std::uint32_t WriteTotalTimeoutMs(std::size_t n) {
  return kCommTimeouts.WriteTotalTimeoutConstant +
         kCommTimeouts.WriteTotalTimeoutMultiplier * static_cast<std::uint32_t>(n);
}

}  // namespace tacho
