#pragma once

// Where each part of an element's control goes in its window, in pixels:
// value controls stand on the line its `bottom` gives (a prompt, then the
// field, then for numbers a spin control), switches, radio groups and drop-
// down lists by their own rules, labels and banners. Texts are measured by
// the caller (the platform's fonts), which passes the widths in.

#include <vector>

#include "sug_element.h"

namespace tavrin::gui {

struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Rect&) const = default;
};

struct Metrics {
  int char_width = 7;  // layout units of the dialog font
  int line_height = 15;
  int text_height = 13;  // the font's own height
};

// What the caller measured: the prompt's text width and, for options, the
// widest option's.
struct TextWidths {
  int prompt = 0;
  int widest_option = 0;
  int options = 0;  // how many options
};

enum class ControlShape {
  kLabel,     // an element without a parameter: its prompt
  kField,     // prompt, edit field, and a spin control for numbers
  kReadOnly,  // prompt and the value shown, not editable
  kBanner,    // the value alone
  kCheckBox,  // a switch
  kRadio,     // a title, and a group of radio buttons
  kComboBox,  // prompt and a drop-down list
  kButton,    // a push button, tool button or what-if button
  kDisplay,   // graph, matrix, canvas, chart, scatter, text viewer, list
};

struct ControlPlace {
  ControlShape shape = ControlShape::kLabel;
  Rect prompt;                // label, prompt or radio title
  Rect control;               // field, read-out, check box, group, combo box, button, display
  Rect spin;                  // numbers only (width 0 otherwise)
  std::vector<Rect> options;  // radio buttons, inside the group
  int list_height = 0;        // a combo box's dropped-down list
};

ControlShape ShapeOf(const SugParameter& element);

// `on_main_window`: the main window's elements are laid out in pixels.
ControlPlace PlaceControl(const SugParameter& element, const Metrics& metrics,
                          const TextWidths& widths, bool on_main_window);

// The rectangle a graph, canvas, scatter plot, matrix (each axis whose two
// anchors differ), text viewer or bar chart takes in a client area of the
// given size: the anchors' share of the client plus the fixed layout, at
// (left, top); a text viewer and a bar chart fill the client less the
// right and bottom margins.
Rect AnchoredRect(const SugParameter& element, const Metrics& metrics, int client_width,
                  int client_height, const Rect& created);

}  // namespace tavrin::gui
