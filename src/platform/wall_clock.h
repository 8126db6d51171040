// The clock of every timed span. The OpenMP runtime's wall clock where it ticks finely enough
// (Linux: nanoseconds); where it ticks coarser than a microsecond (MinGW's runtime ticks in whole
// milliseconds, so a 4 MiB copy would read as 0, 1 or 4 ms, or as an infinite rate), the
// platform's monotonic high-resolution clock instead.
#pragma once

// The finest tick the runtime's clock may have and still time the spans.
inline constexpr double FinestUsableTick = 1e-6;

// True when a clock that ticks every `tick` seconds is fine enough for the spans.
bool TickIsFineEnough(double tick);

// True when the spans are timed with the OpenMP runtime's clock, false when with the platform's
// monotonic clock. Decided once, before main.
bool TimedWithRuntimeClock();

// Seconds on the chosen clock; only differences are used.
double WallSeconds();

// The tick of the chosen clock, in seconds.
double WallTick();
