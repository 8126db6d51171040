#include "results/comparing/baseline.h"

#include <algorithm>

bool PicksLabel(const std::string& name, const std::string& label) {
  return !name.empty() &&
         (label == name || (label.size() > name.size() &&
                            label.compare(0, name.size(), name) == 0 && label[name.size()] == ' '));
}

std::size_t FindBaseline(const std::vector<Column>& columns, const std::string& name) {
  std::size_t picked = columns.size();
  std::size_t count = 0;
  for (std::size_t c = 0; c < columns.size(); ++c) {
    if (columns[c].label == name) {
      return c;
    }
    if (PicksLabel(name, columns[c].label)) {
      picked = c;
      ++count;
    }
  }
  return count == 1 ? picked : columns.size();
}

void MoveToFront(std::vector<Column>& columns, std::size_t index) {
  if (index < columns.size()) {
    std::rotate(columns.begin(), columns.begin() + static_cast<std::ptrdiff_t>(index),
                columns.begin() + static_cast<std::ptrdiff_t>(index) + 1);
  }
}
