// The first line of the engine's text files.

#include "common/text_file_header.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(TextFileHeaderTest, ReadsVersionAndLowerCasedKind) {
  const auto header = ParseTextFileHeader("# Tavrin v2.1 NetWork");
  ASSERT_TRUE(header);
  EXPECT_EQ(header->major, 2);
  EXPECT_EQ(header->minor, 1);
  EXPECT_EQ(header->kind, "network");
  // As "%d.%d %s" reads: blanks before the numbers and the word, any after.
  const auto loose = ParseTextFileHeader("# Tavrin v 1. 0Patterns and more");
  ASSERT_TRUE(loose);
  EXPECT_EQ(loose->kind, "patterns");
}

TEST(TextFileHeaderTest, RefusesOtherShapes) {
  for (const char* line : {"", "# Tavrin", "# Tavrin v", "# Tavrin 1.0 Network",
                           "#Tavrin v1.0 Network", "# Tavrin v1 Network", "# Tavrin v1 .0 Network",
                           "# Tavrin v1.0", "# Tavrin v1.0   ", " # Tavrin v1.0 Network"}) {
    EXPECT_FALSE(ParseTextFileHeader(line)) << line;
  }
}

TEST(TextFileHeaderTest, VersionsUpToTwoPointOneAreReadable) {
  auto readable = [](const char* line) { return IsReadableVersion(*ParseTextFileHeader(line)); };
  EXPECT_TRUE(readable("# Tavrin v1.0 network"));
  EXPECT_TRUE(readable("# Tavrin v2.1 network"));
  EXPECT_FALSE(readable("# Tavrin v1.2 network"));
  EXPECT_FALSE(readable("# Tavrin v3.0 network"));
  EXPECT_FALSE(readable("# Tavrin v99999999999999999999.0 network"));
}

}  // namespace
}  // namespace tavrin
