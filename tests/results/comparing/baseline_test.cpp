// --baseline: the column it picks, and the comparison turned round it: every verdict turns and
// every interval is mirrored, as the ratios become their reciprocals.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>

#include "contract/file_names.h"
#include "results/comparing/baseline.h"
#include "results/stored_runs.h"
#include "support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;

TEST(Baseline, PicksAColumnByItsLabelOrTheLabelsFirstWords) {
  const struct {
    const char *name, *label;
    bool picks;
  } cases[] = {
      {"ssd", "ssd", true},
      {"ssd", "ssd (5 runs)", true},
      {"ssd", "ssd 2026-12-09 07:34:52", true},
      {"ssd (5 runs)", "ssd (5 runs)", true},
      {"my drive", "my drive (5 runs)", true},
      {"ss", "ssd (5 runs)", false},
      {"ssd", "ssd2 (5 runs)", false},
      {"ssd (", "ssd (5 runs)", false},
      {"", "ssd", false},
      {"ssd ", "ssd", false},
  };
  for (const auto& test : cases) {
    EXPECT_EQ(PicksLabel(test.name, test.label), test.picks) << test.name << " / " << test.label;
  }
  const std::vector<Column> columns = {{"a 1", {0}}, {"a", {1}}, {"a 2", {2}}, {"b (3 runs)", {3}}};
  EXPECT_EQ(FindBaseline(columns, "a"), 1u) << "the label itself before its first words";
  EXPECT_EQ(FindBaseline(columns, "b"), 3u);
  EXPECT_EQ(FindBaseline({columns[0], columns[2]}, "a"), 2u) << "two columns: none picked";
  EXPECT_EQ(FindBaseline(columns, "c"), columns.size());

  std::vector<Column> moved = columns;
  MoveToFront(moved, 2);
  std::vector<std::string> labels;
  for (const Column& column : moved) {
    labels.push_back(column.label);
  }
  EXPECT_EQ(labels, (std::vector<std::string>{"a 2", "a 1", "a", "b (3 runs)"}));
}

// The expansion of ssd/results*.txt ram-disk/results*.txt of the README's five runs a side.
std::vector<std::string> FiveRunsEach() {
  std::vector<std::string> files;
  for (const char* folder : {"ssd", "ram-disk"}) {
    std::vector<std::string> found;
    const fs::path base = fs::u8path(DRIVES_TESK_TEST_DATA) / "readme/five-runs" / folder;
    for (const auto& entry : fs::directory_iterator(base)) {
      if (IsResultsName(entry.path().filename().u8string())) {
        found.push_back(entry.path().u8string());
      }
    }
    std::sort(found.begin(), found.end());
    files.insert(files.end(), found.begin(), found.end());
  }
  return files;
}

// What a change of r - 1 becomes when the sides swap: 1 / r - 1, in percent.
double Mirrored(double percent) {
  return (1 / (1 + percent / 100) - 1) * 100;
}

TEST(Baseline, TheComparisonTurnsRoundTheBaseline) {
  const Outcome usual = Show(FiveRunsEach(), "json");
  const Outcome turned = Show(FiveRunsEach(), "json", {}, "ram-disk");
  ASSERT_EQ(turned.status, 0) << turned.err;
  const auto before = nlohmann::json::parse(usual.out);
  const auto after = nlohmann::json::parse(turned.out);
  EXPECT_EQ(after.at("columns").at(0).at("label"), "ram-disk (5 runs)");
  EXPECT_EQ(after.at("columns").at(1).at("label"), "ssd (5 runs)");
  EXPECT_EQ(after.at("settings").at("baseline"), "ram-disk (5 runs)");
  EXPECT_EQ(after.at("files"), before.at("files")) << "the files in their order";

  const std::map<std::string, std::string> turn = {
      {"faster", "slower"}, {"slower", "faster"}, {"same", "same"}, {"undecided", "undecided"}};
  int turnedRound = 0;
  for (const auto& item : before.at("columns").at(1).at("figures").items()) {
    SCOPED_TRACE(item.key());
    const auto& was = item.value();
    const auto& is = after.at("columns").at(1).at("figures").at(item.key());
    EXPECT_EQ(is.at("verdict"), turn.at(was.at("verdict")));
    turnedRound += was.at("verdict") == "faster" && is.at("verdict") == "slower" ? 1 : 0;
    EXPECT_NEAR(is.at("change_percent"), Mirrored(was.at("change_percent")), 1e-9);
    ASSERT_EQ(is.at("interval_percent").is_null(), was.at("interval_percent").is_null());
    if (!was.at("interval_percent").is_null()) {
      EXPECT_NEAR(is.at("interval_percent").at(0), Mirrored(was.at("interval_percent").at(1)),
                  1e-9);
      EXPECT_NEAR(is.at("interval_percent").at(1), Mirrored(was.at("interval_percent").at(0)),
                  1e-9);
    }
    EXPECT_EQ(is.at("median"),
              before.at("columns").at(0).at("figures").at(item.key()).at("median"));
  }
  EXPECT_EQ(turnedRound, 12) << "the RAM disk's twelve faster figures";

  // The text reads it as it reads the first column.
  const Outcome text = Show(FiveRunsEach(), "text", {}, "ram-disk (5 runs)");
  EXPECT_EQ(text.out.rfind("figure ", 0), 0u);
  EXPECT_LT(text.out.find("ram-disk (5 runs)"), text.out.find("ssd (5 runs)"));
  EXPECT_NE(text.out.find("\nssd (5 runs): 0 faster, 12 slower, 0 the same, 24 undecided\n"),
            std::string::npos)
      << text.out;
}

TEST(Baseline, ALabelThatPicksNoColumnIsAUsageErrorNamingTheLabels) {
  ScratchDirectory directory;
  const std::string says =
      "drives-tesk-results: --baseline \"ram\": no column has that label; the labels: \"ssd (5 "
      "runs)\", \"ram-disk (5 runs)\"\n";
  const Outcome shown = Show(FiveRunsEach(), "text", {}, "ram");
  EXPECT_EQ(shown.status, 2);
  EXPECT_EQ(shown.err, says);
  EXPECT_EQ(shown.out, "");
  const Outcome drawn = Chart(FiveRunsEach(), "chart.svg", {}, "ram");
  EXPECT_EQ(drawn.status, 2);
  EXPECT_EQ(drawn.err, says);
  EXPECT_FALSE(fs::exists("chart.svg"));
}

}  // namespace
