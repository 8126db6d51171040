// The context of one run, as `run` writes it beside the results file: what ran, when, how it
// ended, and where: the directory's file system and device, and the machine. Every key is in
// every file, null where the system does not tell; the README describes each one.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "results/record/context_fields.h"

// A context with every key null.
nlohmann::ordered_json EmptyContext();

// The version the benchmark carries in its executable after its version mark; null when the
// file has no mark.
nlohmann::ordered_json BenchmarkVersion(const std::string& program);

// The date and time of `when` in ISO 8601 with the offset from UTC: "2026-12-08T21:04:05+01:00".
std::string IsoTime(long long when);
