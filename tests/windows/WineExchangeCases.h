// What the exchange tests under wine type into the pages and what the emulated
// device holds, with the bytes each stands for written out in WorkedFrames.h.
// The Windows program that runs the commands and the Linux program that plays
// the device and checks the bytes both use it.
#pragma once

#include "Form.h"
#include "GsmRecord.h"
#include "WorkedCalibrationEntries.h"
#include "WorkedFrames.h"

namespace tacho::wine {

// The emulator's pseudo-terminal is linked in wine's prefix as com40, which wine
// never maps to a machine's own serial device ("\\.\COM40" for the Win32 code).
inline constexpr int kEmulatorComNumber = 40;
inline constexpr int kEmulatorPortIndex = kEmulatorComNumber - 1;
// The local time zone of the calibration record's dates, on both sides.
inline constexpr const char* kTimeZone = "MSK-3";

// The worked calibration entries; the device must receive test::WorkedCalibrationFrame().
inline void TypeCalibrationEntries(IForm& form) { test::TypeWorkedCalibrationEntries(form); }

// The settings the user writes, the worked GSM example: they differ from the
// device's in every field, and go out as test::WorkedGsmWriteFrame().
inline GsmEntries TypedGsmEntries() { return {u"10.1.2.3", u"21400", u"\" \",\" \",\" \"", u"40", u"5"}; }

// The texts of the record the device holds before the write, test::FullGsmRecord().
inline GsmEntries DeviceGsmEntries() {
  return {u"192.168.100.200", u"12345", u"internet.tachograph-service.mts.ru,workshop,secret", u"120", u"60"};
}

}  // namespace tacho::wine
