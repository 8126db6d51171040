// The local time a run started at, for its results file's name and its context.
#pragma once

// Local time of `when` (seconds since the epoch) as broken-down fields, and its offset from UTC
// in minutes.
struct LocalTime {
  int year, month, day, hour, minute, second, offsetMinutes;
};
LocalTime ToLocalTime(long long when);
