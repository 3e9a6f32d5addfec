// Data set files: round trips of every format, the import and export rules,
// and hostile files refused without crashing.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <charconv>
#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "data/data_set_files.h"
#include "kvmdev32.h"
#include "network_test_support.h"

namespace tavrin::testing {
namespace {

namespace fs = std::filesystem;

class DataFilesTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    dir_ =
        fs::temp_directory_path() /
        ("tavrin-datafiles-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::remove_all(dir_);
    EngineTest::TearDown();
  }

  // Every kind of content a data set file must carry: roles of all four
  // kinds, a nominal variable, missing values, named and unnamed cases, all
  // four subsets and an unnamed variable.
  static std::unique_ptr<DataSet> Sample() {
    auto d = CreateDataSet(2, 2);
    EXPECT_TRUE(ResizeCases(*d, 1, 3));
    SetVariableRoles(*d, 1, 1, VariableRole::kBoth);
    SetVariableRoles(*d, 3, 1, VariableRole::kNeither);
    d->variable_names = {"Size", "Colour", "", "Weight"};
    d->nominals[1] = {"red", "green", "blue"};
    const double rows[4][4] = {{1.5, 1, 0.25, -3e-7},
                               {2.75, 3, MISSING, 1e12},
                               {MISSING, 2, 7, 0},
                               {-4, MISSING, 1, 123456.789}};
    for (int c = 0; c < 4; ++c) {
      for (int v = 0; v < 4; ++v) d->at(c, v) = rows[c][v];
      SetCaseSubsets(*d, c, 1, static_cast<Subset>(c));
    }
    d->case_names = {"first", "", "third case", "4th"};
    return d;
  }

  static void ExpectSameContent(const DataSet& a, const DataSet& b, double tolerance) {
    ASSERT_EQ(a.no_variables, b.no_variables);
    ASSERT_EQ(a.no_cases, b.no_cases);
    EXPECT_EQ(a.is_input, b.is_input);
    EXPECT_EQ(a.is_output, b.is_output);
    EXPECT_EQ(a.subset, b.subset);
    EXPECT_EQ(a.nominals, b.nominals);
    EXPECT_EQ(a.case_names, b.case_names);
    EXPECT_EQ(a.no_inputs, b.no_inputs);
    EXPECT_EQ(a.no_outputs, b.no_outputs);
    EXPECT_EQ(a.no_training, b.no_training);
    EXPECT_EQ(a.no_verification, b.no_verification);
    EXPECT_EQ(a.no_test, b.no_test);
    for (std::size_t i = 0; i < a.entries.size(); ++i) {
      if (IsMissing(a.entries[i])) {
        EXPECT_TRUE(IsMissing(b.entries[i])) << i;
      } else {
        EXPECT_NEAR(a.entries[i], b.entries[i], tolerance * std::fabs(a.entries[i])) << i;
      }
    }
  }

  fs::path dir_;
};

TEST_F(DataFilesTest, BinaryRoundTripIsExact) {
  auto d = Sample();
  std::stringstream file;
  ASSERT_TRUE(WriteBinaryDataSet(*d, file));
  auto back = ReadBinaryDataSet(file);
  ASSERT_TRUE(back) << last_message();
  ExpectSameContent(*d, *back, 0.0);
  EXPECT_EQ(back->variable_names, d->variable_names);
  EXPECT_EQ(back->entries, d->entries);
}

TEST_F(DataFilesTest, BinaryLayoutStartsWithTheIdentification) {
  auto d = CreateDataSet(1, 1);
  std::stringstream file;
  ASSERT_TRUE(WriteBinaryDataSet(*d, file));
  const std::string bytes = file.str();
  // 32 header words, 1 case x 2 doubles, 2 + 2 flags, 1 subset, names
  // "VAR1" "VAR2" (2 lengths + 8 bytes), 1 case name length, 2 counts.
  EXPECT_EQ(bytes.size(), 128u + 16 + 16 + 4 + 16 + 4 + 8);
  auto word = [&](int i) {
    std::int32_t w;
    std::memcpy(&w, bytes.data() + 4 * i, 4);
    return w;
  };
  EXPECT_EQ(word(0), 721347);
  EXPECT_EQ(word(3), -909912);
  EXPECT_EQ(word(4), 30);
  EXPECT_EQ(word(5), 2);
  EXPECT_EQ(word(6), 1);
  EXPECT_EQ(word(12), -1);
  EXPECT_EQ(word(31), -1);
}

TEST_F(DataFilesTest, BinaryReaderRefusesEveryTruncationAndHugeCounts) {
  auto d = Sample();
  std::stringstream file;
  ASSERT_TRUE(WriteBinaryDataSet(*d, file));
  const std::string bytes = file.str();
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    std::stringstream cut(bytes.substr(0, n));
    EXPECT_FALSE(ReadBinaryDataSet(cut)) << "length " << n;
  }
  std::string wrong = bytes;
  wrong[0] ^= 1;
  std::stringstream bad(wrong);
  EXPECT_FALSE(ReadBinaryDataSet(bad));
  EXPECT_EQ(last_message(), "Cannot open Data Set file: incorrect header");
  // 2^31 - 1 cases of 4 variables in a file of a few hundred bytes.
  std::string huge = bytes;
  const std::int32_t cases = 0x7FFFFFFF;
  std::memcpy(huge.data() + 24, &cases, 4);
  std::stringstream h(huge);
  EXPECT_FALSE(ReadBinaryDataSet(h));
  // A text length beyond the end of the file.
  std::string long_name = bytes;
  const std::size_t names = 128 + 4 * 4 * 8 + 4 * 4 * 2 + 4 * 4;
  const std::int32_t length = 1 << 30;
  std::memcpy(long_name.data() + names, &length, 4);
  std::stringstream l(long_name);
  EXPECT_FALSE(ReadBinaryDataSet(l));
  EXPECT_EQ(last_message(), "Unexpected end of file while reading data file");
}

TEST_F(DataFilesTest, PatternRoundTripKeepsEverythingExactly) {
  auto d = Sample();
  d->at(0, 0) = 9.899999;
  d->at(0, 2) = 16777217;
  std::stringstream file;
  ASSERT_TRUE(WritePatternFile(*d, file));
  auto back = ReadPatternFile(file);
  ASSERT_TRUE(back) << last_message();
  ExpectSameContent(*d, *back, 0.0);
  EXPECT_EQ(back->variable_names, d->variable_names);
}

TEST_F(DataFilesTest, PatternFileLayout) {
  auto d = CreateDataSet(1, 1);
  d->at(0, 0) = 0.5;
  d->case_names[0] = "one";
  std::stringstream file;
  ASSERT_TRUE(WritePatternFile(*d, file));
  EXPECT_EQ(file.str(),
            "# Tavrin v1.0 Patterns\n\nno_attributes 2\nno_patterns 1\nattributes\ni  VAR1\n"
            "o  VAR2\n!01 T one\n0.5\t?\t\n\n\n");
}

TEST_F(DataFilesTest, PatternReaderRefusals) {
  auto read = [&](const std::string& text) {
    std::stringstream in(text);
    return ReadPatternFile(in) != nullptr;
  };
  EXPECT_FALSE(read("# Tavrin v1.0 Network\n"));
  EXPECT_EQ(last_message(), "Cannot open Data Set file: incorrect header");
  EXPECT_FALSE(read("# Tavrin v1.2 Patterns\n"));
  EXPECT_EQ(last_message(), "File created by a later version of Tavrin; cannot open");
  EXPECT_FALSE(read("# Tavrin v1.0 Patterns\n\nno_patterns 1\n"));
  EXPECT_EQ(last_message(), "Data Set file corrupted: no_attributes field missing");
  EXPECT_FALSE(read("# Tavrin v1.0 Patterns\n\nno_attributes 2\nattributes\n"));
  EXPECT_EQ(last_message(), "Data Set file corrupted: no_patterns field missing");
  EXPECT_FALSE(read("# Tavrin v1.0 Patterns\nno_attributes 3\nno_patterns 1\nattributes\ni  a\n"));
  EXPECT_EQ(last_message(), "Data Set file incomplete: variables missing");
  EXPECT_FALSE(
      read("# Tavrin v1.0 Patterns\nno_attributes 1\nno_patterns 2\nattributes\ni  a\n"
           "!01 T\n1\n"));
  EXPECT_EQ(last_message(), "Unexpected end of file reading Data Set");
  // A number cut in two by the line length limit is refused, saying why.
  EXPECT_FALSE(
      read("# Tavrin v1.0 Patterns\nno_attributes 2\nno_patterns 1\nattributes\ni  a\n"
           "o  b\n!01 T\n1." +
           std::string(1100, '5') + " 2\n"));
  EXPECT_EQ(last_message(),
            "Data Set file corrupted: a value is not a number (line 8 is longer than 1023 "
            "characters)");
  // A count the file does not back up allocates nothing.
  EXPECT_FALSE(
      read("# Tavrin v1.0 Patterns\nno_attributes 2000000000\nno_patterns 2000000000\n"
           "attributes\ni  a\n"));
}

TEST_F(DataFilesTest, PatternReaderTakesCommentsRolesAndRunOnValues) {
  std::stringstream in(
      "# Tavrin v2.1 patterns\n# a comment\nno_attributes 3\nno_patterns 1\nattributes\n"
      "IO both\n# another\nxo neither\noi out={a,b}\n!7 v the name\n1.5\n# mid\n?\t2\n");
  auto d = ReadPatternFile(in);
  ASSERT_TRUE(d) << last_message();
  EXPECT_EQ(d->role(0), VariableRole::kBoth);
  EXPECT_EQ(d->role(1), VariableRole::kNeither);
  EXPECT_EQ(d->role(2), VariableRole::kOutput);
  EXPECT_EQ(d->nominals[2], (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(d->subset[0], 1);
  EXPECT_EQ(d->case_names[0], "the name");
  EXPECT_EQ(d->at(0, 0), 1.5);
  EXPECT_TRUE(IsMissing(d->at(0, 1)));
  EXPECT_EQ(d->at(0, 2), 2.0);
}

TEST_F(DataFilesTest, PatternWriterRefusesNamesTheFormatCannotCarry) {
  auto d = CreateDataSet(1, 1);
  d->nominals[0] = {"a,b", "c"};
  std::stringstream file;
  EXPECT_FALSE(WritePatternFile(*d, file));
  d->nominals[0].clear();
  d->case_names[0] = "two\nlines";
  EXPECT_FALSE(WritePatternFile(*d, file));
}

DelimitedOptions Csv(bool header = true, bool case_names = false, bool subsets = false) {
  DelimitedOptions o;
  o.header = header;
  o.case_names = case_names;
  o.subsets = subsets;
  return o;
}

TEST_F(DataFilesTest, ImportReadsSubsetsNominalsAndMissing) {
  std::stringstream in("NNTYPE,A,B\nTEST,1,x\n");
  auto d = ImportText(in, Csv());
  ASSERT_TRUE(d) << last_message();
  EXPECT_EQ(d->no_variables, 2);
  EXPECT_EQ(d->subset[0], 2);
  EXPECT_EQ(d->no_test, 1);
  EXPECT_EQ(d->at(0, 0), 1.0);
  EXPECT_EQ(d->nominals[1], (std::vector<std::string>{"x", "v2"}));
  EXPECT_EQ(d->at(0, 1), 1.0);
  EXPECT_EQ(d->role(0), VariableRole::kInput);

  std::stringstream second("5,?\n6,,\n");
  auto e = ImportText(second, Csv(false));
  ASSERT_TRUE(e);
  EXPECT_EQ(e->variable_names[1], "VAR2");
  EXPECT_TRUE(IsMissing(e->at(0, 1)));
  // An empty field is missing, not 0.
  EXPECT_TRUE(IsMissing(e->at(1, 1)));
}

TEST_F(DataFilesTest, ImportDropsNamesOfColumnsThatAreNotNominal) {
  // "x" then 3: with the names {x, v2}, 3 is not a value number.
  std::stringstream in("A\nx\n3\n");
  auto d = ImportText(in, Csv());
  ASSERT_TRUE(d);
  EXPECT_TRUE(d->nominals[0].empty());
}

TEST_F(DataFilesTest, ImportCaseNamesBlankSeparatorAndRaggedRows) {
  std::stringstream in("  1   2.5  3\r\n  two 4 5\r\n7\n");
  DelimitedOptions o = Csv(false, true);
  o.separator = ' ';
  auto d = ImportText(in, o);
  ASSERT_TRUE(d) << last_message();
  EXPECT_EQ(last_message(),
            "The rows in the data file contain an inconsistent number of columns. Please check "
            "that the data is correct (missing values have been added to short rows).");
  EXPECT_EQ(d->no_cases, 3);
  EXPECT_EQ(d->case_names[0], "");  // just the row number
  EXPECT_EQ(d->case_names[1], "two");
  EXPECT_EQ(d->at(0, 0), 2.5);
  EXPECT_EQ(d->at(1, 1), 5.0);
  EXPECT_TRUE(IsMissing(d->at(2, 0)));
}

TEST_F(DataFilesTest, ImportReadsEveryNumberToTheNearestDouble) {
  // Numbers in many printed forms, each compared with the standard library's
  // correctly rounded reading of the same text.
  std::string text;
  std::vector<std::string> fields;
  std::uint64_t state = 7;
  const char* formats[] = {"%.7g", "%.15g", "%.17g", "%.3f", "%e", "%.1e", "%g"};
  for (int i = 0; i < 4000; ++i) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    const double magnitude =
        std::ldexp(static_cast<double>(state >> 11), static_cast<int>(state % 140) - 90);
    char field[64];
    std::snprintf(field, sizeof field, formats[i % 7], (state & 1) ? -magnitude : magnitude);
    fields.emplace_back(field);
    text += fields.back() + "\n";
  }
  fields.insert(fields.end(),
                {"00012.5000", ".5", "5.", "-0", "+7", "1e-5", "0.000000000000000000001"});
  for (std::size_t i = 4000; i < fields.size(); ++i) text += fields[i] + "\n";
  std::stringstream in(text);
  auto d = ImportText(in, Csv(false));
  ASSERT_TRUE(d);
  ASSERT_EQ(d->no_cases, static_cast<int>(fields.size()));
  for (std::size_t i = 0; i < fields.size(); ++i) {
    std::string_view f = fields[i];
    if (f.front() == '+') f.remove_prefix(1);
    double expected = 0;
    std::from_chars(f.data(), f.data() + f.size(), expected);
    EXPECT_EQ(d->at(static_cast<int>(i), 0), expected) << fields[i];
  }
}

TEST_F(DataFilesTest, ImportRefusesAFileWithoutData) {
  std::stringstream in("A,B\n");
  EXPECT_FALSE(ImportText(in, Csv()));
  EXPECT_EQ(last_message(), "Cannot read data file: not in the correct format");
}

TEST_F(DataFilesTest, ExportFormatsValuesNominalsAndMissing) {
  auto d = CreateDataSet(3, 0);
  d->nominals[1] = {"low", "high"};
  d->at(0, 0) = 0.000123456789;  // written whole: no digit is dropped
  d->at(0, 1) = 2;
  d->at(0, 2) = MISSING;
  std::stringstream out;
  ASSERT_TRUE(ExportText(*d, out, Csv(true, true, true)));
  EXPECT_EQ(out.str(), ",NNTYPE,VAR1,VAR2,VAR3\n01,TRAIN,0.000123456789,high,?\n");
  d->at(0, 0) = 1.5;
  std::stringstream plain;
  ASSERT_TRUE(ExportText(*d, plain, Csv(false)));
  EXPECT_EQ(plain.str(), "1.5,high,?\n");
}

TEST_F(DataFilesTest, TextThatWouldReadBackOtherwiseIsQuoted) {
  auto d = CreateDataSet(2, 0);
  ASSERT_TRUE(ResizeCases(*d, 1, 3));
  d->variable_names = {"a,b", "say \"hi\""};
  d->nominals[1] = {"x,y", "42", " padded", "?"};
  for (int c = 0; c < 4; ++c) {
    d->at(c, 0) = 1;
    d->at(c, 1) = c + 1;
  }
  d->case_names = {"3", "", "1", "plain"};
  std::stringstream out;
  ASSERT_TRUE(ExportText(*d, out, Csv(true, true)));
  EXPECT_EQ(out.str(),
            ",\"a,b\",\"say \"\"hi\"\"\"\n\"3\",1,\"x,y\"\n02,1,\"42\"\n\"1\",1,\" padded\"\n"
            "plain,1,\"?\"\n");
  std::stringstream file(out.str());
  auto back = ImportText(file, Csv(true, true));
  ASSERT_TRUE(back) << last_message();
  EXPECT_EQ(back->variable_names, d->variable_names);
  EXPECT_EQ(back->nominals[1], d->nominals[1]);
  EXPECT_EQ(back->case_names, d->case_names);
  EXPECT_EQ(back->entries, d->entries);
}

TEST_F(DataFilesTest, WordsInANumericColumnBecomeMissingWithAWarning) {
  std::stringstream in(
      "\xEF\xBB\xBF"
      "age,kind\n23,a\nNA,b\n31,-inf\nn/a,nan\n");
  auto d = ImportText(in, Csv());
  ASSERT_TRUE(d) << last_message();
  EXPECT_EQ(d->variable_names[0], "age") << "the byte-order mark is not part of the name";
  EXPECT_TRUE(d->nominals[0].empty());
  EXPECT_EQ(d->at(0, 0), 23.0);
  EXPECT_TRUE(IsMissing(d->at(1, 0)));
  EXPECT_EQ(d->at(2, 0), 31.0);
  EXPECT_TRUE(IsMissing(d->at(3, 0)));
  EXPECT_EQ(last_message(), "Variable age: 2 entries that are not numbers were read as missing");
  // A column of words only stays nominal.
  EXPECT_EQ(d->nominals[1], (std::vector<std::string>{"a", "b", "-inf", "nan"}));
  EXPECT_EQ(d->at(3, 1), 4.0);
}

TEST_F(DataFilesTest, SeparatorsThatNumbersOrQuotesUseAreRefused) {
  auto d = CreateDataSet(1, 0);
  for (char bad : {'.', '-', '+', 'e', 'E', '5', '"'}) {
    DelimitedOptions o;
    o.separator = bad;
    std::stringstream in("1.5e-3\n"), out;
    EXPECT_FALSE(ImportText(in, o)) << bad;
    EXPECT_EQ(last_message(),
              "The separator cannot be a character of a number, a quote or a line end");
    EXPECT_FALSE(ExportText(*d, out, o)) << bad;
    EXPECT_TRUE(out.str().empty());
  }
}

TEST_F(DataFilesTest, DelimitedRoundTripKeepsNamesSubsetsAndValues) {
  auto d = Sample();
  d->variable_names[2] = "C";  // an empty header field would read back as empty too
  SetVariableRoles(*d, 0, 4, VariableRole::kInput);  // the format has no roles
  // Nominal names come back in the order they first appear in the rows.
  d->at(1, 1) = 2;
  d->at(2, 1) = 3;
  std::stringstream file;
  ASSERT_TRUE(ExportText(*d, file, Csv(true, true, true)));
  auto back = ImportText(file, Csv(true, true));
  ASSERT_TRUE(back) << last_message();
  ExpectSameContent(*d, *back, 0.0);
  EXPECT_EQ(back->variable_names, d->variable_names);
}

TEST_F(DataFilesTest, HostFileRoundTripKeepsRolesNominalsSubsetsAndCaseNames) {
  auto d = Sample();
  d->nominals[1] = {"red", "a rather long colour name", "42"};  // too long; numeric
  d->title = "Sample data";
  const fs::path path = dir_ / "sample.kvm";
  ASSERT_TRUE(SaveDataSet(*d, path, DataFileFormat::kHost, {})) << last_message();
  auto back = LoadDataSet(path, DataFileFormat::kHost, {});
  ASSERT_TRUE(back) << last_message();
  ExpectSameContent(*d, *back, 0.0);
  EXPECT_EQ(back->title, "Sample data");
  // Host names are upper case and at most 8 characters; an empty one is generated.
  EXPECT_EQ(back->variable_names[0], "SIZE");
  // Nothing is left behind but the file itself.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

// The names the host file holds for the variables of a saved data set.
std::vector<std::string> StoredHostNames(const fs::path& path) {
  std::vector<std::string> names;
  KvmFile* file = KvmOpenFile(path.c_str());
  if (file == nullptr) return names;
  for (int v = 1; v <= KvmGetNVars(file); ++v) {
    char name[KVM_NAME_BUFFER_SIZE] = {};
    KvmGetVarName(file, v, name);
    names.emplace_back(name);
  }
  KvmCloseFile(file);
  return names;
}

TEST_F(DataFilesTest, HostFileNamesThatCutToTheSameEightCharactersStayApart) {
  auto d = CreateDataSet(8, 1);
  d->variable_names = {"Temperature1", "Temperature2", "TEMPERA1", "temperat", "nnset",
                       "1st",          "Size",         "",         "VAR9"};
  d->host_attributes[1].long_label = "Second reading";
  SetVariableRoles(*d, 1, 1, VariableRole::kOutput);
  const fs::path path = dir_ / "names.kvm";
  ASSERT_TRUE(SaveDataSet(*d, path, DataFileFormat::kHost, {})) << last_message();
  // The first of names that come out the same keeps the host's form, the
  // others a counter in their tail that no other column has (TEMPERA1 is
  // another variable's); a refused name is generated; all at most 8 bytes.
  EXPECT_EQ(StoredHostNames(path),
            (std::vector<std::string>{"NNSET", "TEMPERAT", "TEMPERA2", "TEMPERA1", "TEMPERA3",
                                      "NNSET1", "VAR7", "SIZE", "VAR9", "VAR91"}));
  auto back = LoadDataSet(path, DataFileFormat::kHost, {});
  ASSERT_TRUE(back) << last_message();
  // Names that had to change come back whole; the others as the host holds
  // them, as before ("Size" as SIZE, the empty one generated).
  EXPECT_EQ(back->variable_names,
            (std::vector<std::string>{"Temperature1", "Temperature2", "TEMPERA1", "temperat",
                                      "nnset", "1st", "SIZE", "", "VAR9"}));
  EXPECT_EQ(back->host_attributes[1].long_label, "Second reading");
  EXPECT_EQ(back->role(1), VariableRole::kOutput);
  EXPECT_EQ(back->host_attributes[0].long_label, "");

  // A name too long for the long name keeps only its unique host name, and
  // the user hears of it.
  d = CreateDataSet(2, 0);
  d->variable_names = {std::string(125, 'x') + "1", std::string(125, 'x') + "2"};
  ASSERT_TRUE(SaveDataSet(*d, path, DataFileFormat::kHost, {})) << last_message();
  EXPECT_EQ(last_message(), "The name of variable \"" + d->variable_names[1] +
                                "\" is too long to be kept whole in a KALVIMETRA data file; it "
                                "is saved as \"XXXXXXX1\"");
  back = LoadDataSet(path, DataFileFormat::kHost, {});
  ASSERT_TRUE(back);
  EXPECT_EQ(back->variable_names, (std::vector<std::string>{"XXXXXXXX", "XXXXXXX1"}));
}

// Value labels of a host file become nominal names only when no value has to
// change for it; otherwise the variable stays numeric and the user is told.
TEST_F(DataFilesTest, HostFileValueLabelsAreKeptOrReportedNeverDroppedSilently) {
  struct Label {
    double value;
    const char* label;
    const char* long_label;
  };
  struct Row {
    const char* what;
    std::vector<Label> labels;
    std::vector<double> values;      // -9999: missing
    std::vector<std::string> names;  // empty: numeric, with a warning
  };
  const Row rows[] = {
      {"labels 1 .. k", {{1, "a", nullptr}, {2, "b", nullptr}}, {2, 1, -9999}, {"a", "b"}},
      {"labels 0 and 1", {{0, "no", nullptr}, {1, "yes", nullptr}}, {0, 1}, {}},
      {"labels 1, 2, 5",
       {{1, "a", nullptr}, {2, "b", nullptr}, {5, "e", nullptr}},
       {1, 5, 2, -9999},
       {"a", "b", "v3", "v4", "e"}},
      {"a value beyond the labels", {{1, "a", nullptr}, {2, "b", nullptr}}, {1, 3}, {}},
      {"a value between whole numbers", {{1, "a", nullptr}, {2, "b", nullptr}}, {1, 1.5}, {}},
      {"a label between whole numbers", {{1, "a", nullptr}, {1.5, "half", nullptr}}, {1}, {}},
      {"long labels that clash give way to labels",
       {{1, "x", "the same"}, {2, "y", "the same"}, {3, "z", "other"}},
       {1, 2, 3},
       {"x", "y", "other"}},
      {"a long label that is another value's label",
       {{1, "a", "b"}, {2, "b", nullptr}},
       {1, 2},
       {"a", "b"}},
      {"a made-up name that is a label",
       {{1, "v2", nullptr}, {3, "c", nullptr}},
       {1, 2, 3},
       {"v2", "v2_2", "c"}},
  };
  const fs::path path = dir_ / "labels.kvm";
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const auto cases = static_cast<std::int32_t>(row.values.size());
    KvmFile* file = KvmCreateFile(1, cases, path.c_str());
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(KvmSetVarName(file, 1, "Grade"), 1);
    for (const Label& l : row.labels) {
      ASSERT_EQ(KvmAddLabel(file, 1, l.value, l.label, l.long_label), 1);
    }
    for (std::int32_t c = 0; c < cases; ++c) {
      ASSERT_EQ(KvmSetData(file, 1, c + 1, row.values[c]), 1);
    }
    ASSERT_EQ(KvmCloseFile(file), 1);

    sink_.clear();
    auto back = LoadDataSet(path, DataFileFormat::kHost, {});
    ASSERT_TRUE(back) << last_message();
    EXPECT_EQ(back->nominals[0], row.names);
    EXPECT_EQ(last_message(),
              row.names.empty()
                  ? "The value labels of variable \"GRADE\" are not kept: its values are not "
                    "all value numbers 1, 2, ... that the labels could name, so it is read as "
                    "numeric"
                  : "");
    for (std::int32_t c = 0; c < cases; ++c) {  // no value changed
      if (row.values[c] == -9999) {
        EXPECT_TRUE(IsMissing(back->at(c, 0)));
      } else {
        EXPECT_EQ(back->at(c, 0), row.values[c]);
      }
    }
    fs::remove(path);
  }
}

// While alive, files this process writes may not grow beyond `bytes`: a
// write past it fails with EFBIG instead of raising SIGXFSZ.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_limit_);
    old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_limit_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_limit_);
    std::signal(SIGXFSZ, old_handler_);
  }

 private:
  rlimit old_limit_{};
  void (*old_handler_)(int) = nullptr;
};

TEST_F(DataFilesTest, HostFileFailuresNameTheFileAndTheSystemsReason) {
  const auto d = Sample();
  const fs::path absent = dir_ / "absent.kvm";
  const fs::path in_no_directory = dir_ / "no" / "such.kvm";
  const fs::path directory = dir_ / "folder.kvm";
  const fs::path text = dir_ / "text.kvm";
  const fs::path big = dir_ / "big.kvm";
  fs::create_directory(directory);
  std::ofstream(text) << "not a data file";
  const auto load = [](const fs::path& p) {
    return LoadDataSet(p, DataFileFormat::kHost, {}) != nullptr;
  };
  const auto save = [&](const fs::path& p) {
    return static_cast<bool>(SaveDataSet(*d, p, DataFileFormat::kHost, {}));
  };
  struct Row {
    const char* what;
    std::function<bool()> call;
    std::string message;
  };
  const Row rows[] = {
      {"load a missing file", [&] { return load(absent); },
       "Cannot open Data Set file for reading: " + absent.filename().string() +
           ": No such file or directory"},
      {"load a directory", [&] { return load(directory); },
       "Cannot open Data Set file for reading: " + directory.filename().string() +
           ": Is a directory"},
      {"load a file that is not a data file", [&] { return load(text); },
       "Cannot read KALVIMETRA data file"},
      {"save into a missing directory", [&] { return save(in_no_directory); },
       "Couldn't open specified file for writing: " + in_no_directory.filename().string() +
           ": No such file or directory"},
      {"save over a directory", [&] { return save(directory); },
       "Couldn't open specified file for writing: " + directory.filename().string() +
           ": Is a directory"},
      // The sample's 4 cases of 20 name bytes and 5 values take 240 bytes,
      // behind a header padded to 512: the working files fit in 700 bytes,
      // the new file does not.
      {"save beyond the disk's room",
       [&] {
         FileSizeLimit limit(700);
         return save(big);
       },
       "Couldn't open specified file for writing: " + big.filename().string() + ": File too large"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_FALSE(row.call());
    EXPECT_EQ(last_message(), row.message);
  }
  // Nothing was left behind: the directory and the text file made above.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);
}

TEST_F(DataFilesTest, SavesAreWholeOrNotAtAll) {
  auto d = Sample();
  const fs::path path = dir_ / "kept.dat";
  {
    std::ofstream old(path);
    old << "old content";
  }
  d->case_names[0] = "bad\nname";
  EXPECT_FALSE(SaveDataSet(*d, path, DataFileFormat::kPattern, {}));
  std::ifstream kept(path);
  std::string content;
  std::getline(kept, content);
  EXPECT_EQ(content, "old content");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
  EXPECT_FALSE(SaveDataSet(*d, dir_ / "no" / "such" / "dir.dat", DataFileFormat::kBinary, {}));
  EXPECT_EQ(last_message(),
            "Couldn't open specified file for writing: dir.dat: No such file or directory");
  for (DataFileFormat format : {DataFileFormat::kBinary, DataFileFormat::kPattern}) {
    EXPECT_FALSE(LoadDataSet(dir_ / "absent.dat", format, {}));
    EXPECT_EQ(last_message(),
              "Cannot open Data Set file for reading: absent.dat: No such file or directory");
    // A directory is refused at once, never read as an empty or endless file.
    EXPECT_FALSE(LoadDataSet(dir_, format, {}));
    EXPECT_NE(last_message().find(": Is a directory"), std::string::npos) << last_message();
  }
}

}  // namespace
}  // namespace tavrin::testing
