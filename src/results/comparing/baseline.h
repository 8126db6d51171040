// The column every other is compared with: the first, unless --baseline names another. Naming
// one moves it to the front, so the table, its verdicts and every output read it as they read the
// first column.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "results/comparing/comparison_table.h"

// Whether `name` picks the column labelled `label`: the label itself, or its start up to a
// space, so that "ssd" picks "ssd (5 runs)" and "ssd 2026-12-09 07:34:52".
bool PicksLabel(const std::string& name, const std::string& label);

// The column `name` picks: the one labelled exactly so, else the only one it picks;
// columns.size() when it picks none, or several and labels none exactly.
std::size_t FindBaseline(const std::vector<Column>& columns, const std::string& name);

// The column at `index` moved to the front, the others in their order.
void MoveToFront(std::vector<Column>& columns, std::size_t index);
