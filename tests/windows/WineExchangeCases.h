// What the exchange tests under wine type into the pages and what the emulated
// device holds. The Windows program that runs the commands and the Linux
// program that plays the device and checks the bytes both use it.
#pragma once

#include <array>
#include <cstdint>

#include "Form.h"
#include "GsmRecord.h"
#include "Session.h"
#include "WorkedCalibrationEntries.h"

namespace tacho::wine {

// The emulator's pseudo-terminal is linked in wine's prefix as com40, which wine
// never maps to a machine's own serial device ("\\.\COM40" for the Win32 code).
inline constexpr int kEmulatorComNumber = 40;
inline constexpr int kEmulatorPortIndex = kEmulatorComNumber - 1;
// The local time zone of the calibration record's dates, on both sides.
inline constexpr const char* kTimeZone = "MSK-3";

inline void TypeCalibrationEntries(IForm& form) {
  test::TypeWorkedCalibrationEntries(form);
  form.SetText(ControlId::sEdit_master_N, u"RUS-00042");
}

// The settings the user writes: they differ from the device's in every field.
inline GsmEntries TypedGsmEntries() {
  return {u"10.20.30.40", u"8080", u"internet.beeline.ru,beeline,beeline", u"30", u"15"};
}

// The settings the device holds before the write. The three texts fill their
// fields (no blanks, no zero byte), so they read back as they are.
inline GsmEntries DeviceGsmEntries() {
  return {u"192.168.100.200", u"12345", u"internet.tachograph-service.mts.ru,workshop,secret", u"120", u"60"};
}

inline std::array<std::uint8_t, gsm::kRecordSize> GsmRecordOf(const GsmEntries& entries) {
  std::array<std::uint8_t, kPayloadSize> payload{};
  FillGsm(entries, payload);
  std::array<std::uint8_t, gsm::kRecordSize> record{};
  for (std::size_t i = 0; i < record.size(); ++i) record[i] = payload[i];
  return record;
}

}  // namespace tacho::wine
