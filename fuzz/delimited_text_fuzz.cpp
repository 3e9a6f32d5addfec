// Any bytes, imported as delimited text; the first byte picks the separator
// and the flags. Refused with a message, or a whole data set that exports.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "data/data_set_files.h"
#include "data_set_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tavrin;
  using namespace tavrin::fuzz;
  if (size < 1) return 0;
  static constexpr char kSeparators[] = {',', ';', '\t', ' '};
  DelimitedOptions options;
  options.separator = kSeparators[data[0] & 3];
  options.header = (data[0] & 4) != 0;
  options.case_names = (data[0] & 8) != 0;
  options.subsets = (data[0] & 16) != 0;
  if (data[0] & 32) options.missing = "NA";
  Messages().clear();
  std::istringstream in(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
  std::unique_ptr<DataSet> set = ImportText(in, options);
  if (!set) {
    Require(!Messages().last().empty(), "refusal without a message");
    return 0;
  }
  RequireWholeDataSet(*set);
  for (const auto& names : set->nominals) {
    Require(names.empty() || names.size() >= 2, "a nominal variable with one name");
  }
  std::ostringstream out;
  (void)ExportText(*set, out, options);
  return 0;
}
