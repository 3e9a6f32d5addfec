#pragma once

// The colours of the network display (net_display): with color_units on,
// each unit is filled by its activation, green for positive and red for
// negative, purer the stronger.

#include <array>

namespace tavrin::gui {

struct PaletteColour {
  int red = 0;
  int green = 0;
  int blue = 0;

  bool operator==(const PaletteColour&) const = default;
};

inline constexpr int kPaletteEntries = 32;

// Entries 0 to 15 run from pure green to pale green (red = blue = 16 × i,
// green 255), entries 16 to 31 from pure red to pale red (red 255,
// green = blue = 16 × (i − 16)).
std::array<PaletteColour, kPaletteEntries> NetworkPalette();

// The entry for a unit's activation a: a strength s = min(|a|, 1) picks
// step round(15 × (1 − s)), so 1 and above is pure, 0 the palest; a ≥ 0
// takes entry step (green half), a < 0 entry 16 + step (red half). -1
// (left unfilled, as with colouring off) for a non-finite activation or
// when color_units is off.
int UnitPaletteEntry(double activation, bool color_units);

}  // namespace tavrin::gui
