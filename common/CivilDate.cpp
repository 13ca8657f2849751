#include "CivilDate.h"

#include <chrono>
#include <ctime>

namespace tacho {

CivilDate TodayLocal() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

CivilDate AddDays(CivilDate date, int days) {
  using namespace std::chrono;
  const sys_days start = year_month_day{year{date.year}, month{static_cast<unsigned>(date.month)},
                                        day{static_cast<unsigned>(date.day)}};
  const year_month_day end{start + std::chrono::days{days}};
  return {static_cast<int>(end.year()), static_cast<int>(static_cast<unsigned>(end.month())),
          static_cast<int>(static_cast<unsigned>(end.day()))};
}

CivilDate DefaultNextCalibrationDate(CivilDate today) { return AddDays(AddDays(today, 365), 365); }

int DaysInMonth(int y, int m) {
  using namespace std::chrono;
  if (m < 1 || m > 12) return 0;
  return static_cast<int>(static_cast<unsigned>(
      year_month_day_last{year{y}, month_day_last{month{static_cast<unsigned>(m)}}}.day()));
}

}  // namespace tacho
