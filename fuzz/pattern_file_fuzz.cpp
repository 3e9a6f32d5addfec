// Any bytes, read as a text pattern file. Refused with a message, or a whole
// data set; when the writer takes it (names it cannot carry are refused), the
// file it writes reads back to the same values, which write the same text.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "data/data_set_files.h"
#include "data_set_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tavrin;
  using namespace tavrin::fuzz;
  Messages().clear();
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::unique_ptr<DataSet> set = ReadPatternFile(in);
  if (!set) {
    Require(!Messages().last().empty(), "refusal without a message");
    return 0;
  }
  RequireWholeDataSet(*set);
  std::ostringstream first;
  if (!WritePatternFile(*set, first).ok()) return 0;
  std::istringstream again(first.str());
  std::unique_ptr<DataSet> second = ReadPatternFile(again);
  Require(second != nullptr, "written pattern file not read back");
  RequireWholeDataSet(*second);
  std::ostringstream second_file;
  Require(WritePatternFile(*second, second_file).ok(), "pattern file read back not written");
  Require(first.str() == second_file.str(), "pattern file changed in a round trip");
  Require(SameValues(set->entries, second->entries), "a value changed through the text");
  return 0;
}
