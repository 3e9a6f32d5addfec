// Any bytes, read as a host package data file by kvmdev32's reader. It must
// refuse them or accept a file whose header sections, written out and read
// back, are the same.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (kvm::FuzzOpenBytes(data, size) < 0) {
    std::fprintf(stderr, "fuzz invariant broken: header sections changed in a round trip\n");
    std::abort();
  }
  return 0;
}
