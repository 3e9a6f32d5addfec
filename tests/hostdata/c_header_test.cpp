// The header serves callers written in C: c_header_check.c, compiled as C99,
// calls the library through it.

#include <gtest/gtest.h>

extern "C" int kvm_c_view_version(void);

namespace {

TEST(KvmCHeader, ServesCallersWrittenInC) {
  EXPECT_EQ(kvm_c_view_version(), 2);
}

}  // namespace
