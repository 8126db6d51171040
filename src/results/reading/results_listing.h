// The results files a directory holds, by name: what `show` reads by default and how `run`
// finds the file a run cut short left behind.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

// The names of the results files in `directory`, sorted: the name carries the run's date and
// time, so name order is time order. `error` says why the directory could not be read.
std::vector<std::string> ResultsNamesIn(const std::filesystem::path& directory,
                                        std::error_code& error);
