#pragma once

// The network set commands of the tool. Each returns the process's exit
// status and leaves the engine's message of a failure in its error sink.

#include <ostream>
#include <string>

namespace tavrin::tool {

// Prints a set's settings and, for each network, its summary and the kind of
// the network its stored image holds.
int SetDump(const std::string& path, std::ostream& out);

// Writes network `number` (counted from 1, as SetDump shows it) of a set as a
// text network file.
int SetExtract(const std::string& path, const std::string& number, const std::string& out_path);

}  // namespace tavrin::tool
