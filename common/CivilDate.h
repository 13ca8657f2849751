// Calendar dates for the default next calibration date: today plus 730 days.
#pragma once

namespace tacho {

struct CivilDate {
  int year;
  int month;  // 1..12
  int day;    // 1..31
  friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

CivilDate TodayLocal();
CivilDate AddDays(CivilDate date, int days);
// Today plus 365 days, plus 365 days again.
CivilDate DefaultNextCalibrationDate(CivilDate today);
int DaysInMonth(int year, int month);

}  // namespace tacho
