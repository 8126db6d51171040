// Where and how a run was measured, as the reader keeps it from the context file that `run`
// writes beside the results file; unknown for runs made without it.
#pragma once

#include <array>
#include <string>

#include "results/record/context_fields.h"

struct RunContext {
  bool known = false;
  // One per ContextFields entry: its text (controls escaped), "yes"/"no" for a flag, a number as
  // written; empty where not told or kept in JSON only.
  std::array<std::string, ContextFieldCount> values{};
  std::string json;  // the whole file, for JSON output

  const std::string& operator[](ContextKey key) const {
    return values[static_cast<std::size_t>(key)];
  }
  std::string& operator[](ContextKey key) { return values[static_cast<std::size_t>(key)]; }
  bool interrupted() const { return (*this)[ContextKey::Interrupted] == "yes"; }
};
