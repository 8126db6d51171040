#include <ctime>

#include "results/system/local_time.h"

LocalTime ToLocalTime(long long when) {
  const std::time_t time = static_cast<std::time_t>(when);
  std::tm local{};
  localtime_r(&time, &local);
  return {local.tm_year + 1900,
          local.tm_mon + 1,
          local.tm_mday,
          local.tm_hour,
          local.tm_min,
          local.tm_sec,
          static_cast<int>(local.tm_gmtoff / 60)};
}
