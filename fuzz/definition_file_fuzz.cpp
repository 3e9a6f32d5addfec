// Any bytes, read as a GUI definition file against a small parameter table.
// Reading never fails: mistakes are warnings; every element it makes is
// whole, no button or command runs, and values stay of their kinds.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "definition_file.h"
#include "fuzz_support.h"
#include "value_text.h"

namespace {

class CountingReporter : public tavrin::gui::Reporter {
 public:
  void Error(std::string_view) override { ++reports; }
  void Warning(std::string_view) override { ++reports; }
  std::string Message(int number) const override { return "M" + std::to_string(number); }
  long reports = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tavrin::gui;
  using tavrin::fuzz::Require;
  int integer = 0;
  double real = 0;
  std::string text;
  int on = 0;
  SuChoice choice{0, {"a", "b"}};
  int ran = 0;
  ParameterTable table(
      {{"epochs", &integer, nullptr, SuType::kInteger, nullptr},
       {"rate", &real, nullptr, SuType::kReal, nullptr},
       {"label", &text, nullptr, SuType::kString, nullptr},
       {"shuffle", &on, nullptr, SuType::kSwitch, nullptr},
       {"kind", &choice, nullptr, SuType::kChoice, nullptr},
       {"file_exit", SuValue{}, [&](SuParameter&) { return ++ran; }, SuType::kMenuItem, nullptr},
       {"go", SuValue{}, [&](SuParameter&) { return ++ran; }, SuType::kButton, nullptr}});
  ElementTable elements;
  CountingReporter reporter;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  LoadDefinitions(in, table, elements, reporter);
  Require(ran == 0, "the definition file ran an action");
  Require(on == 0 || on == 1, "a switch holds something else than on or off");
  Require(choice.current >= 0 && choice.current < 2, "a choice points outside its options");
  for (const SugParameter& e : elements) {
    Require(e.parameter == nullptr || table.IndexOf(e.parameter) >= 0,
            "an element points outside the table");
    Require(static_cast<int>(e.window_type) >= 0 && static_cast<int>(e.window_type) <= 2,
            "a window type out of range");
    Require(e.mnemonic == 0 || e.prompt.find('&') != std::string::npos, "a mnemonic from nowhere");
  }
  Require(elements.size() <= elements.capacity(), "the table outgrew its capacity");
  return 0;
}
