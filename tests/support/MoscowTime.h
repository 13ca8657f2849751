// Runs a test with the local time zone three hours ahead of UTC, no daylight
// saving, and gives the process its own time zone back when the test ends.
#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace tacho {

// Sets TZ (nullptr: removes it) for as long as it lives; the old value, or its
// absence, comes back after.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) old_ = old;
    Set(zone);
  }
  ~ScopedTimeZone() { Set(old_ ? old_->c_str() : nullptr); }
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

 private:
  // nullptr: no TZ at all.
  static void Set(const char* zone) {
#ifdef _WIN32
    _putenv_s("TZ", zone ? zone : "");
    _tzset();
#else
    if (zone) {
      setenv("TZ", zone, 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
#endif
  }

  std::optional<std::string> old_;
};

class MoscowTime : public ::testing::Test {
 private:
  ScopedTimeZone zone_{"MSK-3"};
};

}  // namespace tacho
