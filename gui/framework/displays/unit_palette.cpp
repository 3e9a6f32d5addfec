#include "unit_palette.h"

#include <algorithm>
#include <cmath>

namespace tavrin::gui {
namespace {

constexpr int kHalf = kPaletteEntries / 2;
constexpr int kPaleStep = 16;  // how much paler each entry of a half is

}  // namespace

std::array<PaletteColour, kPaletteEntries> NetworkPalette() {
  std::array<PaletteColour, kPaletteEntries> palette;
  for (int i = 0; i < kHalf; ++i) {
    const int pale = kPaleStep * i;
    palette[static_cast<std::size_t>(i)] = {pale, 255, pale};
    palette[static_cast<std::size_t>(kHalf + i)] = {255, pale, pale};
  }
  return palette;
}

int UnitPaletteEntry(double activation, bool color_units) {
  if (!color_units || !std::isfinite(activation)) return -1;
  const double strength = std::min(std::fabs(activation), 1.0);
  const int step = static_cast<int>(std::lround((kHalf - 1) * (1.0 - strength)));
  return activation < 0 ? kHalf + step : step;
}

}  // namespace tavrin::gui
