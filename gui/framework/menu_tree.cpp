#include "menu_tree.h"

#include <functional>

namespace tavrin::gui {
namespace {

std::vector<std::string_view> Components(std::string_view path) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t slash = path.find('/', start);
    parts.push_back(path.substr(start, slash - start));
    if (slash == std::string_view::npos) break;
    start = slash + 1;
  }
  return parts;
}

}  // namespace

bool IsMenuPath(const SugParameter& element) {
  return element.has_menu && !element.menu.empty() && element.menu.front() != ':';
}

void MenuTree::Build(const ElementTable& elements, Reporter& reporter) {
  for (int i = 0; i < elements.size(); ++i) {
    if (IsMenuPath(elements[i])) Insert(elements, i, reporter);
  }
}

void MenuTree::Insert(const ElementTable& elements, int element, Reporter& reporter) {
  // A menu command owns its leaf; any other element with a path is a control
  // of the window that path opens, and only makes sure the path exists.
  const bool command = elements[element].kind() == SuType::kMenuItem;
  const std::vector<std::string_view> parts = Components(elements[element].menu);
  MenuNode* node = &root_;
  bool below_command = false;
  for (std::size_t k = 0; k < parts.size(); ++k) {
    const bool last = k + 1 == parts.size();
    if (node != &root_ && node->is_command() && !below_command) {
      below_command = true;
      reporter.Warning(reporter.Message(msg::kPathBelowCommand) + " [" + elements[element].menu +
                       "]");
    }
    MenuNode* child = nullptr;
    for (auto& c : node->children) {
      if (c->label == parts[k]) child = c.get();
    }
    if (child == nullptr) {
      auto made = std::make_unique<MenuNode>();
      made->label = std::string(parts[k]);
      made->identifier = next_identifier_++;
      by_identifier_.emplace_back(made->identifier, made.get());
      child = node->children.emplace_back(std::move(made)).get();
    } else if (last && command) {
      if (child->is_command()) {
        reporter.Warning(reporter.Message(msg::kPathEndsOnCommand) + " [" + elements[element].menu +
                         "]");
      } else if (!child->children.empty()) {
        reporter.Warning(reporter.Message(msg::kPathEndsOnMenu) + " [" + elements[element].menu +
                         "]");
      }
    }
    node = child;
  }
  if (command) node->element = element;
}

const MenuNode* MenuTree::ByIdentifier(int identifier) const {
  for (const auto& [id, node] : by_identifier_) {
    if (id == identifier) return node;
  }
  return nullptr;
}

const MenuNode* MenuTree::TopMenuOf(const ElementTable& elements,
                                    std::string_view parameter) const {
  std::function<bool(const MenuNode&)> holds = [&](const MenuNode& node) {
    if (node.element >= 0 && elements[node.element].parameter &&
        elements[node.element].parameter->name == parameter) {
      return true;
    }
    for (const auto& c : node.children) {
      if (holds(*c)) return true;
    }
    return false;
  };
  for (const auto& top : root_.children) {
    if (holds(*top)) return top.get();
  }
  return nullptr;
}

std::string MenuTree::PathOf(const MenuNode* target) const {
  std::function<bool(const MenuNode&, std::string)> find;
  std::string found;
  find = [&](const MenuNode& node, std::string path) {
    for (const auto& c : node.children) {
      const std::string here = path.empty() ? c->label : path + "/" + c->label;
      if (c.get() == target) {
        found = here;
        return true;
      }
      if (find(*c, here)) return true;
    }
    return false;
  };
  find(root_, "");
  return found;
}

}  // namespace tavrin::gui
