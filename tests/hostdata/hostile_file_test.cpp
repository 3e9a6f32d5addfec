// Damaged and made-up files: every one is refused, nothing crashes, and
// nothing is allocated beyond what the bytes really present justify.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "fuzz_entry.h"
#include "host_file_test_support.h"
#include "kvmdev32.h"

namespace {

// Allocation accounting for the window in which a file is read. GCC takes the
// replaced operators' malloc and free for a mismatch with new and delete.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
std::atomic<bool> counting{false};
std::size_t largest_allocation = 0;
std::size_t allocated_bytes = 0;

}  // namespace

void* operator new(std::size_t size) {
  if (counting.load(std::memory_order_relaxed)) {
    largest_allocation = std::max(largest_allocation, size);
    allocated_bytes += size;
  }
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace kvmtest {
namespace {

struct Allocations {
  std::size_t largest;
  std::size_t total;
};

Allocations CountWhileReading(const Bytes& bytes, int* result) {
  largest_allocation = 0;
  allocated_bytes = 0;
  counting = true;
  *result = kvm::FuzzOpenBytes(bytes.data(), bytes.size());
  counting = false;
  return {largest_allocation, allocated_bytes};
}

void Put(Bytes& b, std::size_t at, int width, std::int64_t v) {
  for (int i = 0; i < width; ++i) b[at + i] = static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF);
}

// One variable with `labels` labels, all present in the file.
Bytes ManyLabels(int labels) {
  Image f;
  f.Text("ZPL ").I32(-9876).I32(1).I16(1).I16(0).I32(8).I32(7);
  f.I16(20).I16(80).I16(8).I16(2).I16(8).I16(2).I16(4);
  f.I32(0).I32(14 * labels).I32(0).I32(0).I32(0);
  f.Padded("", 80, ' ').Padded("V", 8, ' ').I16(776).F64(-9999.0);
  f.I16(labels).I32(0);
  for (int i = 0; i < labels; ++i) {
    f.F32(static_cast<float>(i)).Padded("L" + std::to_string(i), 8, ' ').I16(0xFFFF);
  }
  f.ToDataArea().F64(1.0);
  return f.bytes;
}

std::vector<Bytes> WellFormedFiles() {
  // A foreign type with an extra block, besides the hand-laid file.
  Image foreign;
  foreign.Text("ZPL ").I32(-9869).I32(2).I16(1).I16(0).I32(8).I32(5);
  foreign.I16(20).I16(80).I16(8).I16(2).I16(8);
  foreign.I32(0).I32(0).I32(0).I32(2).I32(5);
  foreign.Padded("", 80, ' ').Padded("X", 8, ' ').I16(776).F64(-9999.0).Text("extra");
  foreign.ToDataArea().Text(std::string("a\0", 2)).F64(1.0);
  foreign.Text(std::string("b\0", 2)).F64(2.0);
  return {HandLaidFile(), foreign.bytes, ManyLabels(3)};
}

TEST(KvmHostileFile, WellFormedFilesAreAcceptedAndSurviveTheRoundTrip) {
  for (const Bytes& bytes : WellFormedFiles()) {
    EXPECT_EQ(kvm::FuzzOpenBytes(bytes.data(), bytes.size()), 1);
    EXPECT_EQ(kvm::FuzzOpenFileBytes(bytes.data(), bytes.size()), 1);
  }
  const Bytes full = ManyLabels(2200);
  EXPECT_EQ(kvm::FuzzOpenBytes(full.data(), full.size()), 1);
}

TEST(KvmHostileFile, TruncationAtEveryOffsetIsRefused) {
  ScratchDir dir;
  const std::string path = dir.File("cut.kvm");
  for (const Bytes& bytes : WellFormedFiles()) {
    for (std::size_t size = 0; size < bytes.size(); ++size) {
      EXPECT_EQ(kvm::FuzzOpenBytes(bytes.data(), size), 0) << size;
      WriteAll(path, Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)));
      KvmFile* file = KvmOpenFile(path.c_str());
      EXPECT_EQ(file, nullptr) << size;
      if (file != nullptr) KvmCloseFile(file);
    }
  }
  EXPECT_EQ(dir.WorkingFiles(), 0u);
}

struct Damage {
  const char* what;
  std::size_t at;
  int width;  // 1, 2 or 4 bytes
  std::int64_t value;
};

// Each damage is a field of the hand-laid file set beyond the format's
// limits or beyond the bytes present (offsets from host_file_test_support.h).
const Damage kDamages[] = {
    {"magic", 0, 4, 0x21212121},
    {"file type", 4, 4, -9875},
    {"cases beyond the data", 8, 4, 2147483647},
    {"negative cases", 8, 4, -1},
    {"4093 variables", 12, 2, 4093},
    {"no variables", 12, 2, 0},
    {"negative variables", 12, 2, -1},
    {"word at 16", 16, 4, 9},
    {"size table of 9", 20, 4, 9},
    {"size table of 4", 20, 4, 4},
    {"huge size table", 20, 4, 2147483647},
    {"extension block size", 24, 2, 21},
    {"names size", 28, 2, 18},
    {"label counts size", 34, 2, 6},
    {"long-label offsets size", 38, 2, 8},
    {"huge long-name block", hand::kExtensionBlock, 4, 2147483647},
    {"negative long-name block", hand::kExtensionBlock, 4, -1},
    {"huge label block", hand::kExtensionBlock + 4, 4, 2147483647},
    {"huge long-label block", hand::kExtensionBlock + 8, 4, 2147483647},
    {"case name length 21", hand::kExtensionBlock + 12, 4, 21},
    {"negative case name length", hand::kExtensionBlock + 12, 4, -1},
    {"huge extra block", hand::kExtensionBlock + 16, 4, 2147483647},
    {"negative extra block", hand::kExtensionBlock + 16, 4, -1},
    {"label count 2201", hand::kLabelCounts, 2, 2201},
    {"negative label count", hand::kLabelCounts, 2, -2},
    {"label entry offset", hand::kLabelCounts + 8, 4, 27},
    {"long-label offsets not from 0", hand::kLongLabelOffsets, 4, 1},
    {"long-label offsets decreasing", hand::kLongLabelOffsets + 4, 4, 18},
    {"long-label offsets past the block", hand::kLongLabelOffsets + 8, 4, 18},
    {"long-name of variable 0", hand::kLongNames, 2, 0},
    {"long-name of variable 3", hand::kLongNames, 2, 3},
    {"long-label field past its records", hand::kLabelEntries + 12, 2, 17},
    {"long-label record cut by its region", hand::kLabelEntries + 12, 2, 13},
    {"long name of length 0", hand::kLongNames + 2, 1, 0},
    {"long name of length 129", hand::kLongNames + 2, 1, 129},
    {"long name past its block", hand::kLongNames + 2, 1, 15},
    {"long label of 41", hand::kLongLabels + 4, 1, 41},
    {"long label past its region", hand::kLongLabels + 4, 1, 13},
};

TEST(KvmHostileFile, DamagedFieldsAreRefusedWithoutAllocating) {
  int result = -2;
  const Allocations intact = CountWhileReading(HandLaidFile(), &result);
  ASSERT_EQ(result, 1);
  for (const Damage& damage : kDamages) {
    Bytes bytes = HandLaidFile();
    Put(bytes, damage.at, damage.width, damage.value);
    const Allocations used = CountWhileReading(bytes, &result);
    EXPECT_EQ(result, 0) << damage.what;
    // Reading the intact 572-byte file needs a few kilobytes; a damaged one
    // may need no more.
    EXPECT_LE(used.largest, intact.largest) << damage.what;
    EXPECT_LE(used.total, intact.total + 1024) << damage.what;
  }
}

TEST(KvmHostileFile, LabelCountAboveTheLimitIsRefusedEvenWhenPresent) {
  const Bytes over = ManyLabels(2201);
  int result = -2;
  const Allocations used = CountWhileReading(over, &result);
  EXPECT_EQ(result, 0);
  EXPECT_LT(used.largest, over.size());
}

TEST(KvmHostileFile, SingleByteChangesNeverBreakTheReader) {
  const Bytes original = HandLaidFile();
  for (std::size_t at = 0; at < original.size(); ++at) {
    const std::uint8_t b = original[at];
    const std::uint8_t values[] = {
        0x00, 0xFF, 0x7F, 0x80, static_cast<std::uint8_t>(b + 1), static_cast<std::uint8_t>(b - 1)};
    for (std::uint8_t value : values) {
      Bytes bytes = original;
      bytes[at] = value;
      EXPECT_NE(kvm::FuzzOpenBytes(bytes.data(), bytes.size()), -1) << at << " " << int(value);
      // Through files only where the header sections are: the data bytes
      // change values, not structure.
      if (at < hand::kHeaderEnd && (value == 0xFF || value == static_cast<std::uint8_t>(b + 1))) {
        EXPECT_NE(kvm::FuzzOpenFileBytes(bytes.data(), bytes.size()), -1) << at;
      }
    }
  }
}

}  // namespace
}  // namespace kvmtest
