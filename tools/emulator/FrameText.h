// Readable accounts of the frames the emulator receives: the frame's kind, its
// checks, the decoded calibration or GSM record, and the bytes in hex.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tacho::emu {

// "02 49 00 B9 00 FB", sixteen bytes a line when there are more.
std::string HexDump(const std::vector<std::uint8_t>& bytes);

// A multi-line account of one frame, given the status the emulator judged it with.
std::string DescribeFrame(const std::vector<std::uint8_t>& frame, std::uint8_t status);

}  // namespace tacho::emu
