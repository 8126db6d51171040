// Where and how a run was measured, as the reader keeps it from the context file that `run`
// writes beside the results file; unknown for runs made without it.
#pragma once

#include <array>
#include <string>

#include "results/record/context_fields.h"

// The rule a session run until decided records in its runs' contexts.
inline constexpr const char* SequentialRuleName = "signed-rank";

// Where a run stands in a session of `run`: the session, its round, and for a session run until
// decided the most rounds it allowed. Taken from the context file, bounded, never trusted further.
struct SessionMark {
  std::string session;  // empty: not part of a session
  int round = 0;        // 1-based; 0 where not told
  int cap = 0;          // the most rounds of a session run until decided; 0 for fixed repeats
  // The run ended by itself with exit status 0: its round's pair may count.
  bool ranToItsEnd = false;
};

struct RunContext {
  bool known = false;
  // One per ContextFields entry: its text (controls escaped), "yes"/"no" for a flag, a number as
  // written; empty where not told or kept in JSON only.
  std::array<std::string, ContextFieldCount> values{};
  std::string json;  // the whole file, for JSON output
  SessionMark mark;

  const std::string& operator[](ContextKey key) const {
    return values[static_cast<std::size_t>(key)];
  }
  std::string& operator[](ContextKey key) { return values[static_cast<std::size_t>(key)]; }
  bool interrupted() const { return (*this)[ContextKey::Interrupted] == "yes"; }
};
