#include "results/commands/commands.h"
#include "results/reading/scratch_files.h"
#include "results/record/text_safety.h"

int CleanCommand(const std::string& directory, bool yes, Streams streams) {
  std::string error;
  const std::vector<ScratchFile> found = FindScratchFiles(directory, error);
  if (!error.empty()) {
    streams.err << EscapeControls(error) << "\n";
    return 1;
  }
  std::uintmax_t total = 0;
  for (const ScratchFile& file : found) {
    streams.out << file.name << "  " << file.size << " bytes\n";
    total += file.size;
  }
  streams.out << found.size() << " scratch files, " << total << " bytes in all";
  if (found.empty() || !yes) {
    streams.out << (found.empty() || yes ? "" : "; run again with --yes to remove them") << "\n";
    return Written(streams.out, streams.err) ? 0 : 1;
  }
  const std::vector<std::string> failures = RemoveScratchFiles(directory, found);
  streams.out << ", " << found.size() - failures.size() << " removed\n";
  for (const std::string& failure : failures) {
    streams.err << EscapeControls(failure) << "\n";
  }
  return failures.empty() && Written(streams.out, streams.err) ? 0 : 1;
}
