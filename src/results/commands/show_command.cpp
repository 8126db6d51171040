#include "results/commands/commands.h"

int ShowCommand(const std::vector<std::string>& files, const std::vector<std::string>& labels,
                const std::string& format, bool each, Streams streams, double thresholdPercent,
                const std::string& baseline) {
  const NamedFormat* writer = FormatNamed(format, streams.err);
  if (writer == nullptr) {
    return 2;
  }
  ReadFiles read = ReadAll(files, labels, each, streams.err);
  if (!PutBaselineFirst(read.columns, baseline, streams.err)) {
    return 2;
  }
  const bool written =
      Present(*writer, Compare(read.runs, read.labels, read.columns, thresholdPercent), streams);
  return read.allRead && written ? 0 : 1;
}
