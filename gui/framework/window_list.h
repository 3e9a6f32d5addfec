#pragma once

// The named windows the program has opened, in order of first appearance,
// with the placement each had when last seen: what the positions file keeps
// between runs and what a window opens with again.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sug_element.h"

namespace tavrin::gui {

struct Placement {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Placement&) const = default;
};

struct WindowEntry {
  std::string name;
  bool open = false;  // a window of this name is on screen
  WindowType type = WindowType::kMdiChild;
  Placement placement;
};

class WindowList {
 public:
  // Adds the window, or updates its entry: with `force`, the placement and
  // type are replaced; without, a stored width and height (both non-zero)
  // are kept for an MDI child, so that a window reopens as the user left it.
  // Returns the entry.
  WindowEntry& Add(std::string_view name, WindowType type, const Placement& placement, bool force);

  WindowEntry* Find(std::string_view name);
  void MarkClosed(std::string_view name, const Placement& last);
  void Clear() { entries_.clear(); }
  const std::vector<WindowEntry>& entries() const { return entries_; }

 private:
  std::vector<WindowEntry> entries_;
};

// The client size a window needs, in pixels, from the layout fields of its
// elements (tenths of the character width and line height): the widest
// left + width + prompt_width (plus 6 tenths for an integer's spin control
// and 3 for a choice), or left + width - right for right-anchored elements,
// and likewise down; plus 10 pixels each way.
struct ClientSize {
  int width = 0;
  int height = 0;
};
ClientSize WindowClientSize(const ElementTable& elements, std::string_view menu, int char_width,
                            int line_height);

}  // namespace tavrin::gui
