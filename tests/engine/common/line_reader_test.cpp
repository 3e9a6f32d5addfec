// Reading text files a line at a time in pieces of at most 1023 characters.

#include "common/line_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace tavrin {
namespace {

std::vector<std::string> LinesOf(const std::string& text) {
  std::istringstream in(text);
  LineReader reader(in);
  std::vector<std::string> lines;
  std::string line;
  while (reader.Next(line)) lines.push_back(line);
  return lines;
}

using Lines = std::vector<std::string>;

TEST(LineReaderTest, LinesEndAtLineFeedsOrCarriageReturnLineFeeds) {
  EXPECT_EQ(LinesOf("a\nbb\r\n\nc"), (Lines{"a", "bb", "", "c"}));
  EXPECT_EQ(LinesOf("a\n"), (Lines{"a"}));
  EXPECT_EQ(LinesOf("\n\n"), (Lines{"", ""}));
  EXPECT_EQ(LinesOf(""), Lines{});
  // A carriage return alone is part of the line.
  EXPECT_EQ(LinesOf("a\rb\n"), (Lines{"a\rb"}));
}

TEST(LineReaderTest, ALongerLineIsSplitIntoPiecesOfTheLimit) {
  const std::string line = std::string(1023, 'a') + std::string(1023, 'b') + "tail";
  EXPECT_EQ(LinesOf(line + "\nnext\n"),
            (Lines{std::string(1023, 'a'), std::string(1023, 'b'), "tail", "next"}));
  EXPECT_EQ(LinesOf(std::string(1024, 'x')), (Lines{std::string(1023, 'x'), "x"}));
}

TEST(LineReaderTest, ALineOfExactlyTheLimitIsOneLine) {
  const std::string full(1023, 'f');
  EXPECT_EQ(LinesOf(full + "\nnext\n"), (Lines{full, "next"}));
  EXPECT_EQ(LinesOf(full + "\r\nnext\n"), (Lines{full, "next"}));
  EXPECT_EQ(LinesOf(full + "\n\n"), (Lines{full, ""}));
  // A carriage return after the limit that ends no line starts the next piece.
  EXPECT_EQ(LinesOf(full + "\rx\n"), (Lines{full, "\rx"}));
}

}  // namespace
}  // namespace tavrin
