#pragma once

// The network commands of the tool. Each returns the process's exit status
// and leaves the engine's message of a failure in its error sink.

#include <ostream>
#include <string>

namespace tavrin::tool {

// Prints a summary of a text network file or a binary network image.
int NetDump(const std::string& path, std::ostream& out);

// Converts a text network file into a binary network image.
int NetImage(const std::string& in_path, const std::string& out_path);

// Converts a binary network image into a text network file.
int NetText(const std::string& in_path, const std::string& out_path);

}  // namespace tavrin::tool
