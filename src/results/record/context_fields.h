// Every field of the context file that `run` writes beside a results file, once: its key (every
// file carries every key, in this order, null where the system does not tell), and what the
// comparison does with it. The writer of the context, its reader, the grouping of repeats and
// the context rows above the figures all take their fields from here; the README describes each.
#pragma once

#include <cstddef>

enum class ContextShown {
  Hidden,  // kept in the file and in JSON output only
  Text,    // a text, controls escaped
  YesNo,   // a flag, "yes" or "no"
  Number,  // a number, as the file writes it
};

// The version of the context file's keys and their meanings: a new key keeps it, a key removed or
// changed in meaning raises it. Written first in every file as "format_version".
inline constexpr int ContextFormatVersion = 1;

struct ContextField {
  const char* key;
  const char* title;     // the context row's title; nullptr: no row
  bool splitsColumns;    // runs that differ in it are never one column
  ContextShown shown;    // how the reader keeps it
  const char* fallback;  // the key read where this one is not told; nullptr: none
};

inline constexpr ContextField ContextFields[] = {
    // the run
    {"benchmark", nullptr, false, ContextShown::Hidden, nullptr},
    {"benchmark_version", nullptr, true, ContextShown::Text, nullptr},
    {"companion_version", nullptr, false, ContextShown::Text, nullptr},
    {"start_time", nullptr, false, ContextShown::Hidden, nullptr},
    {"wall_seconds", nullptr, false, ContextShown::Hidden, nullptr},
    {"exit_status", nullptr, false, ContextShown::Hidden, nullptr},
    {"signal", nullptr, false, ContextShown::Hidden, nullptr},
    {"interrupted", nullptr, false, ContextShown::YesNo, nullptr},
    {"cut_off", nullptr, false, ContextShown::Text, nullptr},
    {"workers", nullptr, false, ContextShown::Hidden, nullptr},
    {"omp_num_threads", nullptr, false, ContextShown::Hidden, nullptr},
    // the directory, its file system and device; the directory groups repeats by itself
    {"directory", nullptr, false, ContextShown::Text, nullptr},
    {"mount_point", nullptr, false, ContextShown::Hidden, nullptr},
    {"file_system", "file system", true, ContextShown::Text, nullptr},
    {"fuse", nullptr, false, ContextShown::YesNo, nullptr},
    {"mount_options", nullptr, false, ContextShown::Hidden, nullptr},
    {"mount_source", nullptr, false, ContextShown::Hidden, nullptr},
    {"drive_type", nullptr, false, ContextShown::Hidden, nullptr},
    {"block_device", nullptr, false, ContextShown::Hidden, nullptr},
    {"bus_type", nullptr, false, ContextShown::Hidden, nullptr},
    {"vendor", nullptr, false, ContextShown::Hidden, nullptr},
    {"model", "device", true, ContextShown::Text, "block_device"},
    {"rotational", "rotational", true, ContextShown::YesNo, nullptr},
    {"removable", nullptr, false, ContextShown::Hidden, nullptr},
    {"size_bytes", nullptr, false, ContextShown::Number, nullptr},
    {"free_bytes", nullptr, false, ContextShown::Number, nullptr},
    // the machine
    {"host", nullptr, true, ContextShown::Text, nullptr},
    {"os", nullptr, false, ContextShown::Text, nullptr},
    {"kernel", nullptr, false, ContextShown::Text, nullptr},
    {"cpu_model", nullptr, false, ContextShown::Hidden, nullptr},
    {"logical_cpus", nullptr, false, ContextShown::Hidden, nullptr},
    {"memory_bytes", nullptr, false, ContextShown::Hidden, nullptr},
    {"privileged", nullptr, false, ContextShown::YesNo, nullptr},
    // what the benchmark wrote to standard error
    {"stderr", nullptr, false, ContextShown::Hidden, nullptr},
};
inline constexpr std::size_t ContextFieldCount = sizeof ContextFields / sizeof ContextFields[0];

// The place of `key` in ContextFields; ContextFieldCount for no field.
constexpr std::size_t ContextFieldIndex(const char* key) {
  for (std::size_t i = 0; i < ContextFieldCount; ++i) {
    const char* a = ContextFields[i].key;
    const char* b = key;
    while (*a != '\0' && *a == *b) {
      ++a;
      ++b;
    }
    if (*a == *b) {
      return i;
    }
  }
  return ContextFieldCount;
}
