// Every field of the context file that `run` writes beside a results file, once: its key (every
// file carries every key, in this order, null where the system does not tell), and what the
// comparison does with it. The writer of the context, its reader, the grouping of repeats and
// the context rows above the figures all take their fields from here; the README describes each.
#pragma once

#include <cstddef>

// Every field by name, in the table's order: a misspelt field does not compile.
enum class ContextKey : std::size_t {
  Benchmark,
  BenchmarkVersion,
  CompanionVersion,
  StartTime,
  WallSeconds,
  ExitStatus,
  Signal,
  Interrupted,
  CutOff,
  Workers,
  OmpNumThreads,
  Session,
  Round,
  Sequential,
  Directory,
  MountPoint,
  FileSystem,
  Fuse,
  MountOptions,
  MountSource,
  DriveType,
  BlockDevice,
  BusType,
  Vendor,
  Model,
  Rotational,
  Removable,
  SizeBytes,
  FreeBytes,
  Host,
  Os,
  Kernel,
  CpuModel,
  LogicalCpus,
  MemoryBytes,
  Privileged,
  Stderr,
};

enum class KeptAs {
  JsonOnly,  // kept in the file and in JSON output only
  Text,      // a text, controls escaped
  YesNo,     // a flag, "yes" or "no"
  Number,    // a number, as the file writes it
};

// The version of the context file's keys and their meanings: a new key keeps it, a key removed or
// changed in meaning raises it. Written first in every file as "format_version".
inline constexpr int ContextFormatVersion = 1;

struct ContextField {
  ContextKey id;
  const char* key;
  const char* title;     // the context row's title; nullptr: no row
  bool splitsColumns;    // runs that differ in it are never one column
  KeptAs keptAs;         // how the reader keeps it
  const char* fallback;  // the key read where this one is not told; nullptr: none
};

inline constexpr ContextField ContextFields[] = {
    // the run
    {ContextKey::Benchmark, "benchmark", nullptr, false, KeptAs::JsonOnly, nullptr},
    {ContextKey::BenchmarkVersion, "benchmark_version", nullptr, true, KeptAs::Text, nullptr},
    {ContextKey::CompanionVersion, "companion_version", nullptr, false, KeptAs::Text, nullptr},
    {ContextKey::StartTime, "start_time", nullptr, false, KeptAs::JsonOnly, nullptr},
    {ContextKey::WallSeconds, "wall_seconds", nullptr, false, KeptAs::JsonOnly, nullptr},
    {ContextKey::ExitStatus, "exit_status", nullptr, false, KeptAs::JsonOnly, nullptr},
    {ContextKey::Signal, "signal", nullptr, false, KeptAs::JsonOnly, nullptr},
    {ContextKey::Interrupted, "interrupted", nullptr, false, KeptAs::YesNo, nullptr},
    {ContextKey::CutOff, "cut_off", nullptr, false, KeptAs::Text, nullptr},
    {ContextKey::Workers, "workers", nullptr, false, KeptAs::JsonOnly, nullptr},
    {ContextKey::OmpNumThreads, "omp_num_threads", nullptr, false, KeptAs::JsonOnly, nullptr},
    // the session of `run` the run belongs to, its round, and the rule that stopped it (null
    // for fixed repeats): `show` pairs the runs of a round by them
    {ContextKey::Session, "session", nullptr, false, KeptAs::JsonOnly, nullptr},
    {ContextKey::Round, "round", nullptr, false, KeptAs::JsonOnly, nullptr},
    {ContextKey::Sequential, "sequential", nullptr, false, KeptAs::JsonOnly, nullptr},
    // the directory, its file system and device; the directory groups repeats by itself
    {ContextKey::Directory, "directory", nullptr, false, KeptAs::Text, nullptr},
    {ContextKey::MountPoint, "mount_point", nullptr, false, KeptAs::JsonOnly, nullptr},
    {ContextKey::FileSystem, "file_system", "file system", true, KeptAs::Text, nullptr},
    {ContextKey::Fuse, "fuse", nullptr, false, KeptAs::YesNo, nullptr},
    {ContextKey::MountOptions, "mount_options", nullptr, false, KeptAs::JsonOnly, nullptr},
    {ContextKey::MountSource, "mount_source", nullptr, false, KeptAs::JsonOnly, nullptr},
    {ContextKey::DriveType, "drive_type", nullptr, false, KeptAs::JsonOnly, nullptr},
    {ContextKey::BlockDevice, "block_device", nullptr, false, KeptAs::JsonOnly, nullptr},
    {ContextKey::BusType, "bus_type", nullptr, false, KeptAs::JsonOnly, nullptr},
    {ContextKey::Vendor, "vendor", nullptr, false, KeptAs::JsonOnly, nullptr},
    {ContextKey::Model, "model", "device", true, KeptAs::Text, "block_device"},
    {ContextKey::Rotational, "rotational", "rotational", true, KeptAs::YesNo, nullptr},
    {ContextKey::Removable, "removable", nullptr, false, KeptAs::JsonOnly, nullptr},
    {ContextKey::SizeBytes, "size_bytes", nullptr, false, KeptAs::Number, nullptr},
    {ContextKey::FreeBytes, "free_bytes", nullptr, false, KeptAs::Number, nullptr},
    // the machine
    {ContextKey::Host, "host", nullptr, true, KeptAs::Text, nullptr},
    {ContextKey::Os, "os", nullptr, false, KeptAs::Text, nullptr},
    {ContextKey::Kernel, "kernel", nullptr, false, KeptAs::Text, nullptr},
    {ContextKey::CpuModel, "cpu_model", nullptr, false, KeptAs::JsonOnly, nullptr},
    {ContextKey::LogicalCpus, "logical_cpus", nullptr, false, KeptAs::JsonOnly, nullptr},
    {ContextKey::MemoryBytes, "memory_bytes", nullptr, false, KeptAs::JsonOnly, nullptr},
    {ContextKey::Privileged, "privileged", nullptr, false, KeptAs::YesNo, nullptr},
    // what the benchmark wrote to standard error
    {ContextKey::Stderr, "stderr", nullptr, false, KeptAs::JsonOnly, nullptr},
};
inline constexpr std::size_t ContextFieldCount = sizeof ContextFields / sizeof ContextFields[0];

constexpr bool EveryRowAtItsKey() {
  for (std::size_t i = 0; i < ContextFieldCount; ++i) {
    if (static_cast<std::size_t>(ContextFields[i].id) != i) {
      return false;
    }
  }
  return true;
}
static_assert(EveryRowAtItsKey(), "ContextKey and ContextFields list the fields in one order");

// The field's key in the file.
constexpr const char* KeyText(ContextKey key) {
  return ContextFields[static_cast<std::size_t>(key)].key;
}
