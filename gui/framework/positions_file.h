#pragma once

// The positions file (NRX.POS; NRXDEF.POS holds the defaults): whether
// placements are stored at exit ("autostore on" or "autostore off"), the
// main window's placement, then one line per known window:
// "name" <tab> type <tab> x <tab> y <tab> width <tab> height.

#include <istream>
#include <ostream>
#include <string>

#include "window_list.h"

namespace tavrin::gui {

struct Positions {
  bool autostore = true;
  bool has_main = false;
  Placement main;
};

// Most windows a file may name, and the bound of every coordinate and size:
// a screen's placements, whatever the file holds.
inline constexpr int kMaxStoredWindows = 1000;
inline constexpr int kMaxCoordinate = 32767;

// Reads the file into the window list (each line forcing its entry's
// placement); lines it cannot read, placements out of bounds and windows
// beyond the most a file may name are skipped.
Positions ReadPositions(std::istream& in, WindowList& windows);

// Writes the file; false when a write failed.
bool WritePositions(std::ostream& out, const Positions& positions, const WindowList& windows);

}  // namespace tavrin::gui
