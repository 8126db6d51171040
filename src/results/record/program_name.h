// The companion's name, as its messages and outputs give it.
#pragma once

inline constexpr const char* ProgramName = "drives-tesk-results";
// What each message on standard error starts with.
inline constexpr const char* Program = "drives-tesk-results: ";
