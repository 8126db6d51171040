// Writing report lines: every line goes through stream insertion and ends with std::endl, so the
// console shows it at once and the results file holds every finished line even if the run is
// stopped later.
#pragma once

#include <iostream>
#include <ostream>

#include "contract/constants.h"
#include "state/global_streams.h"
#include "contract/report_texts.h"

// One line on one channel: the items inserted in order, then a line break and a flush.
template <typename... Items>
void WriteLine(std::ostream& channel, const Items&... items) {
  (channel << ... << items) << std::endl;
}

// One line on both channels: the console first, then the results file.
template <typename... Items>
void ReportLine(const Items&... items) {
  WriteLine(std::cout, items...);
  WriteLine(ResultsLog, items...);
}

// A group of lines written on the console first, then the same group in the results file.
template <typename WriteGroup>
void ForEachChannel(WriteGroup writeGroup) {
  writeGroup(static_cast<std::ostream&>(std::cout));
  writeGroup(static_cast<std::ostream&>(ResultsLog));
}

// A test's header and its empty line, on the console and then in the results file. The two texts
// differ for some tests, so both are given at every call.
void ReportHeader(const char* consoleHeader, const char* logHeader);

// The start of a parallel phase: "Multi-Thread Enabled:" on both channels, then the header.
void ReportParallelHeader(const char* consoleHeader, const char* logHeader);

// Derived figures. The megabyte figure scales by 1/1024 twice (exact in binary floating point).
inline double ToMillions(double rate) {
  return rate / AccessesPerMillion;
}
inline double ToMegabytes(double rate) {
  return rate * MegabyteScale * MegabyteScale;
}

// The lead of a line that a worker writes about itself: "Thread:", the number, one blank.
struct ThreadTag {
  int thread;
};
std::ostream& operator<<(std::ostream& channel, ThreadTag tag);

// The lead of a single-thread line: nothing.
struct NoTag {};
inline std::ostream& operator<<(std::ostream& channel, NoTag) {
  return channel;
}

// The two lines of a file-handling measurement. The text before the rate differs between the
// channels of the single-thread tests, so the caller passes it.
template <typename Tag>
void WriteCycleLines(std::ostream& channel, Tag tag, double elapsed, double rate,
                     const char* processText) {
  WriteLine(channel, tag, SpentText, elapsed, SecondsText);
  WriteLine(channel, tag, processText, rate, FilesText);
}

// The three lines of a throughput half: time, millions of accesses, megabytes. Only the first two
// carry the worker's tag; the closing texts differ between halves and channels.
template <typename Tag>
void WriteSpeedLines(std::ostream& channel, Tag tag, double elapsed, double rate,
                     const char* secondsText, const char* accessText) {
  WriteLine(channel, tag, SpentText, elapsed, secondsText);
  WriteLine(channel, tag, AccessRateText, ToMillions(rate), accessText);
  WriteLine(channel, DataRateText, ToMegabytes(rate), MegabytesText);
}
