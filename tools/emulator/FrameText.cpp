#include "FrameText.h"

#include <cstdio>
#include <string_view>

#include "DeviceEmulator.h"
#include "TextCodec.h"

namespace tacho::emu {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string Hex(std::uint8_t b) {
  char buf[4];
  std::snprintf(buf, sizeof buf, "%02X", b);
  return buf;
}

// A text field as the window would show it (Windows-1251), with zero bytes
// and control characters shown as '.'.
std::string Text(const Bytes& r, std::size_t from, std::size_t count) {
  std::string ansi;
  for (std::size_t i = from; i < from + count && i < r.size(); ++i) {
    ansi.push_back(r[i] < 0x20 ? '.' : static_cast<char>(r[i]));
  }
  return "\"" + ToUtf8(FromAnsi(ansi)) + "\"";
}

std::int32_t Int32(const Bytes& r, std::size_t at) {
  const std::uint32_t v = static_cast<std::uint32_t>(r[at]) | static_cast<std::uint32_t>(r[at + 1]) << 8 |
                          static_cast<std::uint32_t>(r[at + 2]) << 16 | static_cast<std::uint32_t>(r[at + 3]) << 24;
  return static_cast<std::int32_t>(v);
}

std::string TimeText(std::int32_t t) {
  // Calendar date of a time value, in UTC, without the C library's time zone.
  long long days = t / 86400;
  long long secs = t % 86400;
  if (secs < 0) {
    secs += 86400;
    --days;
  }
  // Days since 1970-01-01 to a civil date (proleptic Gregorian).
  days += 719468;
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const long long doe = days - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  const long long d = doy - (153 * mp + 2) / 5 + 1;
  const long long m = mp < 10 ? mp + 3 : mp - 9;
  const long long y = yoe + era * 400 + (m <= 2);
  char buf[160];
  std::snprintf(buf, sizeof buf, "%d (%02lld.%02lld.%04lld %02lld:%02lld:%02lld UTC)", t, d, m, y, secs / 3600,
                secs / 60 % 60, secs % 60);
  return buf;
}

std::string Line(std::string_view name, const std::string& value) {
  return "  " + std::string(name) + ": " + value + "\n";
}

std::string Calibration(const Bytes& f) {
  // The record: frame bytes 5..173 are record bytes 0..168, 185..199 are 169..183.
  Bytes r(f.begin() + 5, f.begin() + 174);
  r.insert(r.end(), f.begin() + 185, f.begin() + 200);
  std::string s;
  s += Line("VIN", Text(r, 95, 17));
  s += Line("nation code", Hex(r[112]));
  s += Line("VRN", Text(r, 114, 13));
  s += Line("W", std::to_string(Int32(r, 127)));
  s += Line("L", std::to_string(r[131] | r[132] << 8) + " mm");
  s += Line("tyre size", Text(r, 133, 15));
  s += Line("speed", std::to_string(r[148]) + " km/h");
  const std::int32_t odo = Int32(r, 152);
  s += Line("odometer", std::to_string(odo) + " (" + std::to_string(odo / 10) + " km)");
  s += Line("first time", TimeText(Int32(r, 159)));
  s += Line("next calibration", TimeText(Int32(r, 163)));
  s += Line("local offset", "hours byte " + Hex(r[167]) + ", minutes byte " + Hex(r[168]));
  s += Line("workshop", Text(r, 169, 15));
  return s;
}

std::string Gsm(const Bytes& f) {
  Bytes r(f.begin() + 5, f.begin() + 5 + kGsmRecordSize);
  std::size_t apnLength = 0;
  while (apnLength < 50 && r[20 + apnLength] != 0) ++apnLength;
  std::string s;
  s += Line("IP", Text(r, 0, 15));
  s += Line("port", Text(r, 15, 5));
  s += Line("operator", Text(r, 20, apnLength) + (apnLength < 50 ? " (ends at byte " + std::to_string(20 + apnLength) + ")" : ""));
  s += Line("transfer interval", std::to_string(r[70] * 10) + " s");
  s += Line("saving interval", std::to_string(r[71] * 5) + " s");
  return s;
}

std::string StatusText(std::uint8_t status) {
  switch (status) {
    case kStatusOk: return "good";
    case kStatusBadChecksum: return "BAD CHECKSUM";
    case kStatusBadLength: return "BAD LENGTH BYTE";
    case kStatusUnknownCommand: return "UNKNOWN COMMAND";
    case kStatusBadLayout: return "BAD FILLER BYTES";
  }
  return "BAD";
}

}  // namespace

std::string HexDump(const std::vector<std::uint8_t>& bytes) {
  std::string s;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0) s += (i % 16 == 0) ? "\n" : " ";
    s += Hex(bytes[i]);
  }
  return s;
}

std::string DescribeFrame(const std::vector<std::uint8_t>& frame, std::uint8_t status) {
  std::string name;
  std::string body;
  const bool good = status == kStatusOk;
  switch (frame.size() > 3 ? frame[3] : 0) {
    case 0x38: name = "write (calibration record)"; if (good) body = Calibration(frame); break;
    case 0xB9: name = "GSM_read"; break;
    case 0x39: name = "GSM_write (GSM settings record)"; if (good) body = Gsm(frame); break;
    case 0xD1: name = "probe"; break;
    default: name = "command " + Hex(frame.size() > 3 ? frame[3] : 0);
  }
  std::string s = "<< " + name + ", " + std::to_string(frame.size()) + " bytes, " + StatusText(status) + "\n";
  s += body;
  std::string hex = HexDump(frame);
  std::string indented = "  ";
  for (char c : hex) {
    indented += c;
    if (c == '\n') indented += "  ";
  }
  s += indented + "\n";
  return s;
}

}  // namespace tacho::emu
