// Name and label rules under a decimal separator other than the full stop,
// which no installed locale may provide, through the rules' own parameter.

#include <gtest/gtest.h>

#include <string>

#include "names_and_labels.h"

namespace {

std::string Stored(const std::array<char, 8>& name) {
  return std::string(name.data(), 8);
}

TEST(KvmNameRules, DecimalSeparatorOfTheLocaleStartsNoName) {
  std::array<char, 8> name{};
  EXPECT_FALSE(kvm::MakeVariableName(",5", ",", name));
  ASSERT_TRUE(kvm::MakeVariableName(".x", ",", name));
  EXPECT_EQ(Stored(name), "_X      ");
  const std::string arabic = "\xd9\xab";  // U+066B, two bytes
  EXPECT_FALSE(kvm::MakeVariableName(arabic + "x", arabic, name));
  ASSERT_TRUE(kvm::MakeVariableName("x" + arabic, arabic, name));
  EXPECT_EQ(Stored(name), "X" + arabic + "     ");
}

TEST(KvmNameRules, LabelsReadAsNumbersWithEitherSeparator) {
  EXPECT_TRUE(kvm::ReadsAsNumber("1,5", ","));
  EXPECT_FALSE(kvm::ReadsAsNumber("1,5", "."));
  EXPECT_TRUE(kvm::ReadsAsNumber("1.5", ","));
  std::array<char, 8> label{};
  EXPECT_FALSE(kvm::MakeLabel("3,25", ",", label));
  ASSERT_TRUE(kvm::MakeLabel("3,25", ".", label));
  EXPECT_EQ(Stored(label), "3,25    ");
}

}  // namespace
