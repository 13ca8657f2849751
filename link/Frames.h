// The device's command frames: header 02 49 <length> <command> 00, payload, and
// an additive checksum (the complement of the low byte of the sum before it).
#pragma once

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

std::uint8_t Checksum(const std::uint8_t* bytes, std::size_t count);

// Clears the FrameBuffer and builds the frame of "write", "GSM_read" or
// "GSM_write" (exact, case counts) from the PayloadArea; any other word leaves
// it all zero.
void BuildFrame(Session& session, std::string_view word);

}  // namespace tacho
