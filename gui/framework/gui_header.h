#pragma once

// The element table written out as the header "gui.h", from which a
// definition can be compiled into the program (the table used when no
// definition file is named at all). Fields are written by name, so that
// the header stays right whatever the record's field order.

#include <ostream>

#include "sug_element.h"

namespace tavrin::gui {

void WriteGuiHeader(const ElementTable& elements, const ParameterTable& parameters,
                    std::ostream& out);

// One element of a compiled-in table: what the header holds, with the
// parameter as an index into the program's table (-1 for none).
struct CompiledElement {
  int left = 0, right = 0, top = 0, bottom = 0;
  double left_anchor = 0, right_anchor = 0, top_anchor = 0, bottom_anchor = 0;
  int width = 0, prompt_width = 0, height = 0;
  const char* prompt = nullptr;
  int parameter = -1;
  int style = 0;
  const char* menu = nullptr;
  const char* window = nullptr;
  int window_type = 0;
  const char* tip = nullptr;
  const char* description = nullptr;
  int help_topic = -1;
  double increment = 1.0;
  int action_message = -1;
};

// Appends the compiled-in elements, turning parameter indices into the
// table's parameters (an index the table lacks gives none).
void AddCompiledElements(const CompiledElement* table, int count, ParameterTable& parameters,
                         ElementTable& elements);

}  // namespace tavrin::gui
