// The palette of the page and the chart: WCAG contrast computed as the guidelines define it, and
// every colour of the writers' own table reaching its contrast in the light and the dark theme.
#include <gtest/gtest.h>

#include <string>

#include "results/output/formats.h"
#include "results/output/palette.h"
#include "results/stored_runs.h"

namespace {

TEST(Palette, ContrastIsWcagsRatioOfRelativeLuminances) {
  EXPECT_DOUBLE_EQ(RelativeLuminance("#000000"), 0.0);
  EXPECT_DOUBLE_EQ(RelativeLuminance("#ffffff"), 1.0);
  EXPECT_NEAR(ContrastRatio("#000000", "#FFFFFF"), 21.0, 1e-9);
  EXPECT_NEAR(ContrastRatio("#3d7f35", "#3d7f35"), 1.0, 1e-9);
  // #767676 is the lightest grey that reaches 4.5:1 on white, #777777 just misses it.
  EXPECT_NEAR(ContrastRatio("#767676", "#ffffff"), 4.54, 0.005);
  EXPECT_NEAR(ContrastRatio("#ffffff", "#777777"), 4.48, 0.005);
  // The chart's orange before this palette: too faint for a mark.
  EXPECT_NEAR(ContrastRatio("#f28e2b", "#ffffff"), 2.42, 0.005);
}

TEST(Palette, TextReachesFourAndAHalfAndMarksThreeOnEveryBackgroundOfBothThemes) {
  for (const bool dark : {false, true}) {
    for (const PaletteColour& colour : Palette) {
      if (colour.use == ColourUse::Background) {
        continue;
      }
      const double needed = colour.use == ColourUse::Text ? 4.5 : 3.0;
      for (const PaletteColour& ground : Palette) {
        if (ground.use == ColourUse::Background) {
          const char* on = dark ? ground.dark : ground.light;
          const char* value = dark ? colour.dark : colour.light;
          EXPECT_GE(ContrastRatio(value, on), needed)
              << colour.name << " " << value << " on " << ground.name << " " << on;
        }
      }
    }
  }
}

// The page declares every colour of the table for both themes; the chart draws its bars in the
// columns' colours of the light theme.
TEST(Palette, ThePageAndTheChartTakeTheirColoursFromIt) {
  const std::vector<RunRecord> runs = {Scaled("/a", 1.0), Scaled("/b", 1.1), Scaled("/c", 0.9)};
  const std::vector<std::string> labels = {"a", "b", "c"};
  const std::vector<Column> columns = EachRun(labels);
  const Comparison comparison = Compare(runs, labels, columns);
  const std::string page = WriteHtml(comparison);
  const std::string chart = WriteSvg(comparison);
  for (const PaletteColour& colour : Palette) {
    for (const char* value : {colour.light, colour.dark}) {
      EXPECT_NE(page.find(std::string("--") + colour.name + ":" + value + ";"), std::string::npos)
          << colour.name;
    }
  }
  for (std::size_t column = 0; column < labels.size(); ++column) {
    EXPECT_NE(chart.find(std::string("fill=\"") + SeriesColour(column).light + "\""),
              std::string::npos);
  }
}

}  // namespace
