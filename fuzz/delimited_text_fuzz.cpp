// Any bytes, imported as delimited text; the first byte picks the separator
// and the flags. Refused with a message, or a whole data set that exports,
// and whose export imports back to the same values and value names.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "common/missing.h"
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
  std::stringstream out;
  options.subsets = options.subsets && options.header;  // only a header marks the column
  if (!ExportText(*set, out, options).ok()) return 0;
  options.missing = "?";  // what the export writes for a missing value
  std::unique_ptr<DataSet> back = ImportText(out, options);
  Require(back != nullptr, "exported text not imported back");
  Require(back->no_cases == set->no_cases && back->no_variables == set->no_variables,
          "the table changed shape through the text");
  for (int c = 0; c < set->no_cases; ++c) {
    for (int v = 0; v < set->no_variables; ++v) {
      const double x = set->at(c, v);
      const double y = back->at(c, v);
      const auto& names = set->nominals[v];
      if (!names.empty() && !IsMissing(x)) {
        // Value numbers follow the order in which names first appear.
        const auto& back_names = back->nominals[v];
        Require(!IsMissing(y) && y >= 1 && y <= back_names.size() &&
                    back_names[static_cast<std::size_t>(y) - 1] ==
                        names[static_cast<std::size_t>(x) - 1],
                "a nominal value changed through the text");
      } else {
        Require(SameValue(x, y), "a value changed through the text");
      }
    }
  }
  Require(back->case_names == set->case_names || !options.case_names, "a case name changed");
  Require(back->subset == set->subset || !options.subsets || !options.header,
          "a subset changed through the text");
  return 0;
}
