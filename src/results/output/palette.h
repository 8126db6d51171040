// The colours of the page and of the chart, once: each with its use and its value on a light and
// on a dark background. Text must reach a contrast of 4.5:1 and marks (bars, markers, lines) 3:1
// against every background of its theme, so colour never carries a figure alone and never fades.
#pragma once

#include <cstddef>

enum class ColourUse {
  Background,  // what everything else stands on: the page and the cards
  Text,        // words and numbers
  Mark,        // bars, markers, lines and hatching
};

struct PaletteColour {
  const char* name;  // the CSS custom property without its dashes: "bg", "fg", "c0", ...
  ColourUse use;
  const char* light;  // "#rrggbb"
  const char* dark;
};

inline constexpr PaletteColour Palette[] = {
    {"bg", ColourUse::Background, "#ffffff", "#16181d"},
    {"card", ColourUse::Background, "#f4f5f7", "#20242b"},
    {"fg", ColourUse::Text, "#1c1e21", "#e8eaed"},
    {"muted", ColourUse::Text, "#555b64", "#a9b0ba"},
    {"faster", ColourUse::Text, "#1d6b2f", "#7bd389"},
    {"slower", ColourUse::Text, "#b3261e", "#ff9a8f"},
    {"same", ColourUse::Text, "#3f4d5e", "#b8c4d2"},
    {"undecided", ColourUse::Text, "#8a5300", "#f0c060"},
    {"rule", ColourUse::Mark, "#767c85", "#868d97"},
    // One colour per column, in column order; a ninth column takes the first again.
    {"c0", ColourUse::Mark, "#2f6ea8", "#7ab3e6"},
    {"c1", ColourUse::Mark, "#c2571a", "#f5a25d"},
    {"c2", ColourUse::Mark, "#3d7f35", "#84c978"},
    {"c3", ColourUse::Mark, "#c0343f", "#f2838b"},
    {"c4", ColourUse::Mark, "#1f7f79", "#6dcbc3"},
    {"c5", ColourUse::Mark, "#8a6d00", "#e2c55a"},
    {"c6", ColourUse::Mark, "#8c4f9e", "#cf9ddc"},
    {"c7", ColourUse::Mark, "#7a5a44", "#c9a58a"},
};

// The column colours ("c0".."c7") and the marker shapes: as many of each.
inline constexpr std::size_t SeriesCount = 8;

// A colour of the palette by name; its light value for the chart, which has a white ground.
const PaletteColour& PaletteNamed(const char* name);
// The colour of column `column`, counting from 0, cycling through the series.
const PaletteColour& SeriesColour(std::size_t column);

// WCAG 2 relative luminance of "#rrggbb": 0 for black, 1 for white.
double RelativeLuminance(const char* hex);
// WCAG 2 contrast ratio of two colours, from 1 to 21.
double ContrastRatio(const char* one, const char* other);
