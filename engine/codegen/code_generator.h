#pragma once

// Writes a network, with the coding of its variables, as C source that
// computes the same outputs as the engine's forward run: the template's
// fragments carry the code, the generator fills in the numbers and picks the
// fragments the network's layout needs.

#include <filesystem>
#include <string>
#include <vector>

#include "codegen/code_template.h"
#include "common/status.h"
#include "network/network.h"

namespace tavrin {

struct CodeOptions {
  std::string prefix;                   // names in the source start with it
  std::filesystem::path output;         // the source file to write
  std::filesystem::path template_file;  // ctemplate.bin
  bool cpp = false;                     // C++ headers in place of C's
  bool harness = false;                 // a main() that runs rows of standard input
};

// "%.40g" of the value as a C literal of type double: ".0" is added where the
// text would read as an integer, and infinities and NaN are written as
// HUGE_VAL and NAN.
std::string CReal(double value);

// The fragments the network needs, in the order they are written.
std::vector<int> NeededFragments(const Network& network, const CodeOptions& options);

// Checks the preconditions, reads the template, then writes the source file
// whole or not at all. Nothing is written on failure.
Status GenerateCode(const Network* network, const CodeOptions& options);

}  // namespace tavrin
