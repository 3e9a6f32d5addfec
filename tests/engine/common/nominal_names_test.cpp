// A variable's value names stay distinct, whoever names or adds values: two
// equal names would merge two values on the next save and load.

#include "common/nominal_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "network_test_support.h"

namespace tavrin::testing {
namespace {

using NominalNamesTest = EngineTest;
using Names = std::vector<std::string>;

TEST_F(NominalNamesTest, ASetterRefusesABlankOrTakenNameAndChangesNothing) {
  Names names = {"low", "high"};
  EXPECT_TRUE(SetNominalName(names, 1, "high").ok());  // its own name again
  EXPECT_FALSE(SetNominalName(names, 1, "low").ok());
  EXPECT_EQ(last_message(), kDuplicateNominal);
  EXPECT_FALSE(SetNominalName(names, 0, " \t").ok());
  EXPECT_EQ(last_message(), kBlankNominal);
  EXPECT_EQ(names, (Names{"low", "high"}));
}

TEST_F(NominalNamesTest, NewValuesAreNamedByTheirNumberOrTheNextUnusedOne) {
  Names names = {"v3", "v2"};
  ResizeNominalNames(names, 5);
  // Value 3 would be v3, which value 1 has; then v4 is taken by value 3.
  EXPECT_EQ(names, (Names{"v3", "v2", "v4", "v5", "v6"}));
  ResizeNominalNames(names, 1);
  EXPECT_EQ(names, Names{"v3"});
  EXPECT_TRUE(NominalNamesDistinct({"a", "b", "A"}));
  EXPECT_FALSE(NominalNamesDistinct({"a", "b", "a"}));
}

}  // namespace
}  // namespace tavrin::testing
