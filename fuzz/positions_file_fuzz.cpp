// Any bytes, read as a positions file. What the reader keeps lies within the
// bounds of a screen and the most windows a file may name, and writing it
// out and reading that back gives the same placements.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz_support.h"
#include "positions_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tavrin::gui;
  using tavrin::fuzz::Require;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  WindowList windows;
  const Positions read = ReadPositions(in, windows);
  Require(windows.entries().size() <= static_cast<std::size_t>(kMaxStoredWindows),
          "more windows than a file may name");
  for (const WindowEntry& e : windows.entries()) {
    const Placement& p = e.placement;
    Require(p.width >= 0 && p.height >= 0 && p.width <= kMaxCoordinate &&
                p.height <= kMaxCoordinate && p.x >= -kMaxCoordinate && p.x <= kMaxCoordinate &&
                p.y >= -kMaxCoordinate && p.y <= kMaxCoordinate,
            "a placement out of bounds");
  }
  std::ostringstream out;
  Require(WritePositions(out, read, windows), "writing to memory failed");
  std::istringstream again(out.str());
  WindowList reread;
  const Positions second = ReadPositions(again, reread);
  Require(second.autostore == read.autostore, "autostore changed");
  Require(!read.has_main || second.main == read.main, "the main placement changed");
  for (const WindowEntry& e : windows.entries()) {
    const WindowEntry* r = reread.Find(e.name);
    // Names a line cannot hold are left out on writing.
    if (e.name.find_first_of("\"\n\r") != std::string::npos) continue;
    Require(r != nullptr && r->placement == e.placement && r->type == e.type,
            "a window's placement did not read back");
  }
  return 0;
}
