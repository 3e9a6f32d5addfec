// Input selection's checks, case lists and searches, each search traced on
// a planted error surface over masks, and the engine-level runs: progress,
// the switch to exhaustive search, stopping and applying the mask.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "analysis/input_selection.h"
#include "common/messages.h"
#include "common/stop_request.h"
#include "training_test_support.h"

namespace tavrin::testing {
namespace {

std::string Bits(const InputMask& m) {
  std::string s;
  for (int i = 0; i < m.size(); ++i) s += m.test(i) ? '1' : '0';
  return s;
}

class InputSelectionTest : public EngineTest {
 protected:
  // `cases` training cases of `inputs` inputs and one output, values from
  // the engine's generator.
  void Use(int inputs, int cases) {
    std::vector<std::vector<double>> rows(cases);
    for (auto& row : rows) {
      for (int v = 0; v <= inputs; ++v) row.push_back(Engine().random.UniformDeviate());
    }
    data_ = MakeData(inputs, 1, rows);
    Engine().active_data_set = data_.get();
  }
  std::vector<std::int32_t> Inputs() const { return data_->is_input; }

  std::unique_ptr<DataSet> data_;
};

TEST_F(InputSelectionTest, RefusalsInOrderLeaveTheRolesAlone) {
  InputSelectionSettings s;
  EXPECT_FALSE(SearchInputs(Engine(), s));
  EXPECT_EQ(last_message(), kNoActiveDataSet);
  Use(2, 12);
  const auto refused = [&](InputSelectionSettings bad, std::string_view message) {
    const auto roles = Inputs();
    EXPECT_FALSE(SearchInputs(Engine(), bad)) << message;
    EXPECT_EQ(last_message(), message);
    EXPECT_EQ(Inputs(), roles);
    EXPECT_FALSE(Engine().input_selection.mask);
  };
  for (double rate : {0.0, 1.5, std::nan("")}) {
    s.sampling_rate = rate;
    refused(s, kSamplingRateOutOfRange);
  }
  s = {};
  s.method = 3;
  refused(s, kMethodOutOfRange);
  s = {};
  s.population = 0;
  refused(s, kPopulationOutOfRange);
  s = {};
  s.generations = -1;
  refused(s, kGenerationsOutOfRange);
  s = {};
  s.replacement_rate = 1.5;
  refused(s, kReplacementRateProportion);
  // 9 cases after sampling 0.75 of 12.
  s = {};
  s.sampling_rate = 0.75;
  refused(s, kSelectionTooFewCases);
  s = {};
  s.use_existing_subsets = true;
  refused(s, kSelectionTooFewCases);  // no verification case to score on

  SetVariableRoles(*data_, 0, 2, VariableRole::kNeither);
  refused({}, kSelectionNoInput);
  SetVariableRoles(*data_, 2, 1, VariableRole::kInput);
  refused({}, kSelectionNoOutput);
  SetCaseSubsets(*data_, 0, 12, Subset::kVerification);
  refused({}, kNoTrainingCases);
  auto single = MakeData(1, 0, {{1.0}});
  SetVariableRoles(*single, 0, 1, VariableRole::kBoth);
  Engine().active_data_set = single.get();
  refused({}, kSelectionOneVariable);
}

// Sampling 1.0 of 11 training and verification cases (a test case is
// never drawn): 5 references and 6 evaluations, no case twice.
TEST_F(InputSelectionTest, CaseListsFromARandomOrder) {
  Use(2, 12);
  SetCaseSubsets(*data_, 3, 1, Subset::kTest);
  SetCaseSubsets(*data_, 5, 4, Subset::kVerification);
  CaseLists lists;
  ASSERT_TRUE(DrawCaseLists(*data_, {}, Engine().random, &lists));
  EXPECT_EQ(lists.reference.size(), 5u);
  EXPECT_EQ(lists.evaluation.size(), 6u);
  std::vector<int> all = lists.reference;
  all.insert(all.end(), lists.evaluation.begin(), lists.evaluation.end());
  std::sort(all.begin(), all.end());
  EXPECT_EQ(all, (std::vector<int>{0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11}));

  InputSelectionSettings existing;
  existing.use_existing_subsets = true;
  ASSERT_TRUE(DrawCaseLists(*data_, existing, Engine().random, &lists));
  EXPECT_EQ(lists.reference, (std::vector<int>{0, 1, 2, 4, 9, 10, 11}));
  EXPECT_EQ(lists.evaluation, (std::vector<int>{5, 6, 7, 8}));
}

// The empty mask first, then v = 1, 2, 3 with v's high bit the first
// input; of the two masks at error 3 the first seen wins.
TEST_F(InputSelectionTest, ExhaustiveOrderAndTies) {
  const std::map<std::string, double> error = {{"00", 5}, {"01", 3}, {"10", 3}, {"11", 4}};
  std::vector<std::string> seen;
  MaskSearchResult r;
  ExhaustiveSearch(
      2,
      [&](const InputMask& m, double* e) {
        seen.push_back(Bits(m));
        *e = error.at(Bits(m));
        return true;
      },
      &r);
  EXPECT_EQ(seen, (std::vector<std::string>{"00", "01", "10", "11"}));
  EXPECT_EQ(Bits(r.mask), "01");
  EXPECT_EQ(r.error, 3.0);
}

// Planted: inputs 1 and 3 (0-based 0 and 2) help, the others cost a little:
// error = 1 - 0.2 [x0] - 0.3 [x2] + 0.05 per other input.
// Removal from 1111 (0.6): pass 1 drops x1 (0.55; x3's equal 0.55 is not
// strictly lower), pass 2 drops x3 (0.5), pass 3 finds nothing: 10
// evaluations. Addition: pass 1 takes x0 first (0.8, though above the
// starting 0) and then x2 (0.7);
// pass 2 adds x0 (0.5); pass 3 finds nothing: 4 + 3 + 2 evaluations.
TEST_F(InputSelectionTest, StepwiseOnAPlantedSurface) {
  int evaluations = 0;
  const MaskScorer score = [&](const InputMask& m, double* e) {
    ++evaluations;
    *e = 1.0 - 0.2 * m.test(0) - 0.3 * m.test(2) + 0.05 * (m.test(1) + m.test(3));
    return true;
  };
  MaskSearchResult r;
  StepwiseRemoval(4, score, &r);
  EXPECT_EQ(Bits(r.mask), "1010");
  EXPECT_NEAR(r.error, 0.5, 1e-15);
  EXPECT_EQ(evaluations, 10);
  evaluations = 0;
  StepwiseAddition(4, score, &r);
  EXPECT_EQ(Bits(r.mask), "1010");
  EXPECT_NEAR(r.error, 0.5, 1e-15);
  EXPECT_EQ(evaluations, 9);
  // Removal also drops the first input: 1111 scores 0.75, 0111 0.7, and no
  // further removal goes below 0.7 (1 + 4 + 3 evaluations).
  evaluations = 0;
  const MaskScorer first_useless = [&](const InputMask& m, double* e) {
    ++evaluations;
    *e = 1.0 + 0.05 * m.test(0) - 0.3 * m.test(2);
    return true;
  };
  StepwiseRemoval(4, first_useless, &r);
  EXPECT_EQ(std::tuple(Bits(r.mask), evaluations), std::tuple("0111", 8));
}

// 5 inputs: 2^5 = 32 masks is below population x generations, both for the
// defaults (10000) and for 65536 x 65536, which must not wrap to 0 in 32
// bits and send the search down the genetic road.
TEST_F(InputSelectionTest, FewInputsSearchEveryMask) {
  Use(5, 20);
  std::vector<std::int64_t> totals;
  std::int64_t done = 0;
  Engine().training.search_callback = [&](std::int64_t d, std::int64_t total) {
    done = d;
    totals.push_back(total);
    return true;
  };
  InputSelectionSettings s;
  for (std::int32_t size : {100, 65536}) {
    s.population = size;
    s.generations = size;
    totals.clear();
    ASSERT_TRUE(SearchInputs(Engine(), s));
    EXPECT_EQ(last_message(), kUsingExhaustiveSearch);
    EXPECT_EQ(done, 32);
    EXPECT_EQ(totals.back(), 32);
    ASSERT_TRUE(Engine().input_selection.mask);
  }
  // At 32 = 16 x 2 the genetic search runs: population + generations x
  // children (15 with elitism).
  s.population = 16;
  s.generations = 2;
  ASSERT_TRUE(SearchInputs(Engine(), s));
  EXPECT_EQ(done, 16 + 2 * 15);
  EXPECT_EQ(totals.back(), 46);
}

TEST_F(InputSelectionTest, StopsLeaveRolesAndMaskAlone) {
  Use(6, 20);
  const auto roles = Inputs();
  for (std::int32_t method : {0, 1, 2}) {
    InputSelectionSettings s;
    s.method = method;
    s.population = 10;
    s.generations = 10;
    int calls = 0;
    Engine().training.search_callback = [&](std::int64_t, std::int64_t) { return ++calls < 3; };
    ASSERT_TRUE(SearchInputs(Engine(), s)) << method;
    EXPECT_EQ(calls, 3) << method;
    EXPECT_TRUE(Engine().input_selection.stopped);
    EXPECT_FALSE(Engine().input_selection.mask) << method;

    Engine().training.search_callback = nullptr;
    RequestStop();
    ASSERT_TRUE(SearchInputs(Engine(), s));
    EXPECT_TRUE(Engine().input_selection.stopped);
    EXPECT_FALSE(TakeStopRequest());
    EXPECT_FALSE(Engine().input_selection.mask) << method;
    EXPECT_EQ(Inputs(), roles);
  }
}

// Clear bits drop the input role; an input that is also an output stays
// an output.
TEST_F(InputSelectionTest, ApplyingTheMask) {
  Use(3, 12);
  EXPECT_FALSE(ApplyInputMask(Engine()));
  EXPECT_EQ(last_message(), kNoMaskToApply);
  SetVariableRoles(*data_, 1, 1, VariableRole::kBoth);
  InputMask mask(3);
  mask.set(0, true);
  Engine().input_selection.mask = mask;
  ASSERT_TRUE(ApplyInputMask(Engine()));
  EXPECT_EQ(data_->role(0), VariableRole::kInput);
  EXPECT_EQ(data_->role(1), VariableRole::kOutput);
  EXPECT_EQ(data_->role(2), VariableRole::kNeither);
  EXPECT_EQ(data_->no_inputs, 1);
  EXPECT_FALSE(Engine().input_selection.mask);
}

}  // namespace
}  // namespace tavrin::testing
