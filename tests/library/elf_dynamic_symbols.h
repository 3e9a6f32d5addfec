#pragma once

// Reads the names a shared object exports: the defined global and weak
// entries of its dynamic symbol table (what the dynamic linker can bind to).

#include <optional>
#include <string>
#include <vector>

namespace nrx_test {

// nullopt when the file cannot be read or is not a 64-bit little-endian ELF
// file with a dynamic symbol table.
std::optional<std::vector<std::string>> ReadExportedSymbols(const std::string& path);

}  // namespace nrx_test
