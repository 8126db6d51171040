// The HTML page: it agrees with the other outputs (the rows' keys and verdicts, the counts, the
// data block), keeps hostile text in its place, says what it cannot judge, marks exactly the
// context that differs, and stays within its size on large comparisons.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "contract/string_ends.h"
#include "results/comparing/comparison_table.h"
#include "results/output/cell_text.h"
#include "results/output/formats.h"
#include "results/output/html_parts.h"
#include "results/output/markup_text.h"
#include "results/reading/beside_files.h"
#include "results/record/text_safety.h"
#include "results/stored_runs.h"
#include "support/line_patterns.h"
#include "support/markup_checks.h"

namespace {

namespace fs = std::filesystem;

const std::string RightToLeftOverride = "\xe2\x80\xae";
const std::string FirstStrongIsolate = "\xe2\x81\xa8";
const std::string PopDirectionalIsolate = "\xe2\x81\xa9";

// The runs of the README's example: five in `ssd`, five in `ram-disk`, with their contexts.
std::vector<std::string> FiveRunFiles() {
  std::vector<std::string> files;
  for (const char* folder : {"ssd", "ram-disk"}) {
    std::vector<std::string> found;
    const fs::path base = fs::u8path(DRIVES_TESK_TEST_DATA) / "readme/five-runs" / folder;
    for (const auto& entry : fs::directory_iterator(base)) {
      const std::string name = entry.path().filename().u8string();
      if (name.size() > 4 && name.compare(name.size() - 4, 4, ".txt") == 0 &&
          name.find(".console.") == std::string::npos) {
        found.push_back(entry.path().u8string());
      }
    }
    std::sort(found.begin(), found.end());
    files.insert(files.end(), found.begin(), found.end());
  }
  return files;
}

struct PageRow {
  std::string key, verdict, classes;
};

// The value of attribute `name` in `tag`; empty where it has none.
std::string Attribute(const std::string& tag, const std::string& name) {
  const std::string lead = " " + name + "=\"";
  const std::size_t at = tag.find(lead);
  if (at == std::string::npos) {
    return "";
  }
  const std::size_t from = at + lead.size();
  return tag.substr(from, tag.find('"', from) - from);
}

// Every row of the page that carries a key: its key, its verdicts and its classes.
std::vector<PageRow> PageRows(const std::string& page) {
  std::vector<PageRow> rows;
  const std::string lead = "<tr data-key=\"";
  for (std::size_t at = page.find(lead); at != std::string::npos; at = page.find(lead, at + 1)) {
    const std::size_t end = page.find('>', at);
    const std::string tag = page.substr(at, end - at);
    PageRow row{Attribute(tag, "data-key"), Attribute(tag, "data-verdict"),
                Attribute(tag, "class")};
    if (tag.find(" data-verdict=\"") != std::string::npos) {
      rows.push_back(row);
    }
  }
  return rows;
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

// The content of the page's one script element.
std::string DataBlock(const std::string& page) {
  const std::string open = "<script type=\"application/json\" id=\"comparison-data\">";
  const std::size_t from = page.find(open);
  const std::size_t to = page.find("</script>", from);
  if (from == std::string::npos || to == std::string::npos) {
    return "";
  }
  return page.substr(from + open.size(), to - from - open.size());
}

TEST(HtmlPage, RowsCountsAndChartsAgreeWithTheOtherOutputs) {
  const Outcome html = Show(FiveRunFiles(), "html");
  ASSERT_EQ(html.status, 0) << html.err;
  const nlohmann::json json = nlohmann::json::parse(Show(FiveRunFiles(), "json").out);
  const nlohmann::json& figures = json.at("columns").at(1).at("figures");
  const std::vector<PageRow> rows = PageRows(html.out);
  std::vector<std::string> keys;
  for (const PageRow& row : rows) {
    if (row.key.rfind("context.", 0) == 0) {
      continue;
    }
    keys.push_back(row.key);
    const nlohmann::json& verdict = figures.at(row.key).at("verdict");
    EXPECT_EQ(row.verdict, verdict.is_null() ? "" : verdict.get<std::string>()) << row.key;
    const bool decided = row.verdict == "faster" || row.verdict == "slower";
    EXPECT_EQ(row.classes.find("decided") != std::string::npos, decided) << row.key;
    EXPECT_EQ(row.classes.find("same") != std::string::npos, row.verdict == "same") << row.key;
    bool detail = false;
    for (const char* part : {".improvement", ".slowest", ".fastest", ".efficiency"}) {
      detail = detail || EndsWith(row.key, part);
    }
    EXPECT_EQ(row.classes.find("detail") != std::string::npos, detail) << row.key;
  }
  // Every figure once, in the report's order, which JSON keeps as the table's.
  std::vector<std::string> order;
  for (const std::string& line : SplitLines(Show(FiveRunFiles(), "csv").out)) {
    const std::string key = line.substr(0, line.find(','));
    if (key != "key" && key.rfind("context.", 0) != 0 && key.rfind("caveat.", 0) != 0 &&
        (order.empty() || order.back() != key)) {
      order.push_back(key);
    }
  }
  EXPECT_EQ(keys, order);

  // The count line as the text output prints it, the label isolated.
  const std::string text = Show(FiveRunFiles()).out;
  const std::string counts = "ram-disk (5 runs): 12 faster, 0 slower, 0 the same, 24 undecided";
  ASSERT_NE(text.find(counts + "\n"), std::string::npos) << text;
  EXPECT_NE(html.out.find("<bdi>ram-disk (5 runs)</bdi>: 12 faster, 0 slower, 0 the same, 24 "
                          "undecided"),
            std::string::npos);
  // The twelve headline charts, each an image with a title and a description in words.
  EXPECT_EQ(Count(html.out, "<figure class=\"headline\""), 12u);
  EXPECT_EQ(Count(html.out, "role=\"img\""), 24u) << "and a chart by run of each";
  EXPECT_EQ(Count(html.out, "<desc id="), 24u);
  EXPECT_NE(html.out.find("ram-disk (5 runs)" + PopDirectionalIsolate +
                          ": +61.0%, 95% interval +47.3% to +86.0%, faster"),
            std::string::npos);
  EXPECT_EQ(Count(html.out, "class=\"interval "), 12u) << "one interval in each change panel";
  EXPECT_TRUE(WellFormed(html.out));
  EXPECT_NE(html.out.find("MB/s here is 1,048,576 bytes per second"), std::string::npos);
  EXPECT_NE(html.out.find("<h1><bdi>ssd (5 runs)</bdi> compared with <bdi>ram-disk (5 "
                          "runs)</bdi></h1>"),
            std::string::npos);

  std::ostringstream out, err;
  ASSERT_EQ(ShowCommand(FiveRunFiles(), {}, "html", false, {out, err}, DefaultThresholdPercent, "",
                        "Five runs: ssd & RAM"),
            0);
  EXPECT_NE(out.str().find("<h1><bdi>Five runs: ssd &amp; RAM</bdi></h1>"), std::string::npos);
}

TEST(HtmlPage, TheDataBlockIsTheJsonOutputLessWorkersAndStandardError) {
  const Outcome html = Show(FiveRunFiles(), "html");
  const std::string block = DataBlock(html.out);
  ASSERT_FALSE(block.empty());
  EXPECT_EQ(block.find('<'), std::string::npos);
  nlohmann::json expected = nlohmann::json::parse(Show(FiveRunFiles(), "json").out);
  ASSERT_FALSE(expected.at("files").at(0).at("workers").empty());
  for (nlohmann::json& file : expected.at("files")) {
    file.erase("workers");
    file.at("context").erase("stderr");
  }
  EXPECT_EQ(nlohmann::json::parse(block), expected);
}

// Labels, a title, paths and a context holding markup, quotes, ampersands, a right-to-left
// override and bytes that are not UTF-8: escaped once, every name isolated, one script element
// (the data) with no < in it, the page's policy against every script and load in place.
TEST(HtmlPage, HostileTextStaysTextInItsPlace) {
  const std::string hostile =
      "</script><script>alert(1)</script><svg onload=alert(2)> & \"q\" 'a' \xff" +
      RightToLeftOverride + "evil";
  std::vector<RunRecord> runs = {Scaled("/one", 1.0), Scaled("/two", 1.2)};
  runs[1].path = EscapeControls("/d" + RightToLeftOverride + "tail/x<y>&.txt");
  runs[1].context = ReadContextFile(
      (fs::u8path(DRIVES_TESK_TEST_DATA) / "readme/five-runs/ssd" /
       "results_drives_tesk_windows @ local date 2026.12.09 time 07.32.35.context.json")
          .u8string());
  ASSERT_TRUE(runs[1].context.known);
  nlohmann::json context = nlohmann::json::parse(runs[1].context.json);
  context["host"] = EscapeControls(hostile);
  context["cut_off"] = "<img src=x>";
  runs[1].context.json = context.dump();
  const std::vector<std::string> labels = {EscapeControls(hostile), "b"};
  const std::vector<Column> columns = EachRun(labels);
  Comparison comparison = Compare(runs, labels, columns);
  comparison.title = EscapeControls("<b>" + hostile);
  const std::string page = WriteHtml(comparison);

  EXPECT_EQ(ValidUtf8(page), page);
  EXPECT_TRUE(WellFormed(page));
  EXPECT_NE(page.find("<meta http-equiv=\"Content-Security-Policy\" content=\"default-src "
                      "'none'; style-src 'unsafe-inline'\"/>"),
            std::string::npos);
  EXPECT_EQ(Count(page, "<script"), 1u);
  EXPECT_EQ(Count(page, "</script>"), 1u);
  EXPECT_EQ(DataBlock(page).find('<'), std::string::npos);
  EXPECT_EQ(page.find("<svg onload"), std::string::npos);
  EXPECT_EQ(page.find("<img"), std::string::npos);
  EXPECT_NE(page.find("&lt;/script&gt;&lt;script&gt;alert(1)"), std::string::npos);
  EXPECT_EQ(nlohmann::json::parse(DataBlock(page)).at("columns").at(0).at("label"), labels[0]);

  // Each override ends its own name: the next markup or isolate after it closes that name's
  // isolate, with nothing but the rest of the name between (the data block aside).
  const std::string data = DataBlock(page);
  const std::string shown =
      page.substr(0, page.find(data)) + page.substr(page.find(data) + data.size());
  std::size_t overrides = 0;
  for (std::size_t at = shown.find(RightToLeftOverride); at != std::string::npos;
       at = shown.find(RightToLeftOverride, at + 1)) {
    ++overrides;
    const std::size_t from = at + RightToLeftOverride.size();
    const std::size_t tag = shown.find('<', from);
    const std::size_t isolate =
        std::min(shown.find(PopDirectionalIsolate, from), shown.find(FirstStrongIsolate, from));
    const std::size_t end = std::min(tag, isolate);
    const std::string rest = shown.substr(from, end - from);
    const bool closes = end == isolate ? shown.compare(end, PopDirectionalIsolate.size(),
                                                       PopDirectionalIsolate) == 0
                                       : shown.compare(end, 6, "</bdi>") == 0;
    EXPECT_TRUE(closes && (rest == "evil" || rest.rfind("tail", 0) == 0))
        << shown.substr(at > 80 ? at - 80 : 0, 200);
  }
  EXPECT_GT(overrides, 20u) << "labels in the heading, cards, tables and charts";
}

// The caveat of that kind, as every output words it; an empty one where there is none.
Caveat CaveatOf(const Comparison& comparison, CaveatKind kind) {
  for (const Caveat& caveat : comparison.caveats) {
    if (caveat.kind == kind) {
      return caveat;
    }
  }
  return {kind, "", {}, {}};
}

// 3 runs against 3 have no interval: the page says why and draws none. Single runs get no
// verdict. A run cut short is read with care.
TEST(HtmlPage, SaysWhatItCannotJudge) {
  std::vector<RunRecord> runs;
  for (const double factor : {1.0, 1.02, 0.98, 1.5, 1.52, 1.49}) {
    runs.push_back(Scaled(factor < 1.2 ? "/a" : "/b", factor));
  }
  const std::vector<std::string> labels(runs.size(), "x");
  const std::vector<Column> threes = {{"a (3 runs)", {0, 1, 2}}, {"b (3 runs)", {3, 4, 5}}};
  const Comparison fewRuns = Compare(runs, labels, threes);
  const std::string few = WriteHtml(fewRuns);
  const Caveat tooFew = CaveatOf(fewRuns, CaveatKind::TooFewRuns);
  ASSERT_NE(tooFew.text.find("too few runs"), std::string::npos);
  EXPECT_EQ(Count(few, TextWithNames(tooFew.text, fewRuns.table.labels)), 1u + 12u)
      << "read with care, and under each headline chart";
  EXPECT_EQ(Count(few, "class=\"interval "), 0u);
  EXPECT_NE(few.find("no 95% interval, undecided"), std::string::npos);
  for (const PageRow& row : PageRows(few)) {
    EXPECT_TRUE(row.verdict == "undecided" || row.key.rfind("context.", 0) == 0) << row.key;
  }

  const std::vector<Column> singles = {{"a", {0}}, {"b", {3}}};
  const std::string single = WriteHtml(Compare(runs, labels, singles));
  for (const PageRow& row : PageRows(single)) {
    EXPECT_EQ(row.verdict, "") << row.key;
  }
  EXPECT_GT(single.find("class=\"v "), single.find("<li>Verdicts, each a word"))
      << "no verdict badge before the legend's";
  EXPECT_EQ(Count(single, "No verdicts: a single run against a single run"), 1u);
  EXPECT_NE(single.find("+50.0%, no verdict (single runs)"), std::string::npos);

  std::vector<RunRecord> cut = {Scaled("/a", 1.0), Scaled("/b", 1.1)};
  cut[1].complete = false;
  cut[1].workers.clear();
  for (OverallFigures& overall : cut[1].overall) {
    overall.present = false;
  }
  const std::vector<std::string> pair = {"a", "b"};
  const std::vector<Column> each = EachRun(pair);
  const Comparison cutShort = Compare(cut, pair, each);
  const std::string cutPage = WriteHtml(cutShort);
  const Caveat caveat = CaveatOf(cutShort, CaveatKind::CutShort);
  ASSERT_FALSE(caveat.text.empty());
  EXPECT_NE(cutPage.find("<li data-kind=\"cut_short\">" +
                         TextWithNames(caveat.text, cutShort.table.labels)),
            std::string::npos);
  EXPECT_NE(cutPage.find("<td>cut short</td>"), std::string::npos) << "the run's row says so";
}

TEST(HtmlPage, AContextThatDiffersInOneFieldMarksExactlyThatRow) {
  const fs::path stored =
      fs::u8path(DRIVES_TESK_TEST_DATA) / "readme/five-runs/ssd" /
      "results_drives_tesk_windows @ local date 2026.12.09 time 07.32.35.context.json";
  std::vector<RunRecord> runs = {Scaled("/a", 1.0), Scaled("/a", 1.1)};
  for (RunRecord& run : runs) {
    run.context = ReadContextFile(stored.u8string());
  }
  runs[1].context[ContextKey::FileSystem] = "xfs";
  nlohmann::json context = nlohmann::json::parse(runs[1].context.json);
  context["file_system"] = "xfs";
  runs[1].context.json = context.dump();
  const std::vector<std::string> labels = {"a", "b"};
  const std::string page = WriteHtml(Compare(runs, labels, EachRun(labels)));
  std::vector<std::string> marked;
  const std::string lead = "<tr data-key=\"";
  for (std::size_t at = page.find(lead); at != std::string::npos; at = page.find(lead, at + 1)) {
    const std::string tag = page.substr(at, page.find('>', at) - at);
    if (Attribute(tag, "class") == "differs" && tag.find(" data-verdict=") == std::string::npos) {
      marked.push_back(Attribute(tag, "data-key"));
    }
  }
  EXPECT_EQ(marked, std::vector<std::string>{"context.file_system"});
  EXPECT_NE(
      page.find("<strong>Differs:</strong> file system (<bdi>ext4</bdi> / <bdi>xfs</bdi>)</p>"),
      std::string::npos);
  EXPECT_NE(page.find("<details>\n<summary>"), std::string::npos) << "the rows that agree, folded";
}

// Two columns of five runs within 200 KB; eight columns of 100 runs with 128 workers each, their
// contexts too, within 4 MB.
TEST(HtmlPage, StaysWithinItsSize) {
  EXPECT_LT(Show(FiveRunFiles(), "html").out.size(), 200u * 1000u);

  RunRecord run = *ReadResultsFile(StoredRun("linux-2-workers")).record;
  run.context = ReadContextFile(
      (fs::u8path(DRIVES_TESK_TEST_DATA) / "readme/five-runs/ssd" /
       "results_drives_tesk_windows @ local date 2026.12.09 time 07.32.35.context.json")
          .u8string());
  run.threads = 128;
  for (int thread = 2; thread < run.threads; ++thread) {
    run.workers[thread] = run.workers.at(thread % 2);
  }
  std::vector<RunRecord> runs;
  std::vector<std::string> labels;
  std::vector<Column> columns(8);
  for (std::size_t i = 0; i < 800; ++i) {
    runs.push_back(run);
    // Every run a little apart, so that markers and intervals are drawn as for real runs.
    for (Figures& figures : runs.back().single) {
      figures.filesPerSecond *=
          1 + static_cast<double>(i % 100) / 1000 + static_cast<double>(i / 100) / 10;
      figures.millionsPerSecond *= 1 + static_cast<double>(i % 37) / 500;
      figures.megabytesPerSecond *= 1 + static_cast<double>(i % 53) / 300;
    }
    runs.back().path = "/some/longer/directory/of/column-" + std::to_string(i / 100) +
                       "/results_drives_tesk_windows @ local date 2026.12.09 time 07.32.35.txt";
    labels.push_back("column-" + std::to_string(i / 100));
    columns[i / 100].label = labels.back() + " (100 runs)";
    columns[i / 100].runs.push_back(i);
  }
  const Comparison comparison = Compare(runs, labels, columns);
  const std::string page = WriteHtml(comparison);
  EXPECT_LT(page.size(), 4u * 1000u * 1000u);
  EXPECT_EQ(DataBlock(page).find("\"workers\":["), std::string::npos);
  EXPECT_GE(Count(page, "<use href=\"#m"), 2u * 12u * 800u)
      << "every run a marker in each headline's charts";
}

}  // namespace
