// Runs a test with the local time zone three hours ahead of UTC, no daylight saving.
#pragma once

#include <cstdlib>
#include <ctime>
#include <string>

#include <gtest/gtest.h>

namespace tacho {

class MoscowTime : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("TZ");
    hadTz_ = old != nullptr;
    if (hadTz_) oldTz_ = old;
    SetTz("MSK-3");
  }
  void TearDown() override {
    if (hadTz_) {
      SetTz(oldTz_.c_str());
    } else {
#ifdef _WIN32
      _putenv("TZ=");
#else
      unsetenv("TZ");
#endif
      tzset();
    }
  }

 private:
  static void SetTz(const char* value) {
#ifdef _WIN32
    _putenv_s("TZ", value);
    _tzset();
#else
    setenv("TZ", value, 1);
    tzset();
#endif
  }
  bool hadTz_ = false;
  std::string oldTz_;
};

}  // namespace tacho
