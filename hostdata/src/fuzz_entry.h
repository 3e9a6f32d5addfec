#pragma once

// Entries for fuzzing the data file reader; internal, never exported.

#include <cstddef>
#include <cstdint>

namespace kvm {

// Reads `data` as a complete data file, in memory. Returns 0 when it is
// refused, 1 when it is accepted and writing its header sections out and
// reading them back gives the same sections, -1 when that round trip breaks
// (a fault for the fuzzer to report).
int FuzzOpenBytes(const std::uint8_t* data, std::size_t size);

// The same through the public interface: writes `data` to a temporary file,
// opens it, reads every name, label and value, changes one value, closes
// (writing the file back), reopens and checks the change. Returns as above.
int FuzzOpenFileBytes(const std::uint8_t* data, std::size_t size);

}  // namespace kvm
