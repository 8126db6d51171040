#include <ctime>

#include "results/system/local_time.h"

LocalTime ToLocalTime(long long when) {
  const std::time_t time = static_cast<std::time_t>(when);
  std::tm local{};
  std::tm utc{};
  localtime_s(&local, &time);
  gmtime_s(&utc, &time);
  // The offset from the two broken-down times: days apart (at most one) and the clock.
  int days = local.tm_yday - utc.tm_yday;
  if (local.tm_year != utc.tm_year) {
    days = local.tm_year > utc.tm_year ? 1 : -1;
  }
  const int offset =
      days * 24 * 60 + (local.tm_hour - utc.tm_hour) * 60 + (local.tm_min - utc.tm_min);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
          local.tm_min,         local.tm_sec,     offset};
}
