// The device's command frames: header 02 49 <length> <command> 00, payload, and
// an additive checksum (the complement of the low byte of the sum before it).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "Session.h"

namespace tacho {

// Bytes put on the wire for each frame.
inline constexpr std::size_t kWriteFrameLength = 200;
inline constexpr std::size_t kGsmReadFrameLength = 6;
inline constexpr std::size_t kGsmWriteFrameLength = 110;
inline constexpr std::size_t kProbeWriteLength = 7;
inline constexpr std::size_t kWriteReplyLength = 7;
inline constexpr std::size_t kGsmReadReplyLength = 120;
inline constexpr std::size_t kProbeReplyLength = 9;

// Frame layout.
inline constexpr std::uint8_t kFrameStart = 0x02;
inline constexpr std::uint8_t kFrameMarker = 0x49;
inline constexpr std::size_t kFrameHeaderSize = 5;  // start, marker, length, command, zero
inline constexpr std::size_t kFrameLengthAt = 2;
inline constexpr std::size_t kFrameCommandAt = 3;
inline constexpr std::size_t kPayloadAt = 5;

// "write": record bytes 0..168 at 5..173, checksum at 174, ten zero bytes,
// record bytes 169..183 (the workshop number) at 185..199.
inline constexpr std::uint8_t kWriteLengthByte = 0xAA;
inline constexpr std::uint8_t kWriteCommand = 0x38;
inline constexpr std::size_t kWriteFirstPieceSize = 169;
inline constexpr std::size_t kWriteChecksumAt = 174;
inline constexpr std::size_t kWriteTailAt = 185;
inline constexpr std::size_t kWriteTailRecordFrom = 169;
inline constexpr std::size_t kWriteTailSize = 15;

inline constexpr std::uint8_t kGsmReadCommand = 0xB9;
inline constexpr std::size_t kGsmReadChecksumAt = 5;

inline constexpr std::uint8_t kGsmWriteLengthByte = 0x68;
inline constexpr std::uint8_t kGsmWriteCommand = 0x39;
inline constexpr std::size_t kGsmRecordSize = 104;
inline constexpr std::size_t kGsmWriteChecksumAt = 109;

inline constexpr std::uint8_t kProbeCommand = 0xD1;
// The probe of the device search: 02 49 00 D1 00 E3.
inline constexpr std::array<std::uint8_t, 6> kProbeFrame{0x02, 0x49, 0x00, 0xD1, 0x00, 0xE3};

// Reply bytes judged.
inline constexpr std::size_t kReplyStatusAt = 5;
inline constexpr std::uint8_t kReplyOk = 0x00;

// The complement of the low byte of the sum of `count` bytes.
std::uint8_t Checksum(const std::uint8_t* bytes, std::size_t count);

// Clears the FrameBuffer and builds the frame of "write", "GSM_read" or
// "GSM_write" (exact, case counts) from the PayloadArea; any other word leaves
// it all zero.
void BuildFrame(Session& session, std::string_view word);

}  // namespace tacho
