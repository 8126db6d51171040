#include "results/commands/commands.h"
#include "results/record/text_safety.h"

int ShowCommand(const std::vector<std::string>& files, const std::vector<std::string>& labels,
                const std::string& format, bool each, Streams streams, double thresholdPercent,
                const std::string& baseline, const std::string& title) {
  const NamedFormat* writer = FormatNamed(format, streams.err);
  if (writer == nullptr) {
    return 2;
  }
  ReadFiles read = ReadAll(files, labels, each, streams.err);
  if (!PutBaselineFirst(read.columns, baseline, streams.err)) {
    return 2;
  }
  Comparison comparison = Compare(read.runs, read.labels, read.columns, thresholdPercent);
  comparison.title = EscapeControls(title);
  const bool written = Present(*writer, comparison, streams);
  return read.allRead && written ? 0 : 1;
}
