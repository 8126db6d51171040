// Expectations about a run's report on one channel. The lines are read by the report's layout
// (the reader drives-tesk-results uses); what is checked here is what the layout cannot say: the
// worker count, the cap message, the closing path, and that every printed figure agrees with the
// others (rates with times, overall figures with the workers' sums, gains with the single-thread
// figures).
#pragma once

#include <string>
#include <vector>

#include "contract/report_layout.h"
#include "results/record/run_record.h"

// The banner of a run stopped any time after it: `threadCount` workers, the cap message or not.
void ExpectBanner(const std::vector<std::string>& lines, Channel channel, int threadCount,
                  bool capped);

// The closing path line of a run whose results file was, or was not, saved.
std::string SavedLine(const std::string& directory, const std::string& resultsName);
std::string NotSavedLine(const std::string& directory, const std::string& resultsName);

// A whole channel of a run with `workers` workers, from the first line to the last, without a
// failure note; for the console, `pathLine` is the closing path line.
void ExpectWholeReport(const std::vector<std::string>& lines, Channel channel, int workers,
                       bool capped, const std::string& pathLine = "");

// The console lines that only appear when something failed ("Unable to open file" and the
// warnings after a measurement), moved out of `lines` into the result.
std::vector<std::string> TakeFailureNotes(std::vector<std::string>& lines);

// What drives-tesk-results reads back from a fresh report (`text`, a results file or the console
// as printed): a complete record with `workers` workers and every figure present. Returns it.
RunRecord ExpectReadBack(const std::string& text, bool transcript, int workers);
