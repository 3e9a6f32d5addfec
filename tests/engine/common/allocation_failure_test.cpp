// Allocation failure anywhere in reading or writing a network: the Nth
// allocation of the call fails, for N = 1, 2, ... until the call needs no
// more. Each failure is reported with the system's message, nothing leaks
// (under LeakSanitizer) and no exception escapes.

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <sstream>
#include <string>

#include "file_test_support.h"

namespace {

// Counts allocations while armed and fails the one numbered fail_at.
long allocations = 0;
long fail_at = 0;
bool armed = false;

void* Allocate(std::size_t size) {
  if (armed && ++allocations == fail_at) throw std::bad_alloc();
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) {
  return Allocate(size);
}
void* operator new[](std::size_t size) {
  return Allocate(size);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}

namespace tavrin {
namespace {

using testing::EngineTest;

class AllocationFailureTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    // Room for the message, so that recording it needs no allocation.
    sink_.Record(std::string(200, ' '));
    net_ = testing::BuildKind(testing::EveryKind()[0]);
    ASSERT_NE(net_, nullptr);
    text_ = testing::TextOf(*net_);
    image_ = testing::ImageOf(*net_);
  }

  // Runs `call` failing its Nth allocation for each N until it succeeds with
  // no failure injected; each failing run must report one of `messages`.
  // The call arms the failure itself (Armed) once its streams are set up.
  template <typename Call>
  void FailEachAllocation(Call call, std::initializer_list<std::string_view> messages) {
    for (long n = 1;; ++n) {
      sink_.clear();
      allocations = 0;
      fail_at = n;
      const bool ok = call();
      if (allocations < n) {
        EXPECT_TRUE(ok) << "no allocation failed, yet the call failed: " << last_message();
        // A reader or writer of a whole network allocates; had none been
        // counted, no failure would have been tried.
        EXPECT_GT(n, 1);
        return;
      }
      EXPECT_FALSE(ok) << "allocation " << n << " failed unnoticed";
      bool known = false;
      for (std::string_view m : messages) known = known || last_message() == m;
      EXPECT_TRUE(known) << "allocation " << n << ": " << last_message();
    }
  }

  template <typename Work>
  static bool Armed(Work work) {
    armed = true;
    const bool ok = work();
    armed = false;
    return ok;
  }

  std::unique_ptr<Network> net_;
  std::string text_;
  std::string image_;
};

TEST_F(AllocationFailureTest, ReadingATextFile) {
  FailEachAllocation(
      [&] {
        std::istringstream in(text_);
        return Armed([&] { return ReadNetworkFile(in) != nullptr; });
      },
      {kNotEnoughMemory});
}

TEST_F(AllocationFailureTest, ReadingAnImage) {
  FailEachAllocation(
      [&] {
        std::istringstream in(image_);
        return Armed([&] { return ReadNetworkImage(in, 0) != nullptr; });
      },
      {kNotEnoughMemory});
}

TEST_F(AllocationFailureTest, WritingATextFile) {
  FailEachAllocation(
      [&] {
        std::ostringstream out;
        return Armed([&] { return WriteNetworkFile(*net_, out).ok(); });
      },
      {kNotEnoughMemory, "Cannot write network file"});
}

TEST_F(AllocationFailureTest, WritingAnImage) {
  FailEachAllocation(
      [&] {
        std::ostringstream out;
        return Armed([&] { return WriteNetworkImage(*net_, out).ok(); });
      },
      {kNotEnoughMemory, "Cannot write network file"});
}

}  // namespace
}  // namespace tavrin
