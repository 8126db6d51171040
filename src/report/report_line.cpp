#include "report/report_line.h"

#include <iostream>

void ReportHeader(const char* consoleHeader, const char* logHeader) {
  WriteLine(std::cout, consoleHeader);
  WriteLine(std::cout);
  WriteLine(ResultsLog, logHeader);
  WriteLine(ResultsLog);
}

void ReportParallelHeader(const char* consoleHeader, const char* logHeader) {
  ReportLine(MultiThreadLine);
  ReportHeader(consoleHeader, logHeader);
}

std::ostream& operator<<(std::ostream& channel, ThreadTag tag) {
  return channel << ThreadTagText << tag.thread << " ";
}
