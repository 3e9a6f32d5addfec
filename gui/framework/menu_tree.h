#pragma once

// The menu bar made from the elements' menu paths ("&File/&Open..."): one
// node per path component, siblings matched by exact label, each node with a
// command identifier from a running counter (below 1000; the window list's
// identifiers start there). A menu command's element owns its leaf; the
// other elements with a path are the controls of the window that the leaf
// opens. A command's path that runs into a command, or ends on one or on a
// sub-menu, is reported (messages 397 to 399) and the tree is built
// regardless, a later command taking an existing node over.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "message_numbers.h"
#include "su_parameter.h"
#include "sug_element.h"

namespace tavrin::gui {

inline constexpr int kFirstWindowListIdentifier = 1000;

struct MenuNode {
  std::string label;
  int identifier = 0;
  int element = -1;  // the element this command belongs to, or -1
  std::vector<std::unique_ptr<MenuNode>> children;

  bool is_command() const { return element >= 0; }
  bool is_separator() const { return label.rfind("Separator", 0) == 0; }
};

class MenuTree {
 public:
  // Every element whose menu is a path (not empty, not ":" a window) is put
  // in; returns the tree's top level.
  void Build(const ElementTable& elements, Reporter& reporter);

  const std::vector<std::unique_ptr<MenuNode>>& top() const { return root_.children; }
  const MenuNode* ByIdentifier(int identifier) const;
  // The top-level menu holding the leaf of the named parameter (the Edit
  // menu from edit_cut, the Window menu from cascade_mdi_window), or null.
  const MenuNode* TopMenuOf(const ElementTable& elements, std::string_view parameter) const;
  // The path of a node ("&File/&Open..."), for opening the window it names.
  std::string PathOf(const MenuNode* node) const;

 private:
  void Insert(const ElementTable& elements, int element, Reporter& reporter);
  MenuNode root_;
  int next_identifier_ = 1;
  std::vector<std::pair<int, MenuNode*>> by_identifier_;
};

// Whether an element's menu names a path of the menu bar.
bool IsMenuPath(const SugParameter& element);

}  // namespace tavrin::gui
