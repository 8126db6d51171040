// The caveats under a comparison, kind by kind, on stored real runs copied into a temporary
// directory and altered there, and the same caveats in every format.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "contract/file_names.h"
#include "results/output/format_svg.h"
#include "results/stored_runs.h"
#include "support/line_patterns.h"
#include "support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;

// The five runs a side behind the README (ssd on ext4, ram-disk on tmpfs), with their transcripts
// and contexts, copied into the current directory.
void CopyFiveRuns() {
  fs::copy(fs::u8path(DRIVES_TESK_TEST_DATA) / "readme/five-runs", ".",
           fs::copy_options::recursive);
}

// The results files of `folder`, oldest first.
std::vector<std::string> ResultsIn(const std::string& folder) {
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(fs::u8path(folder))) {
    if (IsResultsName(entry.path().filename().u8string())) {
      files.push_back(folder + "/" + entry.path().filename().u8string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<std::string> FiveRunsEach() {
  std::vector<std::string> files = ResultsIn("ssd");
  for (const std::string& file : ResultsIn("ram-disk")) {
    files.push_back(file);
  }
  return files;
}

// `key` of the context beside `results` set to `value`.
void SetContext(const std::string& results, const char* key, const nlohmann::json& value) {
  const std::string path = BesideResults(results, ContextSuffix);
  nlohmann::ordered_json context = nlohmann::ordered_json::parse(ReadWholeFile(path));
  context[key] = value;
  WriteTextFile(path, context.dump(2));
}

// `show`'s JSON of the files.
nlohmann::json ShownJson(const std::vector<std::string>& files) {
  const Outcome shown = Show(files, "json");
  EXPECT_EQ(shown.status, 0) << shown.err;
  return nlohmann::json::parse(shown.out);
}

std::vector<std::string> Kinds(const nlohmann::json& caveats) {
  std::vector<std::string> kinds;
  for (const auto& caveat : caveats) {
    kinds.push_back(caveat.at("kind"));
  }
  return kinds;
}

// The caveats of `kind`.
std::vector<nlohmann::json> OfKind(const nlohmann::json& caveats, const std::string& kind) {
  std::vector<nlohmann::json> found;
  for (const auto& caveat : caveats) {
    if (caveat.at("kind") == kind) {
      found.push_back(caveat);
    }
  }
  return found;
}

// Every row key of a column, in table order.
std::vector<std::string> RowKeys(const nlohmann::json& column) {
  std::vector<std::string> keys;
  for (const auto& figure : column.at("figures").items()) {
    keys.push_back(figure.key());
  }
  std::sort(keys.begin(), keys.end());
  return keys;
}

std::vector<std::string> Sorted(const nlohmann::json& list) {
  std::vector<std::string> items = list.get<std::vector<std::string>>();
  std::sort(items.begin(), items.end());
  return items;
}

// As stored: the runs differ in free space (ext4 a third free, the RAM disk all but empty), their
// 4 MiB spans are one-shot, and the throughput figures come from the page cache: once each.
TEST(Caveats, TheStoredRepeatsTellFreeSpaceOneShotsAndThePageCacheOnce) {
  ScratchDirectory directory;
  CopyFiveRuns();
  const nlohmann::json json = ShownJson(FiveRunsEach());
  const nlohmann::json& caveats = json.at("caveats");
  EXPECT_EQ(Kinds(caveats),
            (std::vector<std::string>{"context_differs", "one_shot", "page_cache"}));
  const std::vector<std::string> both = {"ssd (5 runs)", "ram-disk (5 runs)"};

  const nlohmann::json& free = caveats.at(0);
  EXPECT_EQ(free.at("text"),
            "columns differ in free space by more than 10 points of the file system's size: 31% "
            "for ssd (5 runs); 100% for ram-disk (5 runs)");
  EXPECT_EQ(free.at("columns"), both);
  EXPECT_EQ(Sorted(free.at("figures")), RowKeys(json.at("columns").at(0))) << "every figure";

  // The one-shot spans are the figures flagged "short" in some column.
  const nlohmann::json& shortSpans = caveats.at(1);
  std::vector<std::string> flagged;
  for (const auto& column : json.at("columns")) {
    for (const auto& figure : column.at("figures").items()) {
      if (figure.value().at("flags").get<std::string>().find("short") != std::string::npos &&
          std::find(flagged.begin(), flagged.end(), figure.key()) == flagged.end()) {
        flagged.push_back(figure.key());
      }
    }
  }
  std::sort(flagged.begin(), flagged.end());
  EXPECT_EQ(Sorted(shortSpans.at("figures")), flagged);
  EXPECT_EQ(shortSpans.at("text"), "~ timed in under 10 ms: one shot, too short to trust; " +
                                       std::to_string(flagged.size()) + " figures of every column");

  // The page cache serves the byte-wise and 4 MiB figures, single thread, all workers and what
  // derives from them; the file-handling figures are the file system's own.
  const nlohmann::json& cache = caveats.at(2);
  std::vector<std::string> throughput;
  for (const std::string& key : RowKeys(json.at("columns").at(0))) {
    if (key.find(".byte_") != std::string::npos || key.find(".block_") != std::string::npos) {
      throughput.push_back(key);
    }
  }
  EXPECT_EQ(throughput.size(), 4u + 4u * 5u);
  EXPECT_EQ(Sorted(cache.at("figures")), throughput);
  EXPECT_EQ(cache.at("columns"), both);
}

// Contexts that differ in what does not split columns: the RAM disk's runs on another kernel and
// without privileges, one of the SSD's runs on a third kernel, one of the RAM disk's half full.
TEST(Caveats, ContextsThatDifferBetweenAndWithinColumns) {
  ScratchDirectory directory;
  CopyFiveRuns();
  const std::vector<std::string> ssd = ResultsIn("ssd");
  const std::vector<std::string> ram = ResultsIn("ram-disk");
  for (const std::string& run : ram) {
    SetContext(run, "kernel", "Linux 6.1.0");
    SetContext(run, "privileged", false);
  }
  SetContext(ssd.back(), "kernel", "Linux 6.19.0");
  SetContext(ram[2], "free_bytes", 25276182528 / 2);
  // Only where the contexts tell: a run without a kernel is no difference.
  SetContext(ssd.front(), "os", nullptr);

  const nlohmann::json json = ShownJson(FiveRunsEach());
  const std::vector<nlohmann::json> differs = OfKind(json.at("caveats"), "context_differs");
  ASSERT_EQ(differs.size(), 3u);
  EXPECT_EQ(differs[0].at("text"),
            "columns differ in kernel: Linux 6.18.44-fc-v1300 for ssd (5 runs); Linux 6.1.0 for "
            "ram-disk (5 runs)");
  EXPECT_EQ(differs[1].at("text"),
            "columns differ in privileges (root or administrator): yes for ssd (5 runs); no for "
            "ram-disk (5 runs)");
  EXPECT_EQ(differs[2].at("text").get<std::string>().rfind("columns differ in free space", 0), 0u);
  EXPECT_EQ(Sorted(differs[0].at("figures")), RowKeys(json.at("columns").at(0)));

  const std::vector<nlohmann::json> varies = OfKind(json.at("caveats"), "context_varies");
  ASSERT_EQ(varies.size(), 2u);
  EXPECT_EQ(varies[0].at("text"),
            "runs of ssd (5 runs) differ in kernel: Linux 6.18.44-fc-v1300, Linux 6.19.0");
  EXPECT_EQ(varies[0].at("columns"), (std::vector<std::string>{"ssd (5 runs)"}));
  EXPECT_EQ(varies[1].at("text"),
            "runs of ram-disk (5 runs) differ in free space by more than 10 points of the file "
            "system's size: 50% to 100%");
  EXPECT_EQ(varies[1].at("columns"), (std::vector<std::string>{"ram-disk (5 runs)"}));
}

// 3 against 3 runs give no interval: every judged figure is named. 4 against 4 give one.
TEST(Caveats, TooFewRunsForAnIntervalAndSingleRuns) {
  ScratchDirectory directory;
  CopyFiveRuns();
  std::vector<std::string> ssd = ResultsIn("ssd");
  std::vector<std::string> ram = ResultsIn("ram-disk");
  const std::vector<std::string> four = {ssd[0], ssd[1], ssd[2], ssd[3],
                                         ram[0], ram[1], ram[2], ram[3]};
  EXPECT_TRUE(OfKind(ShownJson(four).at("caveats"), "too_few_runs").empty());

  const nlohmann::json json = ShownJson({ssd[0], ssd[1], ssd[2], ram[0], ram[1], ram[2]});
  const std::vector<nlohmann::json> tooFew = OfKind(json.at("caveats"), "too_few_runs");
  ASSERT_EQ(tooFew.size(), 1u);
  EXPECT_EQ(tooFew[0].at("text"),
            "too few runs for a 95% interval (it needs 4 runs a side, or 1 against 39): ram-disk "
            "(3 runs) against ssd (3 runs)");
  EXPECT_EQ(tooFew[0].at("columns"),
            (std::vector<std::string>{"ssd (3 runs)", "ram-disk (3 runs)"}));
  EXPECT_EQ(Sorted(tooFew[0].at("figures")), RowKeys(json.at("columns").at(1)));
  for (const auto& figure : json.at("columns").at(1).at("figures")) {
    EXPECT_EQ(figure.at("interval_percent"), nullptr);
    EXPECT_EQ(figure.at("verdict"), "undecided");
  }
  EXPECT_TRUE(OfKind(json.at("caveats"), "single_runs").empty());

  // Single runs: nothing judged, every change named.
  const nlohmann::json single = ShownJson({ssd[0], ram[0]});
  const std::vector<nlohmann::json> singles = OfKind(single.at("caveats"), "single_runs");
  ASSERT_EQ(singles.size(), 1u);
  EXPECT_EQ(Sorted(singles[0].at("figures")), RowKeys(single.at("columns").at(1)));
  EXPECT_EQ(singles[0].at("columns").size(), 2u);
  EXPECT_TRUE(OfKind(single.at("caveats"), "too_few_runs").empty());
}

// A results file cut short, a run `run` stopped after its last figure, and a transcript that
// warned: each names its column and the figures it touches.
TEST(Caveats, RunsCutShortAndFailedOperations) {
  ScratchDirectory directory;
  const std::string whole = StoredRun("linux-2-workers");
  const std::string text = ReadWholeFile(whole);
  fs::create_directories("cut");
  WriteTextFile("cut/" + fs::u8path(whole).filename().u8string(), text.substr(0, text.size() / 2));
  nlohmann::json json = ShownJson({whole, ResultsIn("cut").at(0)});
  std::vector<nlohmann::json> cut = OfKind(json.at("caveats"), "cut_short");
  ASSERT_EQ(cut.size(), 1u);
  const std::string label = json.at("columns").at(1).at("label");
  std::vector<std::string> incomplete;
  for (const auto& figure : json.at("columns").at(1).at("figures").items()) {
    if (figure.value().at("flags").get<std::string>().find("incomplete") != std::string::npos) {
      incomplete.push_back(figure.key());
    }
  }
  std::sort(incomplete.begin(), incomplete.end());
  ASSERT_FALSE(incomplete.empty());
  EXPECT_EQ(Sorted(cut[0].at("figures")), incomplete);
  EXPECT_EQ(cut[0].at("columns"), (std::vector<std::string>{label}));
  EXPECT_EQ(cut[0].at("text"), "? the run was cut short before this figure; " +
                                   std::to_string(incomplete.size()) + " figures of " + label +
                                   ": report incomplete");

  // Timed out and interrupted as `run` recorded it, though the report came to its end.
  CopyFiveRuns();
  const std::vector<std::string> ram = ResultsIn("ram-disk");
  SetContext(ram[0], "cut_off", "timed out after 600 s");
  SetContext(ram[1], "interrupted", true);
  json = ShownJson(FiveRunsEach());
  cut = OfKind(json.at("caveats"), "cut_short");
  ASSERT_EQ(cut.size(), 1u);
  EXPECT_EQ(cut[0].at("text"),
            "runs cut short after their last figure: ram-disk (5 runs): timed out after 600 s, "
            "interrupted");
  EXPECT_EQ(Sorted(cut[0].at("figures")), RowKeys(json.at("columns").at(1)));

  // A transcript that warned about the single-thread file handling: that figure and the gains
  // divided by it.
  fs::create_directories("warned");
  const std::string results =
      "warned/" + fs::u8path(StoredRun("linux-1-worker")).filename().u8string();
  fs::copy_file(StoredRun("linux-1-worker"), results);
  std::string console = ReadWholeFile(StoredRun("linux-1-worker", "console"));
  const std::string rate = "Files/sec.\n";
  console.insert(console.find(rate) + rate.size(),
                 "Warning: the file-handling figures above are not a drive speed: open failed "
                 "3 times: Permission denied.\n");
  WriteTextFile(BesideResults(results, TranscriptSuffix), console);
  json = ShownJson({StoredRun("linux-1-worker"), results});
  const std::vector<nlohmann::json> failed = OfKind(json.at("caveats"), "failed_operations");
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_EQ(Sorted(failed[0].at("figures")),
            (std::vector<std::string>{"multi.stream_cycles.efficiency",
                                      "multi.stream_cycles.improvement", "single.stream_cycles"}));
  EXPECT_EQ(failed[0].at("columns"), nlohmann::json::array({json.at("columns").at(1).at("label")}));
  EXPECT_EQ(failed[0].at("text").get<std::string>().rfind(
                "! the console warned that file operations failed: not a drive speed; 3 figures "
                "of warned ",
                0),
            0u)
      << failed[0].at("text");
}

// Every format carries every caveat: text and Markdown as lines under the table, CSV as lines
// keyed caveat.KIND once per column, the chart as notes under the charts.
TEST(Caveats, TheSameInEveryFormat) {
  ScratchDirectory directory;
  CopyFiveRuns();
  const std::vector<std::string> ram = ResultsIn("ram-disk");
  SetContext(ram[0], "kernel", "Linux 6.1.0");
  SetContext(ram[1], "cut_off", "too much output");
  const std::vector<std::string> files = FiveRunsEach();
  const nlohmann::json caveats = ShownJson(files).at("caveats");
  ASSERT_EQ(Kinds(caveats),
            (std::vector<std::string>{"cut_short", "context_differs", "context_differs",
                                      "context_varies", "one_shot", "page_cache"}));

  const std::vector<std::string> text = SplitLines(Show(files, "text").out);
  const std::vector<std::string> markdown = SplitLines(Show(files, "markdown").out);
  const std::vector<std::string> csv = SplitLines(Show(files, "csv").out);
  ASSERT_EQ(Chart(files, "chart.svg").status, 0);
  const std::string svg = ReadWholeFile("chart.svg");
  // The caveats stand after the verdicts' counts and before the legend.
  const auto first = std::find(text.begin(), text.end(), caveats.at(0).at("text"));
  ASSERT_NE(first, text.end());
  EXPECT_NE((first - 1)->find("faster"), std::string::npos) << *(first - 1);
  for (std::size_t i = 0; i < caveats.size(); ++i) {
    const std::string line = caveats.at(i).at("text");
    SCOPED_TRACE(line);
    EXPECT_EQ(std::count(text.begin(), text.end(), line), 1);
    EXPECT_EQ(first[static_cast<std::ptrdiff_t>(i)], line) << "in the order of the JSON";
    EXPECT_EQ(std::count(markdown.begin(), markdown.end(), "- " + line), 1);
    EXPECT_NE(svg.find(">" + EscapeXml(line) + "</text>"), std::string::npos);
    const std::string field = line.find(',') == std::string::npos ? line : "\"" + line + "\"";
    const std::string key = "caveat." + caveats.at(i).at("kind").get<std::string>() + ",";
    const auto keyed = std::count_if(csv.begin(), csv.end(), [&](const std::string& row) {
      return row.rfind(key, 0) == 0 && row.find("," + field + ",") != std::string::npos;
    });
    EXPECT_EQ(static_cast<std::size_t>(keyed), caveats.at(i).at("columns").size())
        << "a line per column";
  }
  EXPECT_EQ(text.back().rfind("[n%] repeats", 0), 0u) << "the legend last";
}

}  // namespace
