// The worked examples as the device receives them, byte by byte: the
// calibration record of the worked entries (WorkedCalibrationEntries.h, with the
// window's default workshop number), the worked GSM settings record, and the
// frames that carry them. Written out by hand, never built by the code under test.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace tacho::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Joined(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

inline Bytes AsciiBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

// 184 bytes; the workshop number "РФ" and 13 blanks at 169..183.
inline Bytes WorkedCalibrationRecord() {
  return Joined({Bytes(95, 0xFF), AsciiBytes("XYZ12345678901234"), {0x2B, 0xFF},
                 {0xC0, 0x31, 0x32, 0x33, 0xC2, 0xD1, 0x37, 0x37}, Bytes(5, 0x20),
                 {0x40, 0x1F, 0x00, 0x00, 0x4E, 0x0C}, AsciiBytes("315/80R22.5    "),
                 {0x5A, 0xFF, 0xFF, 0xFF, 0x3A, 0xE2, 0x01, 0x00, 0xFF, 0xFF, 0xFF},
                 {0xFF, 0xFF, 0xFF, 0xFF},  // first time value: not given
                 {0xD1, 0x7A, 0x9C, 0x54, 0x03, 0x00, 0xD0, 0xD4}, Bytes(13, 0x20)});
}

// The 200 bytes written: header, record bytes 0..168, checksum 01, ten zero
// bytes, record bytes 169..183.
inline Bytes WorkedCalibrationFrame() {
  const Bytes r = WorkedCalibrationRecord();
  return Joined({{0x02, 0x49, 0xAA, 0x38, 0x00}, Bytes(r.begin(), r.begin() + 169), {0x01}, Bytes(10, 0x00),
                 Bytes(r.begin() + 169, r.end())});
}

inline const Bytes kGsmReadFrame{0x02, 0x49, 0x00, 0xB9, 0x00, 0xFB};

// The worked GSM settings: 10.1.2.3, port 21400, the connection string
// " "," "," " (11 bytes) and its zero byte, 40 s and 5 s.
inline Bytes WorkedGsmRecord() {
  return Joined({{0x31, 0x30, 0x2E, 0x31, 0x2E, 0x32, 0x2E, 0x33}, Bytes(7, 0x20), {0x32, 0x31, 0x34, 0x30, 0x30},
                 {0x22, 0x20, 0x22, 0x2C, 0x22, 0x20, 0x22, 0x2C, 0x22, 0x20, 0x22}, {0x00}, Bytes(38, 0x20),
                 {0x04, 0x01}, Bytes(32, 0xFF)});
}

// Its 110-byte "GSM_write" frame, checksum 92.
inline Bytes WorkedGsmWriteFrame() { return Joined({{0x02, 0x49, 0x68, 0x39, 0x00}, WorkedGsmRecord(), {0x92}}); }

// A settings record whose three texts fill their fields (no blank, no zero
// byte), so they read back as they are: 192.168.100.200, port 12345, a
// 50-character connection string, 120 s and 60 s.
inline Bytes FullGsmRecord() {
  return Joined({AsciiBytes("192.168.100.200"), AsciiBytes("12345"),
                 AsciiBytes("internet.tachograph-service.mts.ru,workshop,secret"), {12, 12}, Bytes(32, 0xFF)});
}

// Its "GSM_write" frame, checksum 6C.
inline Bytes FullGsmWriteFrame() { return Joined({{0x02, 0x49, 0x68, 0x39, 0x00}, FullGsmRecord(), {0x6C}}); }

}  // namespace tacho::test
