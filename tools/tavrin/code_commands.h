#pragma once

// The tool's code commands: a network as C source, and the engine's own
// forward run over rows of standard input, in the format the generated
// harness reads and writes.

#include <iosfwd>
#include <string>
#include <vector>

namespace tavrin::tool {

// net-code NETFILE OUT [--prefix NAME] [--cpp] [--harness] [--template FILE]
int NetCode(const std::vector<std::string>& args);

// net-run NETFILE [--output-type N]
int NetRun(const std::vector<std::string>& args, std::istream& in, std::ostream& out);

}  // namespace tavrin::tool
