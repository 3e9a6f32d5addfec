#include "window_list.h"

#include <algorithm>

namespace tavrin::gui {

WindowEntry& WindowList::Add(std::string_view name, WindowType type, const Placement& placement,
                             bool force) {
  WindowEntry* entry = Find(name);
  if (entry == nullptr) {
    entries_.push_back({std::string(name), false, type, placement});
    return entries_.back();
  }
  const bool keep_size = !force && type == WindowType::kMdiChild && entry->placement.width != 0 &&
                         entry->placement.height != 0;
  if (force) {
    entry->placement = placement;
    entry->type = type;
  } else if (!keep_size) {
    entry->placement = placement;
  }
  return *entry;
}

WindowEntry* WindowList::Find(std::string_view name) {
  for (WindowEntry& e : entries_) {
    if (e.name == name) return &e;
  }
  return nullptr;
}

void WindowList::MarkClosed(std::string_view name, const Placement& last) {
  if (WindowEntry* e = Find(name)) {
    e->open = false;
    e->placement = last;
  }
}

ClientSize WindowClientSize(const ElementTable& elements, std::string_view menu, int char_width,
                            int line_height) {
  int across = 0;
  int down = 0;
  for (const SugParameter& e : elements) {
    if (!e.has_menu || e.menu != menu) continue;
    int width = 0;
    if (e.right_anchor == 0.0) {
      width = e.left + e.width + e.prompt_width;
      if (e.kind() == SuType::kInteger) width += 6;
      if (e.kind() == SuType::kChoice) width += 3;
    } else {
      width = e.left + e.width - e.right;
    }
    int height = 0;
    if (e.bottom_anchor == 0.0) {
      height = e.top != 0 ? e.top + e.height : e.bottom;
    } else {
      height = e.top + e.height - e.bottom;
    }
    across = std::max(across, width);
    down = std::max(down, height);
  }
  return {across * char_width / 10 + 10, down * line_height / 10 + 10};
}

}  // namespace tavrin::gui
