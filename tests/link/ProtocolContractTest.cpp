// The emulator writes the device's side of the protocol on its own
// (DeviceProtocol.h); this pins it against the tool's frames (Frames.h), so the
// two cannot drift apart unnoticed and the emulator keeps checking, not copying.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "DeviceEmulator.h"
#include "DeviceProtocol.h"
#include "Frames.h"

namespace tacho {
namespace {

namespace device = emu::protocol;

TEST(ProtocolContract, FrameStartMarkerCommandsAndLayoutAgree) {
  struct Row {
    const char* name;
    std::size_t tool;
    std::size_t emulator;
  };
  const Row rows[] = {
      {"start byte", kFrameStart, device::kStart},
      {"marker byte", kFrameMarker, device::kMarker},
      {"header size", kFrameHeaderSize, device::kHeader},
      {"write command", kWriteCommand, device::kCmdWrite},
      {"GSM read command", kGsmReadCommand, device::kCmdGsmRead},
      {"GSM write command", kGsmWriteCommand, device::kCmdGsmWrite},
      {"probe command", kProbeCommand, device::kCmdProbe},
      {"write length byte", kWriteLengthByte, device::kWriteLengthByte},
      {"write frame length", kWriteFrameLength, device::kWriteFrame},
      {"write checksum at", kWriteChecksumAt, device::kWriteChecksumAt},
      {"write tail at", kWriteTailAt, device::kWriteTailFrom},
      {"write first piece", kWriteFirstPieceSize, device::kWriteFirstPiece},
      {"write tail piece", kWriteTailSize, device::kWriteTailPiece},
      {"GSM write frame length", kGsmWriteFrameLength, device::kGsmWriteFrame},
      {"GSM write length byte", kGsmWriteLengthByte, emu::kGsmRecordSize},
      {"GSM record size", kGsmRecordSize, emu::kGsmRecordSize},
      {"GSM read frame length", kGsmReadFrameLength, device::kShortFrame},
      {"probe frame length", kProbeFrame.size(), device::kShortFrame},
  };
  for (const Row& r : rows) EXPECT_EQ(r.tool, r.emulator) << r.name;
}

TEST(ProtocolContract, BothSidesComputeTheSameChecksum) {
  struct Row {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::uint8_t checksum;  // 255 minus the sum, modulo 256
  };
  const Row rows[] = {
      {"GSM read header", {0x02, 0x49, 0x00, 0xB9, 0x00}, 0xFB},
      {"probe header", {0x02, 0x49, 0x00, 0xD1, 0x00}, 0xE3},
      {"nothing", {}, 0xFF},
      {"sum exactly 256", {0x80, 0x80}, 0xFF},
      {"sum 255", {0xFF}, 0x00},
      {"many high bytes", std::vector<std::uint8_t>(300, 0xFF), 0x2B},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(Checksum(r.bytes.data(), r.bytes.size()), r.checksum);
    EXPECT_EQ(device::Sum(r.bytes.data(), r.bytes.size()), r.checksum);
  }
}

}  // namespace
}  // namespace tacho
