#pragma once

// The GUI layer of the interface: one element per `define` block of the GUI
// definition file, saying where a parameter appears (a menu path or a named
// window), where it sits, how big it is and what it says. The controls made
// for an element belong to the platform layer, which keeps them by element
// index.

#include <string>
#include <string_view>
#include <vector>

#include "su_parameter.h"

namespace tavrin::gui {

enum class ElementStyle : int {
  kDefault = 0,
  kRadio = 1,
  kList = 2,
  kReadOnly = 3,
  kBanner = 4,
  kFrameless = 5,  // set by the program itself, never by the file
};

enum class WindowType : int { kMdiChild = 0, kPopUp = 1, kModalPopUp = 2 };

struct SugParameter {
  // Layout, in tenths of the dialog font's average character width
  // (horizontal) or line height (vertical); anchors are fractions of the
  // parent's client size.
  int left = 0;
  int right = 0;
  int top = 0;
  int bottom = 0;
  double left_anchor = 0.0;
  double right_anchor = 0.0;
  double top_anchor = 0.0;
  double bottom_anchor = 0.0;
  int width = 0;
  int prompt_width = 0;
  int height = 0;
  std::string prompt;
  bool has_prompt = false;
  SuParameter* parameter = nullptr;  // null: a label or frame
  ElementStyle style = ElementStyle::kDefault;
  std::string menu;  // a menu path ("&File/E&xit") or a window name (":Long Var")
  bool has_menu = false;
  std::string window;  // the caption of the window the element's menu names
  bool has_window = false;
  WindowType window_type = WindowType::kMdiChild;
  std::string tip;
  std::string description;
  char mnemonic = 0;
  int help_topic = -1;
  double increment = 1.0;
  int action_message = -1;

  SuType kind() const { return parameter ? parameter->type : SuType::kNone; }
};

// The character after the first single "&" (the one a label underlines; "&&"
// stands for "&" itself), folded to lower case; 0 when there is none.
char MnemonicOf(std::string_view prompt);

// Elements in file order. Capacity starts at 300 and grows by 20, so a
// program's own table stays where it was put; an element's index plus 3 is
// its control's identifier.
class ElementTable {
 public:
  static constexpr int kInitialCapacity = 300;
  static constexpr int kGrowth = 20;

  // Appends an element with the initial values and returns it.
  SugParameter& Add();
  void Clear();

  int size() const { return static_cast<int>(elements_.size()); }
  int capacity() const { return capacity_; }
  SugParameter& operator[](int index) { return elements_[static_cast<std::size_t>(index)]; }
  const SugParameter& operator[](int index) const {
    return elements_[static_cast<std::size_t>(index)];
  }
  std::vector<SugParameter>::iterator begin() { return elements_.begin(); }
  std::vector<SugParameter>::iterator end() { return elements_.end(); }
  std::vector<SugParameter>::const_iterator begin() const { return elements_.begin(); }
  std::vector<SugParameter>::const_iterator end() const { return elements_.end(); }

 private:
  std::vector<SugParameter> elements_;
  int capacity_ = 0;
};

// A text viewer operation's kind check: true for a SUG_TEXTVIEWER element,
// else reports "<operation>: called for a SugParameter which isn't a
// SUG_TEXTVIEWER" and returns false.
bool CheckTextViewer(const SugParameter& element, std::string_view operation, Reporter& reporter);

}  // namespace tavrin::gui
