#include "sug_element.h"

namespace tavrin::gui {

char MnemonicOf(std::string_view prompt) {
  for (std::size_t i = 0; i + 1 < prompt.size(); ++i) {
    if (prompt[i] != '&') continue;
    char c = prompt[i + 1];
    if (c == '&') {  // "&&" shows one "&"
      ++i;
      continue;
    }
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return c;
  }
  return 0;
}

SugParameter& ElementTable::Add() {
  if (capacity_ == 0) {
    capacity_ = kInitialCapacity;
  } else if (size() == capacity_) {
    capacity_ += kGrowth;
  }
  elements_.reserve(static_cast<std::size_t>(capacity_));
  return elements_.emplace_back();
}

void ElementTable::Clear() {
  elements_.clear();
}

bool CheckTextViewer(const SugParameter& element, std::string_view operation, Reporter& reporter) {
  if (element.kind() == SuType::kTextViewer) return true;
  reporter.Error(std::string(operation) +
                 ": called for a SugParameter which isn't a SUG_TEXTVIEWER");
  return false;
}

}  // namespace tavrin::gui
