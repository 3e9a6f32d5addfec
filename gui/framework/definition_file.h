#pragma once

// The GUI definition file: its layout sections hold `define NAME` ...
// `enddefine` blocks, one element each, whose keyword lines set the
// element's fields. Mistakes are warnings (messages 402 to 406) and reading
// goes on; nothing in the file can run an action.

#include <istream>
#include <string_view>

#include "message_numbers.h"
#include "su_parameter.h"
#include "sug_element.h"

namespace tavrin::gui {

// The two-state machine fed one keyword line at a time.
class DefinitionHandler {
 public:
  DefinitionHandler(ParameterTable& parameters, ElementTable& elements, Reporter& reporter)
      : parameters_(parameters), elements_(elements), reporter_(reporter) {}

  void Line(std::string_view line);
  bool inside() const { return current_ >= 0; }

 private:
  void Warn(int message, std::string_view detail);
  void Keyword(SugParameter& element, std::string_view keyword, std::string_view value);

  ParameterTable& parameters_;
  ElementTable& elements_;
  Reporter& reporter_;
  int current_ = -1;  // index of the element being defined
  bool skipping_ = false;
};

// Reads every layout section of the file ("layout" or "screen" headers;
// other lines are ignored) into elements appended to the table.
void LoadDefinitions(std::istream& in, ParameterTable& parameters, ElementTable& elements,
                     Reporter& reporter);

// The elements the program adds after the file: the about window (menu path
// message 4085, caption 4086, close prompt 4087), the ":WEB Page" window and
// the ":Long Var" window (prompts from the options of message 4046; captions
// messages 400 and 401).
void AddBuiltInElements(ParameterTable& parameters, ElementTable& elements, Reporter& reporter);

}  // namespace tavrin::gui
