// The environment `run` starts the benchmark in, and where it finds the benchmark.
#pragma once

#include <string>

// Sets a variable of this program's environment, which the benchmark inherits.
void SetEnvironment(const std::string& name, const std::string& value);

// The directory this program's executable stands in; empty when unknown.
std::string ProgramDirectory();
// The benchmark's file name here: "drives-tesk", or "drives-tesk.exe" on Windows.
std::string BenchmarkFileName();
// The first executable of that name in the PATH directories; empty when none.
std::string FindOnPath(const std::string& name);
