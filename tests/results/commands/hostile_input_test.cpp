// drives-tesk-results on input that strangers hand its users: crafted reports, names and labels
// that are not UTF-8, things that are not files, outputs that must not be written over. Each case
// is one in-process call of the command or the reader, on files the test writes.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "contract/constants.h"
#include "contract/report_texts.h"
#include "results/commands/commands.h"
#include "results/output/cell_text.h"
#include "results/output/format_svg.h"
#include "results/output/formats.h"
#include "results/reading/results_file.h"
#include "results/record/text_safety.h"
#include "results/stored_runs.h"
#include "support/line_patterns.h"
#include "support/platform_facts.h"
#include "support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;

// The stored 2-worker results file with the first `count` of `from` replaced by `to`.
std::string Crafted(const std::string& from, const std::string& to, int count) {
  std::string text = ReadWholeFile(StoredRun("linux-2-workers", "results_"));
  std::size_t at = 0;
  for (int i = 0; i < count && at != std::string::npos; ++i) {
    at = text.find(from, at);
    if (at != std::string::npos) {
      text.replace(at, from.size(), to);
    }
  }
  return text;
}

TEST(HostileInput, BadThreadCountsAndTagsAreRefusedAtTheirOwnLine) {
  ScratchDirectory directory;
  const struct {
    std::string from, to, error;
    int count;
  } cases[] = {
      {"Thread(s): 2", "Thread(s): 1e10", "bad.txt:3: expected a whole number of threads", 1},
      {"Thread(s): 2", "Thread(s): inf", "bad.txt:3: expected a whole number of threads", 1},
      {"Thread(s): 2", "Thread(s): nan", "bad.txt:3: expected a whole number of threads", 1},
      {"Thread(s): 2", "Thread(s): 2147483648", "bad.txt:3: expected a whole number of threads", 1},
      {"Thread(s): 2", "Thread(s): 2.5", "bad.txt:3: expected a whole number of threads", 1},
      {"Thread(s): 2", "Thread(s): 0", "bad.txt:3: expected a whole number of threads", 1},
      {"Thread(s): 2", ThreadCountText + std::to_string(ThreadCap + 1),
       "bad.txt:3: expected a whole number of threads", 1},
      {"Thread:1 ", "Thread:-1 ", "bad.txt:39: expected a thread number", 1},
      {"Thread:1 ", "Thread:4096 ", "bad.txt:39: expected a thread number", 1},
      // Worker 1 (printed first) tagged 0: worker 0 then comes twice.
      {"Thread:1 ", "Thread:0 ", "bad.txt:41: expected each thread once", 2},
  };
  for (const auto& c : cases) {
    WriteTextFile("bad.txt", Crafted(c.from, c.to, c.count));
    const Outcome outcome = Show({"bad.txt"});
    EXPECT_EQ(outcome.status, 1) << c.to;
    EXPECT_NE(outcome.err.find(c.error), std::string::npos) << c.to << ": " << outcome.err;
  }
}

// Not a file, not there, not readable: the system's reason, no line number, the good file shown.
TEST(HostileInput, WhatIsNotARegularFileIsNamedWithTheReasonAndTheOthersShown) {
  ScratchDirectory directory;
  fs::create_directory("folder");
  const bool fifo = MakeFifo("fifo");
  WriteTextFile("escape.txt", "\x1b]0;owned\x07\x1b[31mred\n");
  const Outcome outcome = Show(
      {"folder", "fifo", "missing*.txt", "escape.txt", StoredRun("linux-1-worker", "results_")});
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.out.find("Lower, single thread"), std::string::npos);
  const std::vector<std::string> errors = SplitLines(outcome.err);
  ASSERT_EQ(errors.size(), 4u) << outcome.err;
  EXPECT_EQ(errors[0], "folder: is a directory");
  EXPECT_EQ(errors[1], fifo ? "fifo: is not a regular file" : "fifo: No such file or directory");
  EXPECT_EQ(errors[2], "missing*.txt: No such file or directory");
  EXPECT_EQ(errors[3].rfind("escape.txt:1: expected", 0), 0u);
  EXPECT_EQ(errors[3].substr(errors[3].find(", found")),
            ", found \"\\x1b]0;owned\\x07\\x1b[31mred\"");
}

// Windows tools save text with a byte-order mark, PowerShell 5.1 in UTF-16.
TEST(HostileInput, ReadsUtf8AndUtf16FilesWithAByteOrderMark) {
  ScratchDirectory directory;
  const std::string console = ReadWholeFile(StoredRun("windows-1-worker", "console"));
  WriteTextFile("utf8.txt", "\xEF\xBB\xBF" + console);
  std::string utf16 = "\xFF\xFE";
  for (const char c : console) {
    utf16 += c;
    utf16 += '\0';
  }
  WriteTextFile("utf16.txt", utf16);
  const RunRecord plain = *ReadResultsFile(StoredRun("windows-1-worker", "console")).record;
  for (const char* name : {"utf8.txt", "utf16.txt"}) {
    const ReadOutcome outcome = ReadResultsFile(name);
    ASSERT_FALSE(outcome.error) << FormatError(*outcome.error);
    EXPECT_TRUE(outcome.record->complete) << name;
    EXPECT_EQ(outcome.record->single[0].filesPerSecond, plain.single[0].filesPerSecond) << name;
  }
}

// Labels and names of any bytes: every format stays valid UTF-8 and keeps its structure.
TEST(HostileInput, EveryFormatIsValidUtf8WhateverTheLabels) {
  ScratchDirectory directory;
  const std::string file = StoredRun("linux-1-worker", "results_");
  const std::vector<std::string> labels = {"caf\xe9 \xff|pipe", "two\r\nlines, \"quoted\""};
  for (const NamedFormat& format : OutputFormats()) {
    const Outcome outcome = Show({file, file}, format.name, labels);
    EXPECT_EQ(outcome.status, 0) << format.name << outcome.err;
    EXPECT_EQ(ValidUtf8(outcome.out), outcome.out) << format.name;
    EXPECT_EQ(outcome.out.find('\r'), std::string::npos) << format.name;
  }
  EXPECT_EQ(nlohmann::json::parse(Show({file}, "json", labels).out)["files"][0]["label"],
            "caf\\xe9 \\xff|pipe");
  // Characters XML forbids, though valid UTF-8, are not drawn into the chart.
  const std::vector<std::string> unwelcome = {
      "non\xef\xbf\xbf"
      "character",
      "tab\there"};
  EXPECT_EQ(Chart({file, file}, "chart.svg", unwelcome).status, 0);
  const std::string svg = ReadWholeFile("chart.svg");
  EXPECT_EQ(ValidUtf8(svg), svg);
  EXPECT_EQ(svg.find("\xef\xbf\xbf"), std::string::npos);
  EXPECT_NE(svg.find("non\xef\xbf\xbd"
                     "character"),
            std::string::npos);
  const auto nothing = nlohmann::json::parse(Show({}, "json").out);
  EXPECT_EQ(nothing.at("files"), nlohmann::json::array());
  EXPECT_EQ(nothing.at("columns"), nlohmann::json::array());
  EXPECT_EQ(nothing.at("caveats"), nlohmann::json::array());
  EXPECT_EQ(nothing.at("settings").at("baseline"), nullptr);
  EXPECT_EQ(nothing.at("sequential"), nullptr);
}

// The chart never replaces one of its inputs (under another name too), a results file, or a
// directory; a failed write leaves the old file as it was.
TEST(HostileInput, ChartWritesOnlyWhereNothingOfValueStands) {
  ScratchDirectory directory;
  const std::string results = fs::path(StoredRun("linux-1-worker", "results_")).filename().string();
  fs::copy_file(StoredRun("linux-1-worker", "results_"), results);
  fs::copy_file(StoredRun("linux-2-workers", "results_"), "other.txt");
  fs::create_directory("folder");
  const std::string before = ReadWholeFile(results);
  const struct {
    std::vector<std::string> inputs;
    std::string output, refusal;
  } cases[] = {
      {{results}, "./" + results, "is one of the files to chart"},
      {{}, results, "is one of the files to chart"},
      {{results}, "other.txt", "is a results file or console transcript"},
      {{results}, "folder", "is a directory"},
  };
  for (const auto& c : cases) {
    const Outcome outcome = Chart(c.inputs, c.output);
    EXPECT_EQ(outcome.status, 1) << c.output;
    EXPECT_NE(outcome.err.find(c.refusal), std::string::npos) << c.output << ": " << outcome.err;
  }
  EXPECT_EQ(ReadWholeFile(results), before);
  EXPECT_NE(ReadWholeFile("other.txt").find("Thread(s): 2"), std::string::npos);
  WriteTextFile("old.svg", "an older chart");
  EXPECT_EQ(Chart({results}, "old.svg").status, 0);
  EXPECT_EQ(ReadWholeFile("old.svg").rfind("<?xml", 0), 0u);
  EXPECT_EQ(Chart({results}, "no-such-folder/new.svg").status, 1);
}

// A stream that refuses every byte, as a full disk does.
class FullBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
};

TEST(HostileInput, AFailedWriteOfTheOutputFailsTheCommand) {
  ScratchDirectory directory;
  FullBuffer full;
  std::ostream out(&full);
  std::ostringstream err;
  EXPECT_EQ(ShowCommand({StoredRun("linux-1-worker", "results_")}, {}, "text", false, {out, err}),
            1);
  EXPECT_NE(err.str().find("the output could not be written"), std::string::npos);
}

TEST(HostileInput, FiguresKeepTheirSizeAndPartialSpreadsAreFlagged) {
  EXPECT_EQ(FormatValue(1e40), "1.000e+40");
  EXPECT_EQ(FormatValue(1e10), "10000000000");
  EXPECT_EQ(FormatValue(123.4), "123");

  // Cut inside the first parallel phase, after worker 0's block.
  std::string text = ReadWholeFile(StoredRun("linux-2-workers", "results_"));
  text = text.substr(0, text.find("Thread:1 The system spent"));
  std::istringstream in(text);
  const RunRecord run = *ReadResults(in, "cut.txt").record;
  const ComparisonTable table = BuildTable({run}, {"cut"});
  for (const Row& row : table.rows) {
    if (row.key == "multi.stream_cycles.slowest" || row.key == "multi.stream_cycles.fastest") {
      EXPECT_TRUE(row.cells[0].incomplete) << row.key;
    }
  }

  // A gain over a warned single-thread figure is flagged too; UTF-8 labels keep the columns
  // aligned.
  RunRecord warned = *ReadResultsFile(StoredRun("linux-1-worker", "results_")).record;
  warned.single[Index(Measure::ByteRead)].warned = true;
  const std::vector<RunRecord> runs = {warned};
  const std::vector<std::string> labels = {"\xe2\x82\xac\xe2\x82\xac"};
  const ComparisonTable flagged = BuildTable(runs, labels);
  for (const Row& row : flagged.rows) {
    const bool gain =
        row.key == "multi.byte_read.improvement" || row.key == "multi.byte_read.efficiency";
    EXPECT_EQ(row.cells[0].warned, gain || row.key == "single.byte_read") << row.key;
  }
  const std::vector<std::string> lines =
      SplitLines(WriteText(Compare(runs, labels, EachRun(labels))));
  for (std::size_t i = 1; i < flagged.rows.size(); ++i) {
    EXPECT_EQ(CharacterCount(lines[i]), CharacterCount(lines[0])) << lines[i];
  }
}

// The binary itself: a wildcard (expanded by the shell on Linux, by the program on Windows) over
// names outside ASCII and the ANSI code page.
TEST(HostileInput, TheBinaryTakesWildcardsAndNamesInAnyScript) {
  ScratchDirectory directory;
  const std::string stem = "\xc3\xbcn\xc3\xaf\xe2\x82\xac\xe6\x97\xa5-";
  for (const char* run : {"1.txt", "2.txt"}) {
    fs::copy_file(StoredRun("linux-1-worker", "results_"), fs::u8path(stem + run));
  }
  const BinaryRun run = RunDrivesTeskBinary(
      CompanionWithWildcards(directory.path(), {"show", "--format", "json", stem + "*.txt"}));
  EXPECT_EQ(run.exitStatus, 0) << run.errors;
  const nlohmann::json files = nlohmann::json::parse(run.console)["files"];
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[1]["file"].get<std::string>().find(stem + "2.txt"), 0u) << files[1]["file"];
  // A --label whose value was forgotten does not take the next option as the label.
  const BinaryRun forgotten = RunDrivesTeskBinary(
      Companion(directory.path(), {"show", "--label", "--format", "json", stem + "1.txt"}));
  EXPECT_NE(forgotten.exitStatus, 0);
  EXPECT_NE(forgotten.errors.find("not the option --format"), std::string::npos)
      << forgotten.errors;
}

// Runs of one folder differ only at the end of their labels: the chart keeps the ends visible and
// cuts long labels between characters.
TEST(HostileInput, ChartKeepsWhatTellsLongLabelsApart) {
  ScratchDirectory directory;
  const std::string file = StoredRun("linux-1-worker", "results_");
  const std::string folder = "\xe6\x97\xa5\xe6\x9c\xac-" + std::string(70, 'x');
  std::ostringstream out, err;
  ASSERT_EQ(ChartCommand({file, file}, {folder + " 10:50:46", folder + " 10:51:13"}, "c.svg", false,
                         {out, err}),
            0)
      << err.str();
  const std::string svg = ReadWholeFile("c.svg");
  EXPECT_EQ(ValidUtf8(svg), svg);
  for (const char* tail : {"x 10:50:46</text>", "x 10:51:13</text>"}) {
    EXPECT_NE(svg.find(tail), std::string::npos) << tail;
  }
}

}  // namespace
