// Reals in the engine's text files: "%lg" text where it is exact, exact text
// otherwise, whatever the locale, the missing-value marker, and strict
// reading of whole tokens.

#include "common/real_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <limits>
#include <locale>
#include <string>
#include <utility>

#include "common/missing.h"
#include "common/random_generator.h"

namespace tavrin {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

std::string PrintfLg(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%lg", value);
  return buffer;
}

std::string Printf(const char* format, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

TEST(RealTextTest, WritesPrintfLgWhereItIsExactAndTheShortestExactTextElsewhere) {
  for (double value : {0.0, -0.0, 0.5, -0.25, 1e6, 123456.0, 1e-5, 1e-4, 9.89999, 1e300, -1e-300,
                       4.9e-324, kInf, -kInf}) {
    EXPECT_EQ(FormatReal(value), PrintfLg(value)) << value;
  }
  EXPECT_EQ(FormatReal(std::nan("")), "nan");
  // "%lg" would lose these; the fewest digits that read back exactly, in
  // the same notation, do not.
  EXPECT_EQ(FormatReal(9.899999), "9.899999");
  EXPECT_EQ(FormatReal(16777217.0), "16777217");
  EXPECT_EQ(FormatReal(1234567.0), "1234567");
  EXPECT_EQ(FormatReal(0.0001234565), "0.0001234565");
  EXPECT_EQ(FormatReal(1.0 / 3.0), "0.3333333333333333");
  EXPECT_EQ(FormatReal(-1.5e-20 / 3.0), Printf("%.17lg", -1.5e-20 / 3.0));
  // Delimited text keeps at least seven digits: "%.7g" where it is exact.
  EXPECT_EQ(FormatRealRoundTrip(1.0 / 3.0, 7), "0.3333333333333333");
  EXPECT_EQ(FormatRealRoundTrip(1234.5678, 7), "1234.5678");
  EXPECT_EQ(FormatRealRoundTrip(0.000123456789, 7), "0.000123456789");
  EXPECT_EQ(FormatRealRoundTrip(1234567.0, 7), "1234567");
}

TEST(RealTextTest, TheMissingMarkerIsWrittenAndReadAsAQuestionMark) {
  EXPECT_EQ(FormatRealOrMissing(MISSING), "?");
  EXPECT_EQ(FormatRealOrMissing(0.5), "0.5");
  EXPECT_EQ(ParseReal("?"), MISSING);
  // How "%lg" wrote the marker before: read as the marker it stood for.
  EXPECT_EQ(ParseReal("1.17549e-38"), MISSING);
  EXPECT_EQ(ParseReal("1.175494e-38"), 1.175494e-38);
  // Values beside the marker read back as themselves, the marker's old text
  // included.
  for (double beside :
       {std::nextafter(MISSING, 0.0), std::nextafter(MISSING, 1.0), 1.175494e-38, 1.17549e-38}) {
    EXPECT_EQ(ParseReal(FormatRealOrMissing(beside)), beside) << FormatRealOrMissing(beside);
  }
}

// What is written reads back as a value that is written the same way, so a
// file read and written again does not change; exact text reads back as the
// same double.
TEST(RealTextTest, WrittenTextIsStableThroughReadingBack) {
  RandomGenerator random;
  random.Seed(5);
  for (int i = 0; i < 5000; ++i) {
    // Across the whole range, subnormals included.
    const double value =
        std::ldexp(random.UniformDeviate() + 0.01, random.RandomIndex(2150) - 1100);
    const std::string text = FormatRealOrMissing(value);
    const auto back = ParseReal(text);
    ASSERT_TRUE(back) << text;
    EXPECT_EQ(FormatRealOrMissing(*back), text) << value;
    EXPECT_EQ(ParseReal(FormatRealExact(value)), value);
  }
  EXPECT_EQ(FormatRealOrMissing(1e-300), "1e-300");
}

// Whole tokens only, the special values of older Windows runtimes included.
TEST(RealTextTest, ReadsWholeTokensOnly) {
  const std::pair<const char*, double> reals[] = {
      {"0.5", 0.5},    {"+3", 3.0},      {"-1e+06", -1e6},  {"INF", kInf},
      {"-inf", -kInf}, {"1.#INF", kInf}, {"-1.#inf", -kInf}};
  for (const auto& [text, value] : reals) EXPECT_EQ(ParseReal(text), value) << text;
  for (const char* nan : {"-nan", "-1.#IND", "1.#QNAN", "1.#snan"}) {
    EXPECT_TRUE(std::isnan(ParseReal(nan).value_or(0.0))) << nan;
  }
  for (const char* bad : {"", "+", "1.5x", "x1", "1,5", "0x10", "1e999", "--1", " 1", "1.#INFx"}) {
    EXPECT_EQ(ParseReal(bad), std::nullopt) << bad;
  }
}

TEST(RealTextTest, IntegersAreWholeThirtyTwoBitTokens) {
  EXPECT_EQ(ParseInt32("7"), 7);
  EXPECT_EQ(ParseInt32("+7"), 7);
  EXPECT_EQ(ParseInt32("-2147483648"), std::numeric_limits<std::int32_t>::min());
  for (const char* bad : {"", "2147483648", "7x", "1.0", "-"}) {
    EXPECT_EQ(ParseInt32(bad), std::nullopt) << bad;
  }
}

// A program may switch the C library or the C++ library to a locale that
// writes a decimal comma; the files must not change.
class DecimalComma : public std::numpunct<char> {
 protected:
  char do_decimal_point() const override { return ','; }
};

TEST(RealTextTest, NoLocaleChangesTheText) {
  const std::locale old = std::locale::global(std::locale(std::locale(), new DecimalComma));
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
    if (std::setlocale(LC_NUMERIC, name) != nullptr) break;  // where one is installed
  }
  EXPECT_EQ(FormatReal(0.5), "0.5");
  EXPECT_EQ(ParseReal("0.5"), 0.5);
  std::setlocale(LC_NUMERIC, "C");
  std::locale::global(old);
}

}  // namespace
}  // namespace tavrin
