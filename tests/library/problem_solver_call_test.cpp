// NRXIntelligentProblemSolver through the shared object: its checks in their
// order, and one short search whose networks load back by handle and run.
// The search's own rules are the engine's tests.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "library_test_support.h"
#include "nrx32.h"

namespace nrx_test {
namespace {

class ProblemSolverCallTest : public LibraryTest {
 protected:
  void TearDown() override {
    LibraryTest::TearDown();
    std::remove(file_.c_str());
  }
  // The linear kind only, `budget` candidates, the data set's own subsets.
  int32_t Solve(const char* file, int32_t ds, int32_t budget = 2) {
    return NRXIntelligentProblemSolver(file, ds, -1, 0, 1, 0, 0, 0, 0, -1, 0, budget, 5, 0, 0, -1.0,
                                       0.0, -1.0, 0.0);
  }
  // y = x1 + x2 over a few cases.
  int32_t Data() {
    std::vector<std::vector<double>> rows;
    for (int c = 0; c < 12; ++c)
      rows.push_back({c / 12.0, (c % 3) / 3.0, c / 12.0 + (c % 3) / 3.0});
    return MakeDataSet(2, 1, rows);
  }

  const std::string file_ =
      ::testing::TempDir() + "tavrin-solver-" + std::to_string(::getpid()) + ".bnt";
};

TEST_F(ProblemSolverCallTest, ChecksInOrder) {
  EXPECT_EQ(Solve(nullptr, 0), 0);
  EXPECT_EQ(ErrorText(), "The network set file name cannot be NULL");
  EXPECT_EQ(Solve(file_.c_str(), 0), 0);  // the set must exist
  EXPECT_EQ(ErrorText(), "Could not open network file for reading");
  Ok(NRXCreateNetworkSet(file_.c_str(), 4, 0, 0));
  EXPECT_EQ(Solve(file_.c_str(), -1), 0);
  EXPECT_EQ(ErrorText(), "Data Set index out of range");
  EXPECT_EQ(Solve(file_.c_str(), 0), 0);
  EXPECT_EQ(ErrorText(), "No Data Set loaded with this index");
  const int32_t ds = Data();
  Ok(NRXSetDataVariableTypes(ds, 2, 1, 3));  // the output made neither
  EXPECT_EQ(Solve(file_.c_str(), ds), 0);
  EXPECT_EQ(ErrorText(), "You must have both input and output variables defined to use the wizard");
  Ok(NRXSetDataVariableTypes(ds, 2, 1, 1));
  EXPECT_EQ(NRXIntelligentProblemSolver(file_.c_str(), ds, -1, 0, 0, 0, 0, 0, 0, -1, 0, 0, 5, 0, 0,
                                        -1.0, 0.0, -1.0, 0.0),
            0);
  EXPECT_EQ(ErrorText(),
            "At least one architecture must be chosen when there is no iteration budget");
}

TEST_F(ProblemSolverCallTest, FoundNetworksLoadAndRun) {
  Ok(NRXCreateNetworkSet(file_.c_str(), 4, 0, 0));
  const int32_t ds = Data();
  Ok(_NRXCIntelligentProblemSolver(file_.c_str(), ds, -1, 0, 1, 0, 0, 0, 0, -1, 0, 1, 5, 0, 0, -1.0,
                                   0.0, -1.0, 0.0));
  int32_t count = 0, max_networks = 0, current = 0, when_full = 0, inform = 0;
  Ok(NRXGetNetworkSetDetails(file_.c_str(), &count, &max_networks, &current, &when_full, &inform));
  ASSERT_EQ(count, 1);
  EXPECT_EQ(current, 1);
  const int32_t net = NRXLoadNetwork(file_.c_str(), -1);
  ASSERT_GE(net, 0) << ErrorText();
  // The linear network learnt y = x1 + x2 exactly.
  const double in[] = {0.25, 0.5};
  double out = 0.0;
  Ok(NRXRunNetwork(net, 0, in, &out));
  EXPECT_NEAR(out, 0.75, 1e-9);
}

}  // namespace
}  // namespace nrx_test
