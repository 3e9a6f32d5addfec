// Writes gui.h, the program's compiled-in definition, from a GUI definition
// file read against the program's own parameter table, its choices holding
// their options from the message file as at start-up (a build step).
//   gui_header_writer DEFINITION_FILE MESSAGE_FILE OUTPUT

#include <fstream>
#include <iostream>

#include "definition_file.h"
#include "gui_header.h"
#include "message_file.h"
#include "option_lists.h"
#include "program_parameters.h"

namespace {

class Failing : public tavrin::gui::Reporter {
 public:
  void Error(std::string_view text) override { Report(text); }
  void Warning(std::string_view text) override { Report(text); }
  std::string Message(int number) const override { return "message " + std::to_string(number); }
  bool failed = false;

 private:
  void Report(std::string_view text) {
    std::cerr << "gui_header_writer: " << text << "\n";
    failed = true;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: gui_header_writer DEFINITION_FILE MESSAGE_FILE OUTPUT\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::ifstream message_file(argv[2], std::ios::binary);
  if (!in || !message_file) {
    std::cerr << "gui_header_writer: cannot read " << (in ? argv[2] : argv[1]) << "\n";
    return 1;
  }
  tavrin::app::MessageTable messages;
  messages.Load(message_file, nullptr);
  tavrin::app::ProgramState state;
  tavrin::app::ProgramTable table =
      tavrin::app::ProgramParameters(state, tavrin::app::ProgramActions{});
  tavrin::gui::ParameterTable parameters(std::move(table.parameters));
  Failing reporter;
  tavrin::app::FillOptionLists(parameters, table.option_sources, messages, reporter);
  tavrin::gui::ElementTable elements;
  tavrin::gui::LoadDefinitions(in, parameters, elements, reporter);
  // The shipped files must load without a single warning.
  if (reporter.failed) return 1;
  std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
  tavrin::gui::WriteGuiHeader(elements, parameters, out);
  out.close();
  return out ? 0 : 1;
}
