#include "results/output/palette.h"

#include <cmath>
#include <cstring>

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  return c >= 'A' && c <= 'F' ? c - 'A' + 10 : 0;
}

// An sRGB channel of 0..255 as linear light.
double Linear(int channel) {
  const double value = channel / 255.0;
  return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

}  // namespace

const PaletteColour& PaletteNamed(const char* name) {
  for (const PaletteColour& colour : Palette) {
    if (std::strcmp(colour.name, name) == 0) {
      return colour;
    }
  }
  return Palette[0];
}

const PaletteColour& SeriesColour(std::size_t column) {
  const char names[SeriesCount][3] = {"c0", "c1", "c2", "c3", "c4", "c5", "c6", "c7"};
  return PaletteNamed(names[column % SeriesCount]);
}

double RelativeLuminance(const char* hex) {
  if (std::strlen(hex) != 7 || hex[0] != '#') {
    return 0;
  }
  auto channel = [hex](int at) { return HexDigit(hex[at]) * 16 + HexDigit(hex[at + 1]); };
  return 0.2126 * Linear(channel(1)) + 0.7152 * Linear(channel(3)) + 0.0722 * Linear(channel(5));
}

double ContrastRatio(const char* one, const char* other) {
  const double a = RelativeLuminance(one);
  const double b = RelativeLuminance(other);
  return (std::fmax(a, b) + 0.05) / (std::fmin(a, b) + 0.05);
}
