// Writes gui.h, the program's compiled-in definition, from a GUI definition
// file read against the program's own parameter table (a build step).
//   gui_header_writer DEFINITION_FILE OUTPUT

#include <fstream>
#include <iostream>

#include "definition_file.h"
#include "gui_header.h"
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
  if (argc != 3) {
    std::cerr << "usage: gui_header_writer DEFINITION_FILE OUTPUT\n";
    return 2;
  }
  tavrin::app::ProgramState state;
  tavrin::app::ShellValues values;
  tavrin::gui::ParameterTable parameters(
      tavrin::app::ProgramParameters(state, values, tavrin::app::ShellActions{}));
  tavrin::gui::ElementTable elements;
  Failing reporter;
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << "gui_header_writer: cannot read " << argv[1] << "\n";
    return 1;
  }
  tavrin::gui::LoadDefinitions(in, parameters, elements, reporter);
  // The shipped definition must load without a single warning.
  if (reporter.failed) return 1;
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  tavrin::gui::WriteGuiHeader(elements, parameters, out);
  out.close();
  return out ? 0 : 1;
}
