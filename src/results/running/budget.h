// The time a session run until decided may take: read from the command line, and said again in
// its stop line.
#pragma once

#include <string>

// The longest budget taken: a week, far past any session of at most 100 rounds of minutes each.
inline constexpr double MaxBudgetSeconds = 7 * 24 * 3600;

// "90s", "30m", "1h30m", "2h", "1h5s" or plain seconds ("600"): hours, minutes and seconds in that
// order, each at most once, whole numbers only. -1 for anything else, for 0 and past
// MaxBudgetSeconds.
double ParseBudget(const std::string& text);

// "30 min", "1 h 30 min", "1 min 30 s": a budget for people, its parts that are not zero.
std::string BudgetText(double seconds);
