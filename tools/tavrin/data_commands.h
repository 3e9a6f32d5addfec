#pragma once

// The data set commands of the tool. Each returns the process's exit status
// and leaves the engine's message of a failure in its error sink.

#include <ostream>
#include <string>
#include <vector>

namespace tavrin::tool {

// data-convert IN OUT --from F --to F [--separator C] [--case-names]
// [--header|--no-header] [--subsets] [--missing TEXT]; the arguments after
// the command.
int DataConvert(const std::vector<std::string>& args, std::ostream& err);

// data-dump FILE [--format F] [the text options] [--rows N]: variables with
// roles and nominal values, case and subset counts, the first rows.
int DataDump(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace tavrin::tool
