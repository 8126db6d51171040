#include "results/running/budget.h"

#include <cmath>
#include <iterator>

double ParseBudget(const std::string& text) {
  static const struct {
    char unit;
    double seconds;
  } units[] = {{'h', 3600}, {'m', 60}, {'s', 1}};
  double total = 0;
  std::size_t next = 0;  // the first unit still allowed
  std::size_t at = 0;
  bool plain = false;
  while (at < text.size()) {
    double number = 0;
    const std::size_t digits = at;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
      number = number * 10 + (text[at] - '0');
      if (number > MaxBudgetSeconds) {
        return -1;
      }
      ++at;
    }
    if (at == digits) {
      return -1;  // a unit without its number, or a character that is neither
    }
    if (at == text.size()) {
      // Plain seconds stand alone; "1h30" is not 1 h 30 s.
      plain = true;
      if (next != 0) {
        return -1;
      }
      total = number;
      break;
    }
    std::size_t unit = next;
    while (unit < std::size(units) && units[unit].unit != text[at]) {
      ++unit;
    }
    if (unit == std::size(units)) {
      return -1;
    }
    total += number * units[unit].seconds;
    next = unit + 1;
    ++at;
  }
  if ((!plain && next == 0) || total <= 0 || total > MaxBudgetSeconds) {
    return -1;
  }
  return total;
}

std::string BudgetText(double seconds) {
  const long long whole = std::llround(seconds);
  const long long hours = whole / 3600;
  const long long minutes = whole % 3600 / 60;
  const long long rest = whole % 60;
  std::string text;
  auto add = [&text](long long count, const char* unit) {
    if (count != 0) {
      text += (text.empty() ? "" : " ") + std::to_string(count) + " " + unit;
    }
  };
  add(hours, "h");
  add(minutes, "min");
  add(rest, "s");
  return text.empty() ? "0 s" : text;
}
