// Data set files in their four formats: what each carries through a save and
// a load, each one's layout, the import and export rules of delimited text
// with their warnings, the host file's names and value labels, what each
// writer refuses, hostile files, and failures that name the file and the
// system's reason.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "data/data_set_files.h"
#include "file_test_support.h"
#include "kvmdev32.h"

namespace tavrin::testing {
namespace {

namespace fs = std::filesystem;

DelimitedOptions Csv(bool header = true, bool case_names = false, bool subsets = false) {
  DelimitedOptions o;
  o.header = header;
  o.case_names = case_names;
  o.subsets = subsets;
  return o;
}

// The names (with roles other than input and their value names), then per
// case its name, subset and values: "A B:o{word,v2} | x/1: 1 ? | y/2: ? 1".
std::string Summary(const DataSet& d) {
  std::ostringstream s;
  s.precision(17);
  for (int v = 0; v < d.no_variables; ++v) {
    static constexpr const char* kRoles[] = {"", ":o", ":io", ":-"};
    s << (v ? " " : "") << d.variable_names[v] << kRoles[static_cast<int>(d.role(v))];
    for (std::size_t i = 0; i < d.nominals[v].size(); ++i) {
      s << (i ? "," : "{") << d.nominals[v][i] << (i + 1 == d.nominals[v].size() ? "}" : "");
    }
  }
  for (int c = 0; c < d.no_cases; ++c) {
    s << " | " << d.case_names[c] << '/' << d.subset[c] << ':';
    for (int v = 0; v < d.no_variables; ++v) {
      if (IsMissing(d.at(c, v))) {
        s << " ?";
      } else {
        s << ' ' << d.at(c, v);
      }
    }
  }
  return s.str();
}

class DataFilesTest : public EngineTest {
 protected:
  long Files() const { return static_cast<long>(dir_.Entries().size()); }

  // What a data set file must carry: roles of all four kinds, a nominal
  // variable, missing values, reals that six digits would not keep, named and
  // unnamed cases, all four subsets and an unnamed variable.
  static std::unique_ptr<DataSet> Sample() {
    auto d = CreateDataSet(2, 2);
    EXPECT_TRUE(ResizeCases(*d, 1, 3));
    SetVariableRoles(*d, 1, 1, VariableRole::kBoth);
    SetVariableRoles(*d, 3, 1, VariableRole::kNeither);
    d->variable_names = {"SIZE", "COLOUR", "", "WEIGHT"};
    d->nominals[1] = {"red", "green", "blue"};
    const double rows[4][4] = {{9.899999, 1, 0.25, -3e-7},
                               {2.75, 2, MISSING, 1e12},
                               {MISSING, 3, 16777217, 0},
                               {-4, MISSING, 1, 123456.789}};
    for (int c = 0; c < 4; ++c) {
      for (int v = 0; v < 4; ++v) d->at(c, v) = rows[c][v];
      SetCaseSubsets(*d, c, 1, static_cast<Subset>(c));
    }
    d->case_names = {"first", "", "third case", "4th"};
    d->title = "Sample data";
    return d;
  }

  TestDirectory dir_;
};

TEST_F(DataFilesTest, EachFormatCarriesWhatItCanThroughASaveAndALoad) {
  struct Row {
    DataFileFormat format;
    bool roles;              // else every variable reads as an input
    const char* third_name;  // the unnamed variable's name on reading
    const char* title;
  };
  const Row rows[] = {
      {DataFileFormat::kHost, true, "VAR4", "Sample data"},  // column 4, after the subsets
      {DataFileFormat::kBinary, true, "", ""},
      {DataFileFormat::kDelimited, false, "", ""},
      {DataFileFormat::kPattern, true, "", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.format));
    auto d = Sample();
    const fs::path path = dir_ / "sample";
    ASSERT_TRUE(SaveDataSet(*d, path, row.format, Csv(true, true, true))) << last_message();
    auto back = LoadDataSet(path, row.format, Csv(true, true));
    ASSERT_TRUE(back) << last_message();
    if (!row.roles) SetVariableRoles(*d, 0, 4, VariableRole::kInput);
    d->variable_names[2] = row.third_name;
    EXPECT_EQ(Summary(*back), Summary(*d));
    EXPECT_EQ(back->title, row.title);
    EXPECT_EQ(
        std::vector({back->no_inputs, back->no_outputs, back->no_training, back->no_verification,
                     back->no_test}),
        std::vector({d->no_inputs, d->no_outputs, d->no_training, d->no_verification, d->no_test}));
    EXPECT_EQ(Files(), 1);  // nothing left behind but the file itself
  }
}

TEST_F(DataFilesTest, EachFormatHasItsLayout) {
  auto d = CreateDataSet(1, 1);
  d->at(0, 0) = 0.5;
  d->case_names[0] = "one";
  std::stringstream binary, pattern;
  ASSERT_TRUE(WriteBinaryDataSet(*d, binary));
  ASSERT_TRUE(WritePatternFile(*d, pattern));
  EXPECT_EQ(pattern.str(),
            "# Tavrin v1.0 Patterns\n\nno_attributes 2\nno_patterns 1\nattributes\ni  VAR1\n"
            "o  VAR2\n!01 T one\n0.5\t?\t\n\n\n");
  // 32 header words, 1 case x 2 doubles, 2 + 2 flags, 1 subset, names
  // "VAR1" "VAR2" (2 lengths + 8 bytes), 1 case name "one", 2 counts.
  const std::string bytes = binary.str();
  ASSERT_EQ(bytes.size(), 128u + 16 + 16 + 4 + 16 + 4 + 3 + 8);
  std::int32_t words[12];
  std::memcpy(words, bytes.data(), sizeof words);
  EXPECT_EQ(
      std::vector(words, words + 12),
      (std::vector<std::int32_t>{721347, 1124562, -354621, -909912, 30, 2, 1, 1, 1, 1, 0, 0}));
  std::int32_t unused;
  std::memcpy(&unused, bytes.data() + 4 * 31, 4);
  EXPECT_EQ(unused, -1);
  double first;
  std::memcpy(&first, bytes.data() + 128, 8);
  EXPECT_EQ(first, 0.5);
}

TEST_F(DataFilesTest, ExportWritesValuesNominalsAndMissingAndQuotesWhatWouldReadOtherwise) {
  auto d = CreateDataSet(3, 0);
  d->nominals[1] = {"low", "high"};
  d->at(0, 0) = 0.000123456789;  // written whole: no digit is dropped
  d->at(0, 1) = 2;
  d->at(0, 2) = MISSING;
  std::stringstream out;
  ASSERT_TRUE(ExportText(*d, out, Csv(true, true, true)));
  EXPECT_EQ(out.str(), ",NNTYPE,VAR1,VAR2,VAR3\n01,TRAIN,0.000123456789,high,?\n");
  std::stringstream plain;
  ASSERT_TRUE(ExportText(*d, plain, Csv(false)));
  EXPECT_EQ(plain.str(), "0.000123456789,high,?\n");

  d = CreateDataSet(2, 0);
  ASSERT_TRUE(ResizeCases(*d, 1, 3));
  d->variable_names = {"a,b", "say \"hi\""};
  d->nominals[1] = {"x,y", "42", " padded", "?"};
  for (int c = 0; c < 4; ++c) {
    d->at(c, 0) = 1;
    d->at(c, 1) = c + 1;
  }
  d->case_names = {"3", "", "1", "plain"};
  std::stringstream quoted;
  ASSERT_TRUE(ExportText(*d, quoted, Csv(true, true)));
  EXPECT_EQ(quoted.str(),
            ",\"a,b\",\"say \"\"hi\"\"\"\n\"3\",1,\"x,y\"\n02,1,\"42\"\n\"1\",1,\" padded\"\n"
            "plain,1,\"?\"\n");
  auto back = ImportText(quoted, Csv(true, true));
  ASSERT_TRUE(back) << last_message();
  EXPECT_EQ(Summary(*back), Summary(*d));
}

TEST_F(DataFilesTest, ExportWarnsOfValuesTextCannotCarry) {
  struct Warnings : ErrorSink {
    void Record(std::string_view message) override { all.emplace_back(message); }
    std::vector<std::string> all;
  } warnings;
  Engine().error_sink = &warnings;
  auto d = CreateDataSet(3, 0);
  ASSERT_TRUE(ResizeCases(*d, 1, 2));
  d->nominals[1] = {"a", "b"};
  const double inf = std::numeric_limits<double>::infinity();
  // Infinities in a numeric column; in a nominal one, what no value name names.
  d->entries = {-inf, 2, 1e300, 1, 2.5, 0, 0.5, 3, MISSING};
  std::stringstream out;
  ASSERT_TRUE(ExportText(*d, out, Csv()));
  const std::string tail = " cannot be written as text and will not read back as they are";
  EXPECT_EQ(warnings.all, (std::vector<std::string>{"Variable VAR1: 1 entries" + tail,
                                                    "Variable VAR2: 2 entries" + tail}));
}

TEST_F(DataFilesTest, ImportReadsNamesSubsetsNominalsAndMissingAndWarnsOfWhatItChanged) {
  const auto options = [](char separator, bool header, bool case_names, const char* missing) {
    DelimitedOptions o = Csv(header, case_names);
    o.separator = separator;
    o.missing = missing;
    return o;
  };
  const std::string ragged =
      "The rows in the data file contain an inconsistent number of columns. Please check that "
      "the data is correct (missing values have been added to short rows).";
  const std::string words = " entries that are not numbers were read as missing";
  struct Row {
    std::string text;
    DelimitedOptions options;
    std::string summary, message;
  };
  const Row rows[] = {
      // "NA" is the missing marker; an empty field is missing, not 0; a
      // single word gets a second name.
      {"id\tNNTYPE\tA\tB\nx\tverify\t1\tNA\ny\tTEST\t\tword\n", options('\t', true, true, "NA"),
       "A B{word,v2} | x/1: 1 ? | y/2: ? 1", ""},
      // "1" is the row's number, not its name.
      {"  1   2.5  3\r\n  two 4 5\r\n7\n", options(' ', false, true, "?"),
       "VAR1 VAR2 | /0: 2.5 3 | two/0: 4 5 | 7/0: ? ?", ragged},
      // A line of blanks is no row, but a tab between tab-separated fields
      // makes one.
      {"1\t2\n \t \n\n", options('\t', false, false, "?"), "VAR1 VAR2 | /0: 1 2 | /0: ? ?", ""},
      {"1,2\n \t \n\n", options(',', false, false, "?"), "VAR1 VAR2 | /0: 1 2", ""},
      {"5,?\n", options(',', false, false, "?"), "VAR1 VAR2 | /0: 5 ?", ""},
      // The byte-order mark is not part of the name; words in a numeric
      // column become missing; a column of words only stays nominal.
      {"\xEF\xBB\xBF"
       "age,kind\n23,a\nNA,b\n31,-inf\nn/a,nan\n",
       Csv(), "age kind{a,b,-inf,nan} | /0: 23 1 | /0: ? 2 | /0: 31 3 | /0: ? 4",
       "Variable age: 2" + words},
      // "x" then 3: with the names {x, v2}, 3 is not a value number.
      {"A\nx\n3\n", Csv(), "A | /0: ? | /0: 3", "Variable A: 1" + words},
  };
  for (const Row& row : rows) {
    std::stringstream in(row.text);
    sink_.clear();
    auto d = ImportText(in, row.options);
    ASSERT_TRUE(d) << last_message();
    EXPECT_EQ(Summary(*d), row.summary);
    EXPECT_EQ(last_message(), row.message) << row.summary;
    EXPECT_EQ(d->no_verification, std::count(d->subset.begin(), d->subset.end(), 1));
    EXPECT_EQ(d->no_test, std::count(d->subset.begin(), d->subset.end(), 2));
    EXPECT_EQ(d->role(0), VariableRole::kInput);
  }
  std::stringstream empty("A,B\n");
  EXPECT_FALSE(ImportText(empty, Csv()));
  EXPECT_EQ(last_message(), "Cannot read data file: not in the correct format");
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
  }
  fields.insert(fields.end(),
                {"00012.5000", ".5", "5.", "-0", "+7", "1e-5", "0.000000000000000000001"});
  for (const std::string& f : fields) text += f + "\n";
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

TEST_F(DataFilesTest, SeparatorsThatNumbersOrQuotesUseAreRefused) {
  auto d = CreateDataSet(1, 0);
  for (char bad : {'.', '-', '+', 'e', 'E', '5', '"', '\n'}) {
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

TEST_F(DataFilesTest, PatternReaderTakesCommentsRolesRunOnValuesAndTheEarlierLayout) {
  std::stringstream in(
      "# Tavrin v2.1 patterns\n# a comment\nno_attributes 3\nno_patterns 1\nattributes\n"
      "IO both\n# another\nxo neither\noi out={a,b}\n!7 v the name\n1.5\n# mid\n?\t2\n");
  auto d = ReadPatternFile(in);
  ASSERT_TRUE(d) << last_message();
  EXPECT_EQ(Summary(*d), "both:io neither:- out:o{a,b} | the name/1: 1.5 ? 2");

  std::stringstream earlier(
      "# Tavrin v1.0 Patterns\nno_inputs 1\nno_outputs 1\nno_patterns 2\nno_verification 0\n"
      "attributes\ni  a\no  b\n!01 S\n1 2\n!02 X\n3 4\n");
  d = ReadPatternFile(earlier);
  ASSERT_TRUE(d) << last_message();
  EXPECT_EQ(Summary(*d), "a b:o | /2: 1 2 | /3: 3 4");
}

TEST_F(DataFilesTest, PatternReaderRefusals) {
  const std::string start = "# Tavrin v1.0 Patterns\nno_attributes 2\nno_patterns 1\nattributes\n";
  const std::pair<std::string, std::string> cases[] = {
      {"# Tavrin v1.0 Network\n", "Cannot open Data Set file: incorrect header"},
      {"# Tavrin v1.2 Patterns\n", "File created by a later version of Tavrin; cannot open"},
      {"# Tavrin v1.0 Patterns\n\nno_patterns 1\n",
       "Data Set file corrupted: no_attributes field missing"},
      {"# Tavrin v1.0 Patterns\n\nno_attributes 2\nattributes\n",
       "Data Set file corrupted: no_patterns field missing"},
      {"# Tavrin v1.0 Patterns\nno_inputs 1\nno_outputs 1\nno_patterns 2\n",
       "Data Set file corrupted: no_patterns field missing"},
      {start + "i  a\n", "Data Set file incomplete: variables missing"},
      {start + "i  a\n!01 T\n1 2\n", "Data Set file incomplete: variables missing"},
      {start + "i  a\no  b\n!01 T\n1\n", "Unexpected end of file reading Data Set"},
      {start + "i  a={x,x}\no  b\n", "Data Set file corrupted: duplicate nominal value name"},
      {start + "i  a\no  b\n!01 T\n1 two\n", "Data Set file corrupted: a value is not a number"},
      // A number cut in two by the line length limit is refused, saying why.
      {start + "i  a\no  b\n!01 T\n1." + std::string(1100, '5') + " 2\n",
       "Data Set file corrupted: a value is not a number (line 8 is longer than 1023 "
       "characters)"},
      // A count the file does not back up allocates nothing.
      {"# Tavrin v1.0 Patterns\nno_attributes 2000000000\nno_patterns 2000000000\n"
       "attributes\ni  a\n",
       "Data Set file incomplete: variables missing"},
  };
  for (const auto& [text, message] : cases) {
    std::stringstream in(text);
    EXPECT_FALSE(ReadPatternFile(in)) << text;
    EXPECT_EQ(last_message(), message) << text;
  }
}

TEST_F(DataFilesTest, BinaryReaderRefusesEveryTruncationAndCountsBeyondTheFile) {
  std::stringstream file;
  ASSERT_TRUE(WriteBinaryDataSet(*Sample(), file));
  const std::string bytes = file.str();
  // Too short for the identification, a file is not one of ours.
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    std::stringstream cut(bytes.substr(0, n));
    EXPECT_FALSE(ReadBinaryDataSet(cut)) << "length " << n;
    EXPECT_EQ(last_message(), n < 128 ? "Cannot open Data Set file: incorrect header"
                                      : "Unexpected end of file while reading data file");
  }
  const std::size_t names = 128 + 4 * 4 * 8 + 4 * 4 * 2 + 4 * 4;
  // From the end: the colours' list (3 lengths, 12 bytes), the 4 counts.
  const std::size_t counts = bytes.size() - 24 - 4 * 4;
  struct Patch {
    std::size_t at;
    std::int32_t value;
    std::string message;
  };
  const Patch patches[] = {
      {0, 721346, "Cannot open Data Set file: incorrect header"},
      {12, 0, "Cannot open Data Set file: incorrect header"},
      {24, 0x7FFFFFFF, "Unexpected end of file while reading data file"},  // cases
      {names, 1 << 30, "Unexpected end of file while reading data file"},  // a name's length
      {names, -1, "Unexpected end of file while reading data file"},
      {counts + 4, -1, "Unexpected end of file while reading data file"},
      {counts + 4, (1 << 20) + 1, "Unexpected end of file while reading data file"},
  };
  for (const Patch& p : patches) {
    std::string damaged = bytes;
    std::memcpy(damaged.data() + p.at, &p.value, 4);
    std::stringstream in(damaged);
    EXPECT_FALSE(ReadBinaryDataSet(in)) << p.at;
    EXPECT_EQ(last_message(), p.message) << p.at;
  }
  // Two value names alike.
  auto d = CreateDataSet(1, 0);
  d->nominals[0] = {"ab", "cd"};
  std::stringstream named;
  ASSERT_TRUE(WriteBinaryDataSet(*d, named));
  std::string twice = named.str();
  twice.replace(twice.find("abcd"), 4, "abab");
  std::stringstream in(twice);
  EXPECT_FALSE(ReadBinaryDataSet(in));
  EXPECT_EQ(last_message(), "Data Set file corrupted: duplicate nominal value name");
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
  // them ("Size" as SIZE, the empty one generated).
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
    const char* long_label = nullptr;
  };
  struct Row {
    const char* what;
    std::vector<Label> labels;
    std::vector<double> values;      // -9999: missing
    std::vector<std::string> names;  // empty: numeric, with a warning
  };
  const Row rows[] = {
      {"labels 1 .. k", {{1, "a"}, {2, "b"}}, {2, 1, -9999}, {"a", "b"}},
      {"labels 0 and 1", {{0, "no"}, {1, "yes"}}, {0, 1}, {}},
      {"labels 1, 2, 5",
       {{1, "a"}, {2, "b"}, {5, "e"}},
       {1, 5, 2, -9999},
       {"a", "b", "v3", "v4", "e"}},
      {"a value beyond the labels", {{1, "a"}, {2, "b"}}, {1, 3}, {}},
      {"a value between whole numbers", {{1, "a"}, {2, "b"}}, {1, 1.5}, {}},
      {"a label between whole numbers", {{1, "a"}, {1.5, "half"}}, {1}, {}},
      {"long labels that clash give way to labels",
       {{1, "x", "the same"}, {2, "y", "the same"}, {3, "z", "other"}},
       {1, 2, 3},
       {"x", "y", "other"}},
      {"a long label that is another value's label", {{1, "a", "b"}, {2, "b"}}, {1, 2}, {"a", "b"}},
      {"a made-up name that is a label", {{1, "v2"}, {3, "c"}}, {1, 2, 3}, {"v2", "v2_2", "c"}},
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
      EXPECT_EQ(back->at(c, 0), row.values[c] == -9999 ? MISSING : row.values[c]);
    }
  }
}

TEST_F(DataFilesTest, WritersRefuseWhatTheirFormatCannotCarryAndKeepTheOldFile) {
  struct Row {
    DataFileFormat format;
    std::function<void(DataSet&)> edit;
    std::string_view message;
  };
  const Row rows[] = {
      {DataFileFormat::kPattern, [](DataSet& d) { d.nominals[1][0] = "a,b"; },
       kNameNotInPatternFile},
      {DataFileFormat::kPattern, [](DataSet& d) { d.variable_names[0] = "x={y}"; },
       kNameNotInPatternFile},
      {DataFileFormat::kPattern, [](DataSet& d) { d.case_names[0] = "two\nlines"; },
       kCaseNameNotInPatternFile},
      {DataFileFormat::kDelimited, [](DataSet& d) { d.variable_names[0] = "two\rlines"; },
       kNameNotExportable},
      {DataFileFormat::kDelimited, [](DataSet& d) { d.nominals[1][2] = ""; }, kNameNotExportable},
      {DataFileFormat::kDelimited, [](DataSet& d) { d.case_names[3] = "a\nb"; },
       kCaseNameNotExportable},
      {DataFileFormat::kHost, [](DataSet& d) { d.nominals[1][0] = std::string(41, 'n'); },
       kHostNominalTooLong},
      {DataFileFormat::kHost, [](DataSet& d) { ASSERT_TRUE(SetDataNoNominals(d, 1, 721)); },
       kTooManyHostNominals},
      {DataFileFormat::kHost,
       [](DataSet& d) { d.host_attributes[1].long_label = std::string(122, 'l'); },
       kHostLongLabelTooLong},
      {DataFileFormat::kHost, [](DataSet& d) { ASSERT_TRUE(ResizeDataVariables(d, 0, 4088)); },
       "Too many variables for a KALVIMETRA data file (at most 4091)"},
  };
  const fs::path path = dir_ / "kept";
  std::ofstream(path) << "old content";
  for (const Row& row : rows) {
    SCOPED_TRACE(row.message);
    auto d = Sample();
    row.edit(*d);
    EXPECT_FALSE(SaveDataSet(*d, path, row.format, Csv(true, true)));
    EXPECT_EQ(last_message(), row.message);
    EXPECT_EQ(FileContent(path), "old content");
    EXPECT_EQ(Files(), 1);
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

TEST_F(DataFilesTest, FailuresNameTheFileAndTheSystemsReason) {
  const auto d = Sample();
  const fs::path directory = dir_ / "folder";
  const fs::path text = dir_ / "text.kvm";
  fs::create_directory(directory);
  std::ofstream(text) << "not a data file";
  const auto load = [](const fs::path& p, DataFileFormat f) {
    return LoadDataSet(p, f, {}) != nullptr;
  };
  const auto save = [&](const fs::path& p, DataFileFormat f) {
    return static_cast<bool>(SaveDataSet(*d, p, f, {}));
  };
  const std::string cannot_read = "Cannot open Data Set file for reading: ";
  const std::string cannot_write = "Couldn't open specified file for writing: ";
  struct Row {
    const char* what;
    std::function<bool()> call;
    std::string message;
  };
  std::vector<Row> rows = {
      {"load a file that is not a host file", [&] { return load(text, DataFileFormat::kHost); },
       "Cannot read KALVIMETRA data file"},
      // The sample's 4 cases of 20 name bytes and 5 values take 240 bytes,
      // behind a header padded to 512: the working files fit in 700 bytes,
      // the new file does not.
      {"save a host file beyond the disk's room",
       [&] {
         FileSizeLimit limit(700);
         return save(dir_ / "big", DataFileFormat::kHost);
       },
       cannot_write + "big: File too large"},
  };
  for (DataFileFormat f : {DataFileFormat::kHost, DataFileFormat::kBinary,
                           DataFileFormat::kDelimited, DataFileFormat::kPattern}) {
    rows.push_back({"load a missing file", [&, f] { return load(dir_ / "absent", f); },
                    cannot_read + "absent: No such file or directory"});
    // A directory is refused at once, never read as an empty or endless file.
    rows.push_back({"load a directory", [&, f] { return load(directory, f); },
                    cannot_read + "folder: Is a directory"});
    rows.push_back({"save into a missing directory", [&, f] { return save(dir_ / "no" / "f", f); },
                    cannot_write + "f: No such file or directory"});
    rows.push_back({"save over a directory", [&, f] { return save(directory, f); },
                    cannot_write + "folder: Is a directory"});
  }
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_FALSE(row.call());
    EXPECT_EQ(last_message(), row.message);
  }
  EXPECT_EQ(Files(), 2);  // the directory and the text file made above
}

}  // namespace
}  // namespace tavrin::testing
