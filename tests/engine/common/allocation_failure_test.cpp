// Allocation failure anywhere in reading or writing a network or reading a
// data set file: the Nth allocation of the call fails, for N = 1, 2, ...
// until the call needs no more. Each failure is reported with the system's
// message, nothing leaks (under LeakSanitizer) and no exception escapes.
// Making a trainer's working arrays is held to the same, and a run over a
// data set besides keeps the earlier run's results.

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>
#include <sstream>
#include <string>

#include "analysis/run_all.h"
#include "data/data_set_files.h"
#include "file_test_support.h"
#include "training/trainer.h"
#include "training_test_support.h"

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
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace tavrin::testing {
namespace {

// One call on a stream set up beforehand: the stream's own allocations are
// not the call's.
struct Call {
  const char* what;
  std::string input;  // the bytes a reader reads; empty for a writer
  std::function<bool(std::istream&)> run;
  std::string_view other_message = {};  // besides running out of memory, if any
};

using AllocationFailureTest = EngineTest;

TEST_F(AllocationFailureTest, EveryFailedAllocationIsReported) {
  auto net = BuildKind(EveryKind()[0]);
  ASSERT_NE(net, nullptr);
  auto data = CreateDataSet(2, 1);
  ASSERT_TRUE(ResizeCases(*data, 1, 3));
  data->nominals[1] = {"red", "green"};
  data->at(1, 1) = 2;
  data->case_names[2] = "third";
  std::stringstream binary, pattern, text;
  ASSERT_TRUE(WriteBinaryDataSet(*data, binary).ok());
  ASSERT_TRUE(WritePatternFile(*data, pattern).ok());
  ASSERT_TRUE(ExportText(*data, text, DelimitedOptions{}).ok());
  const std::string write_failed = "Cannot write network file";
  const auto quasi_newton = MakeTrainer(Algorithm::kQuasiNewton);
  const auto levenberg = MakeTrainer(Algorithm::kLevenbergMarquardt);
  const Call calls[] = {
      {"read a network file", Written(kTextFile, *net),
       [](std::istream& in) { return ReadNetworkFile(in) != nullptr; }},
      {"read an image", Written(kImage, *net),
       [](std::istream& in) { return ReadNetworkImage(in, 0) != nullptr; }},
      {"write a network file", "",
       [&](std::istream&) {
         std::ostringstream out;
         return WriteNetworkFile(*net, out).ok();
       },
       "Cannot write network file"},
      {"read a binary data set", binary.str(),
       [](std::istream& in) { return ReadBinaryDataSet(in) != nullptr; }},
      {"read a pattern file", pattern.str(),
       [](std::istream& in) { return ReadPatternFile(in) != nullptr; }},
      {"import text", text.str(),
       [](std::istream& in) { return ImportText(in, DelimitedOptions{}) != nullptr; }},
      // A failed start leaves no array behind, so the next try makes them all.
      {"make the quasi-Newton arrays", "",
       [&](std::istream&) { return quasi_newton->StateInit(Engine(), *net).ok(); }},
      {"make the Levenberg-Marquardt arrays", "",
       [&](std::istream&) { return levenberg->StateInit(Engine(), *net).ok(); }},
  };
  // Room for the message, so that recording it needs no allocation.
  sink_.Record(std::string(200, ' '));
  for (const Call& call : calls) {
    SCOPED_TRACE(call.what);
    for (long n = 1;; ++n) {
      std::istringstream in(call.input, std::ios::binary);
      sink_.clear();
      allocations = 0;
      fail_at = n;
      armed = true;
      const bool ok = call.run(in);
      armed = false;
      if (allocations < n) {
        EXPECT_TRUE(ok) << "no allocation failed, yet the call failed: " << last_message();
        // Each call allocates; had none been counted, no failure was tried.
        EXPECT_GT(n, 1);
        break;
      }
      EXPECT_FALSE(ok) << "allocation " << n << " failed unnoticed";
      EXPECT_TRUE(last_message() == kNotEnoughMemory ||
                  (!call.other_message.empty() && last_message() == call.other_message))
          << "allocation " << n << ": " << last_message();
    }
  }
}

// The earlier run's arrays are reused only where nothing can fail once the
// run has them: not for more cases than they hold, nor for a "Kohonen"
// output decoded by the vote of its nearest units, which allocates per case.
TEST_F(AllocationFailureTest, AFailedRunOverADataSetKeepsTheEarlierResults) {
  auto mlp = MakeDesigned(DesignCode::kMlp, {2, 3, 1}, 1);
  auto kohonen = MakeDesigned(DesignCode::kKohonen, {2, 3}, 1, 2);
  ASSERT_TRUE(mlp && kohonen);
  kohonen->coding.scale[2] = 2.0;  // the two nearest units vote
  kohonen->coding.shift[2] = 1.0;
  auto two = MakeData(2, 1, {{0.1, 0.2, 1}, {0.3, 0.4, 2}});
  auto five =
      MakeData(2, 1, {{0.1, 0.2, 1}, {0.3, 0.4, 2}, {0.5, 0.6, 1}, {0.7, 0.8, 2}, {1, 1, 1}});
  auto classes = MakeData(2, 1, {{0.1, 0.2, 1}, {0.3, 0.4, 2}});
  ASSERT_TRUE(SetDataNoNominals(*classes, 2, 2));
  const std::pair<Network*, DataSet*> runs[] = {{mlp.get(), five.get()},
                                                {kohonen.get(), classes.get()}};
  sink_.Record(std::string(200, ' '));
  for (const auto& [net, data] : runs) {
    Engine().active_network = mlp.get();
    Engine().active_data_set = two.get();
    ASSERT_TRUE(RunAll(Engine(), RunAllMode::kOutputs, 1));
    std::vector<double> results = Engine().run_all.case_results;
    std::vector<double> errors = Engine().training.case_errors;
    Engine().active_network = net;
    Engine().active_data_set = data;
    for (long n = 1;; ++n) {
      sink_.clear();
      allocations = 0;
      fail_at = n;
      armed = true;
      const bool ok = RunAll(Engine(), RunAllMode::kOutputs, 1).ok();
      armed = false;
      if (allocations < n) {
        EXPECT_TRUE(ok) << last_message();
        break;
      }
      if (ok) {
        // Only the case cache may fail unseen: the cases are then prepared
        // as they are loaded.
        results = Engine().run_all.case_results;
        errors = Engine().training.case_errors;
        continue;
      }
      EXPECT_EQ(last_message(), kNotEnoughMemory);
      EXPECT_EQ(Engine().run_all.case_results, results) << "allocation " << n;
      EXPECT_EQ(Engine().training.case_errors, errors) << "allocation " << n;
    }
  }
  Engine().active_network = nullptr;
  Engine().active_data_set = nullptr;
}

}  // namespace
}  // namespace tavrin::testing
