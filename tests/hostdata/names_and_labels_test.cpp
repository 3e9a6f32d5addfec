// Variable name and value label rules as a caller meets them.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "host_file_test_support.h"
#include "kvmdev32.h"

namespace kvmtest {
namespace {

class KvmNamesAndLabels : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.File("labels.kvm");
    file_ = KvmCreateFile(2, 1, path_.c_str());
    ASSERT_NE(file_, nullptr);
  }
  void TearDown() override {
    if (file_ != nullptr) KvmCloseFile(file_);
  }
  std::string Name(int variable) {
    char name[KVM_NAME_BUFFER_SIZE];
    return KvmGetVarName(file_, variable, name) == 1 ? name : "<refused>";
  }
  std::string LabelOf(double value, int variable = 1) {
    char label[KVM_LABEL_BUFFER_SIZE];
    return KvmGetLabelForValue(file_, variable, value, label) == 1 ? label : "<none>";
  }
  std::string LongLabelOf(double value, int variable = 1) {
    char text[KVM_LONG_LABEL_BUFFER_SIZE];
    return KvmGetLongLabelForValue(file_, variable, value, text, sizeof text) == 1 ? text
                                                                                   : "<none>";
  }
  std::vector<Label> Labels(int variable = 1) { return Take(file_).labels[variable - 1]; }
  void Reopen() {
    ASSERT_EQ(KvmCloseFile(file_), 1);
    file_ = KvmOpenFile(path_.c_str());
    ASSERT_NE(file_, nullptr);
  }

  ScratchDir dir_;
  std::string path_;
  KvmFile* file_ = nullptr;
};

TEST_F(KvmNamesAndLabels, NameRulesMapPunctuationAndKeepTheFirstEightBytes) {
  const std::pair<std::string, std::string> cases[] = {
      {"abcdefghijkl", "ABCDEFGH"},
      {" a b", "A_B"},
      {"  x1  ", "X1"},
      {"a#b&c'd", "A_B_C_D"},
      {"\"q\"", "_Q_"},
      {"p(q)*r", "P_Q__R"},
      {"tab\there", "TAB_HERE"},
      {"a.b,c-d", "A_B_C_D"},
      {"_ok$%@!", "_OK$%@!"},
      {"x\x7f", "X_"},
      {"caf\xc3\xa9", "CAF\xc3\xa9"},  // UTF-8 kept as it is
      {"abcdefg\xc3\xa9", "ABCDEFG"},  // never half a character
      {"\xe2\x82\xac"
       "uro",
       "\xe2\x82\xac"
       "URO"},
  };
  for (const auto& [given, stored] : cases) {
    ASSERT_EQ(KvmSetVarName(file_, 1, given.c_str()), 1) << given;
    EXPECT_EQ(Name(1), stored) << given;
  }
  for (const char* bad : {"1abc", "9", "-x", "+x", ".5", "", "    ", " 2x"}) {
    EXPECT_EQ(KvmSetVarName(file_, 1, bad), 0) << bad;
  }
  EXPECT_EQ(KvmSetVarName(file_, 1, nullptr), 0);
  EXPECT_EQ(Name(1),
            "\xe2\x82\xac"
            "URO");
}

TEST_F(KvmNamesAndLabels, LabelsAndLongLabelsAreFoundByValueAndByLabel) {
  ASSERT_EQ(KvmAddLabel(file_, 1, 1.0, " Low ", "the lowest group"), 1);
  ASSERT_EQ(KvmAddLabel(file_, 1, 2.0, "High", nullptr), 1);
  ASSERT_EQ(KvmAddLabel(file_, 2, 0.1, "Tenth", std::string(50, 't').c_str()), 1);
  Reopen();
  EXPECT_EQ(LabelOf(1.0), "Low");
  EXPECT_EQ(LabelOf(2.0), "High");
  EXPECT_EQ(LabelOf(3.0), "<none>");
  EXPECT_EQ(LongLabelOf(1.0), "the lowest group");
  EXPECT_EQ(LongLabelOf(2.0), "");
  EXPECT_EQ(LongLabelOf(3.0), "<none>");
  EXPECT_EQ(LongLabelOf(0.1, 2), std::string(40, 't'));
  // Values are kept as floats: 0.1 finds its label, and the value comes back
  // as the float nearest 0.1 widened to double.
  EXPECT_EQ(LabelOf(0.1, 2), "Tenth");
  double value = 0;
  ASSERT_EQ(KvmGetValueForLabel(file_, 2, "Tenth", &value), 1);
  EXPECT_EQ(value, static_cast<double>(0.1f));
  ASSERT_EQ(KvmGetValueForLabel(file_, 1, "  High", &value), 1);
  EXPECT_EQ(value, 2.0);
  EXPECT_EQ(KvmGetValueForLabel(file_, 1, "high", &value), 0);
  EXPECT_EQ(KvmGetValueForLabel(file_, 1, nullptr, &value), 0);
  EXPECT_EQ(value, 2.0);
}

TEST_F(KvmNamesAndLabels, LabelRulesRefuseNumbersDuplicatesAndBadSizes) {
  for (const char* number : {"12", "1.5", "-3", "+.5", "1e3", "2E-7", " 7 ", "5."}) {
    EXPECT_EQ(KvmAddLabel(file_, 1, 1.0, number, nullptr), 0) << number;
  }
  for (const char* bad : {"", "   ", "ninechars"}) {
    EXPECT_EQ(KvmAddLabel(file_, 1, 1.0, bad, nullptr), 0) << bad;
  }
  EXPECT_EQ(KvmAddLabel(file_, 1, 1.0, nullptr, nullptr), 0);
  EXPECT_EQ(KvmAddLabel(file_, 1, NAN, "nan", nullptr), 0);
  EXPECT_EQ(KvmAddLabel(file_, 1, INFINITY, "inf", nullptr), 0);
  EXPECT_EQ(KvmAddLabel(file_, 1, 1e39, "huge", nullptr), 0);  // beyond float
  EXPECT_TRUE(Labels().empty());

  double value = 10;
  for (const char* text : {"A1", "1A", "e5", "-", "1e", "1.2.3", "eightchr"}) {
    EXPECT_EQ(KvmAddLabel(file_, 1, value++, text, nullptr), 1) << text;
  }
  ASSERT_EQ(KvmAddLabel(file_, 1, 1.0, "One", nullptr), 1);
  EXPECT_EQ(KvmAddLabel(file_, 1, 1.0, "Uno", nullptr), 0);          // value taken
  EXPECT_EQ(KvmAddLabel(file_, 1, 2.0, " One ", nullptr), 0);        // label taken
  EXPECT_EQ(KvmAddLabel(file_, 1, 1.00000001, "Near", nullptr), 0);  // same float
  EXPECT_EQ(KvmAddLabel(file_, 2, 1.0, "One", nullptr), 1);          // other variable
  EXPECT_EQ(KvmAddLabel(file_, 3, 1.0, "One", nullptr), 0);
  EXPECT_EQ(Labels().size(), 8u);
}

TEST_F(KvmNamesAndLabels, DeletingKeepsTheOrderOfTheOthers) {
  ASSERT_EQ(KvmAddLabel(file_, 1, 1.0, "a", "long a"), 1);
  ASSERT_EQ(KvmAddLabel(file_, 1, 2.0, "b", nullptr), 1);
  ASSERT_EQ(KvmAddLabel(file_, 1, 3.0, "c", "long c"), 1);
  ASSERT_EQ(KvmDeleteLabelForValue(file_, 1, 2.0), 1);
  EXPECT_EQ(KvmDeleteLabelForValue(file_, 1, 2.0), 0);
  ASSERT_EQ(KvmDeleteLabel(file_, 1, " a"), 1);
  EXPECT_EQ(KvmDeleteLabel(file_, 1, "a"), 0);
  EXPECT_EQ(KvmDeleteLabel(file_, 1, nullptr), 0);
  ASSERT_EQ(KvmAddLabel(file_, 1, 4.0, "d", nullptr), 1);
  Reopen();
  EXPECT_EQ(Labels(), (std::vector<Label>{{3.0, "c", "long c"}, {4.0, "d", ""}}));
  double value = 0;
  char label[KVM_LABEL_BUFFER_SIZE] = "";
  ASSERT_EQ(KvmGetVarLabelByIndex(file_, 1, 2, &value, label, nullptr), 1);
  EXPECT_STREQ(label, "d");
  EXPECT_EQ(KvmGetVarLabelByIndex(file_, 1, 3, &value, label, nullptr), 0);
  EXPECT_EQ(KvmGetVarLabelByIndex(file_, 1, 0, &value, label, nullptr), 0);
  EXPECT_EQ(KvmGetVarLabelByIndex(file_, 1, 1, nullptr, label, nullptr), 0);
}

TEST_F(KvmNamesAndLabels, LabelAndLongLabelLimitsPerVariable) {
  // 720 long labels, then plain labels up to 2200.
  for (int i = 0; i < 2200; ++i) {
    const std::string label = "L" + std::to_string(i);
    const std::string long_label = std::string(40, 'x');
    ASSERT_EQ(KvmAddLabel(file_, 1, i, label.c_str(), i < 720 ? long_label.c_str() : nullptr), 1)
        << i;
  }
  EXPECT_EQ(KvmAddLabel(file_, 1, 5000, "over", nullptr), 0);
  EXPECT_EQ(KvmAddLabel(file_, 2, 0, "L0", "x"), 1);
  ASSERT_EQ(KvmDeleteLabelForValue(file_, 1, 2199), 1);
  EXPECT_EQ(KvmAddLabel(file_, 1, 5000, "over", "no room for a 721st"), 0);
  EXPECT_EQ(KvmAddLabel(file_, 1, 5000, "over", nullptr), 1);
  Reopen();
  EXPECT_EQ(Labels().size(), 2200u);
  EXPECT_EQ(LongLabelOf(719), std::string(40, 'x'));
  EXPECT_EQ(LabelOf(5000), "over");
}

TEST_F(KvmNamesAndLabels, LabelsFollowTheirVariableThroughStructureEdits) {
  ASSERT_EQ(KvmAddLabel(file_, 2, 7.0, "seven", "long seven"), 1);
  ASSERT_EQ(KvmAddVars(file_, 0, 3), 1);
  EXPECT_EQ(LabelOf(7.0, 5), "seven");
  ASSERT_EQ(KvmDeleteVars(file_, 1, 4), 1);
  Reopen();
  EXPECT_EQ(Labels(), (std::vector<Label>{{7.0, "seven", "long seven"}}));
}

}  // namespace
}  // namespace kvmtest
