// Any bytes, read as the code generator's template. The reader must refuse
// them with a message or yield fragments that write back and read again to
// the same fragments; each accepted fragment is then expanded, with and
// without a merge callback.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "codegen/code_template.h"
#include "codegen/fragment_expansion.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tavrin;
  using namespace tavrin::fuzz;
  Messages().clear();
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  const std::optional<CodeTemplate> read = ReadCodeTemplate(in);
  if (!read) {
    Require(!Messages().last().empty(), "refusal without a message");
    return 0;
  }
  std::stringstream file;
  Require(WriteCodeTemplate(*read, file), "accepted template not written back");
  const std::optional<CodeTemplate> again = ReadCodeTemplate(file);
  Require(again && again->fragments == read->fragments, "template changed through a write");

  SubstitutionTable slots;
  slots.fill("slot");
  const MergeCallback merge = [](int number, std::ostream& out) { out << number; };
  for (const auto& fragment : read->fragments) {
    if (!fragment) continue;
    std::ostringstream out;
    ExpandFragment(*fragment, slots, &merge, out);
    ExpandFragment(*fragment, slots, nullptr, out);
  }
  return 0;
}
