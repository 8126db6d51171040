// The documents say what the program does: the README's examples of show's output, the example
// chart it links, and the CSV columns that the README and the manual page list are the program's
// own output on the runs kept in tests/data/results/readme.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "results/stored_runs.h"
#include "support/line_patterns.h"
#include "support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;

const fs::path Source = fs::u8path(DRIVES_TESK_SOURCE);

// `ssd/results*.txt ram-disk/results*.txt` in `base`, as a shell expands it: the transcripts
// beside the results files match too.
std::vector<std::string> Expanded(const fs::path& base) {
  std::vector<std::string> arguments;
  for (const char* folder : {"ssd", "ram-disk"}) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(base / folder)) {
      const std::string name = entry.path().filename().u8string();
      if (name.rfind("results", 0) == 0 && name.compare(name.size() - 4, 4, ".txt") == 0) {
        found.push_back(entry.path().u8string());
      }
    }
    std::sort(found.begin(), found.end());
    arguments.insert(arguments.end(), found.begin(), found.end());
  }
  return arguments;
}

// The examples the README marks "<!-- shown by: FOLDER: show ssd/results*.txt ... -->": the
// folder, and the lines of the indented blocks below, but the command and `run`'s own lines: those
// of its runs ("run 3 of 10: ...", "round 2 of at most 12, ...") and the line that says why a
// session run until decided stopped, which the files cannot tell `show`.
std::vector<std::pair<std::string, std::vector<std::string>>> ReadmeExamples() {
  std::vector<std::pair<std::string, std::vector<std::string>>> examples;
  const std::vector<std::string> readme =
      SplitLines(ReadWholeFile((Source / "README.md").string()));
  const std::string mark = "<!-- shown by: ";
  for (std::size_t i = 0; i < readme.size(); ++i) {
    if (readme[i].rfind(mark, 0) != 0) {
      continue;
    }
    examples.push_back(
        {readme[i].substr(mark.size(), readme[i].find(": ", mark.size()) - mark.size()), {}});
    for (std::size_t at = i + 1; at < readme.size(); ++at) {
      if (!readme[at].empty() && readme[at].rfind("    ", 0) != 0) {
        break;
      }
      const std::string line = readme[at].empty() ? "" : readme[at].substr(4);
      const bool runsOwn = line.rfind("run ", 0) == 0 || line.rfind("round ", 0) == 0 ||
                           line.rfind("stopped", 0) == 0 || line.rfind("interrupted after", 0) == 0;
      if (!line.empty() && line.rfind("drives-tesk-results ", 0) != 0 && !runsOwn) {
        examples.back().second.push_back(line);
      }
    }
  }
  return examples;
}

TEST(Documents, TheReadmesExamplesAreWhatShowPrints) {
  const auto examples = ReadmeExamples();
  ASSERT_EQ(examples.size(), 3u)
      << "the examples of one run, of repeats and of a session run until decided";
  for (const auto& [folder, lines] : examples) {
    SCOPED_TRACE(folder);
    const Outcome shown = Show(Expanded(fs::u8path(DRIVES_TESK_TEST_DATA) / folder));
    ASSERT_EQ(shown.status, 0) << shown.err;
    const std::vector<std::string> output = SplitLines(shown.out);
    // Every line as the program prints it, in its order; "..." skips lines.
    std::size_t next = 0;
    bool skipping = false;
    for (const std::string& line : lines) {
      if (line == "...") {
        skipping = true;
        continue;
      }
      while (skipping && next < output.size() && output[next] != line) {
        ++next;
      }
      ASSERT_LT(next, output.size()) << "not printed: " << line;
      EXPECT_EQ(output[next], line);
      ++next;
      skipping = false;
    }
    EXPECT_FALSE(skipping) << "the example ends with the output's last line";
    EXPECT_EQ(next, output.size()) << "the example ends where the output does";
  }
}

// docs/example-chart.svg, which the README links, is what chart draws of the repeats.
TEST(Documents, TheExampleChartIsWhatChartDraws) {
  ScratchDirectory directory;
  const fs::path runs = fs::u8path(DRIVES_TESK_TEST_DATA) / "readme/five-runs";
  const Outcome drawn = Chart(Expanded(runs), "chart.svg");
  ASSERT_EQ(drawn.status, 0) << drawn.err;
  const std::string example = (Source / "docs/example-chart.svg").string();
  if (std::getenv("DRIVES_TESK_UPDATE_GOLDEN") != nullptr) {
    fs::copy_file("chart.svg", example, fs::copy_options::overwrite_existing);
  }
  EXPECT_EQ(ReadWholeFile("chart.svg"), ReadWholeFile(example))
      << "run with DRIVES_TESK_UPDATE_GOLDEN=1 to draw it anew";
}

// docs/example-report.html, which the README links, is what `show --format html` writes of the
// repeats, given as the README's command gives them in their folder (so the page names the files
// the same on every machine and platform).
TEST(Documents, TheExampleReportIsWhatShowWrites) {
  const fs::path runs = fs::u8path(DRIVES_TESK_TEST_DATA) / "readme/five-runs";
  std::vector<std::string> relative;
  for (const std::string& file : Expanded(runs)) {
    const fs::path path = fs::u8path(file);
    relative.push_back(path.parent_path().filename().u8string() + "/" +
                       path.filename().u8string());
  }
  const fs::path previous = fs::current_path();
  fs::current_path(runs);
  const Outcome shown = Show(relative, "html");
  fs::current_path(previous);
  ASSERT_EQ(shown.status, 0) << shown.err;
  const std::string example = (Source / "docs/example-report.html").string();
  if (std::getenv("DRIVES_TESK_UPDATE_GOLDEN") != nullptr) {
    WriteTextFile(example, shown.out);
  }
  // Compared whole, but not printed whole: the page is long.
  EXPECT_TRUE(shown.out == ReadWholeFile(example))
      << example << " differs; run with DRIVES_TESK_UPDATE_GOLDEN=1 to write it anew";
}

// The CSV columns as the README and the manual page list them are the header the program writes.
TEST(Documents, TheCsvColumnsListedAreThePrograms) {
  ScratchDirectory directory;
  const std::string header = SplitLines(Show({}, "csv").out).at(0);
  std::string readme;
  for (const std::string& line : SplitLines(ReadWholeFile((Source / "README.md").string()))) {
    if (line.rfind("`key,", 0) == 0) {
      readme = line.substr(1, line.find('`', 1) - 1);
    }
  }
  std::string manual;
  const std::string manualPath = (Source / "man/drives-tesk-results.1.in").string();
  for (const std::string& line : SplitLines(ReadWholeFile(manualPath))) {
    if (line.rfind("\\fIkey, ", 0) == 0) {
      manual = line.substr(3, line.find("\\fR") - 3);
      manual.erase(std::remove(manual.begin(), manual.end(), ' '), manual.end());
    }
  }
  EXPECT_EQ(readme, header) << "README";
  EXPECT_EQ(manual, header) << "manual page";
}

}  // namespace
