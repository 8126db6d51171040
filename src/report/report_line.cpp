#include "report/report_line.h"

#include <iostream>

void WriteBlanks(std::ostream& channel, int count) {
  for (int line = 0; line < count; ++line) {
    WriteLine(channel);
  }
}

void ReportHeader(ChannelText header) {
  ForEachChannel([&](std::ostream& channel, Channel which) {
    WriteLine(channel, header.On(which));
    WriteBlanks(channel, HeaderBlanks);
  });
}

void ReportParallelHeader(ChannelText header) {
  ReportLine(MultiThreadLine);
  ReportHeader(header);
}

std::ostream& operator<<(std::ostream& channel, ThreadTag tag) {
  return channel << ThreadTagText << tag.thread << " ";
}
