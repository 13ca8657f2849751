#include "Frames.h"

#include <algorithm>

namespace tacho {
namespace {

void Header(Session& s, std::uint8_t length, std::uint8_t command) {
  auto& f = s.FrameBuffer;
  f[0] = kFrameStart;
  f[1] = kFrameMarker;
  f[kFrameLengthAt] = length;
  f[kFrameCommandAt] = command;
  f[4] = 0x00;
}

}  // namespace

std::uint8_t Checksum(const std::uint8_t* bytes, std::size_t count) {
  unsigned sum = 0;
  for (std::size_t i = 0; i < count; ++i) sum += bytes[i];
  return static_cast<std::uint8_t>(~sum & 0xFFu);
}

void BuildFrame(Session& session, std::string_view word) {
  auto& f = session.FrameBuffer;
  const auto& p = session.PayloadArea;
  f.fill(0);
  if (word == "write") {
    Header(session, kWriteLengthByte, kWriteCommand);
    std::copy_n(p.begin(), kWriteFirstPieceSize, f.begin() + kPayloadAt);
    f[kWriteChecksumAt] = Checksum(f.data(), kWriteChecksumAt);
    std::copy_n(p.begin() + kWriteTailRecordFrom, kWriteTailSize, f.begin() + kWriteTailAt);
  } else if (word == "GSM_read") {
    Header(session, 0x00, kGsmReadCommand);
    f[kGsmReadChecksumAt] = Checksum(f.data(), kGsmReadChecksumAt);
  } else if (word == "GSM_write") {
    Header(session, kGsmWriteLengthByte, kGsmWriteCommand);
    std::copy_n(p.begin(), kGsmRecordSize, f.begin() + kPayloadAt);
    f[kGsmWriteChecksumAt] = Checksum(f.data(), kGsmWriteChecksumAt);
  }
}

}  // namespace tacho
