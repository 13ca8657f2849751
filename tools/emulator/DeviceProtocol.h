// The device's side of the protocol: frame start and marker, command bytes,
// frame lengths and the checksum rule. Written here on its own, not taken from
// link/, so that the emulator checks the tool's frames rather than repeating
// the tool's code; a contract test pins the two against each other.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tacho::emu::protocol {

inline constexpr std::uint8_t kStart = 0x02;
inline constexpr std::uint8_t kMarker = 0x49;
inline constexpr std::size_t kHeader = 5;  // start, marker, length, command, zero
inline constexpr std::uint8_t kCmdWrite = 0x38;
inline constexpr std::uint8_t kCmdGsmRead = 0xB9;
inline constexpr std::uint8_t kCmdGsmWrite = 0x39;
inline constexpr std::uint8_t kCmdProbe = 0xD1;
inline constexpr std::uint8_t kWriteLengthByte = 0xAA;
inline constexpr std::size_t kWriteFrame = 200;
inline constexpr std::size_t kWriteChecksumAt = 174;
inline constexpr std::size_t kWriteFillerFrom = 175;
inline constexpr std::size_t kWriteTailFrom = 185;
inline constexpr std::size_t kWriteFirstPiece = 169;
inline constexpr std::size_t kWriteTailPiece = 15;
inline constexpr std::size_t kGsmWriteFrame = 110;
inline constexpr std::size_t kShortFrame = kHeader + 1;  // GSM read and probe: header and checksum

// 255 minus the sum of the bytes, modulo 256.
constexpr std::uint8_t Sum(const std::uint8_t* p, std::size_t n) {
  unsigned s = 0;
  for (std::size_t i = 0; i < n; ++i) s += p[i];
  return static_cast<std::uint8_t>(255u - s % 256u);
}

}  // namespace tacho::emu::protocol
