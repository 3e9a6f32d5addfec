// Reading text files a line at a time in pieces of at most 1023 characters.

#include "common/line_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
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

TEST(LineReaderTest, LinesEndAtLineFeedsAndLongerOnesAreCutIntoPiecesOfTheLimit) {
  const std::string a(1023, 'a'), b(1023, 'b');
  const std::pair<std::string, Lines> cases[] = {
      {"a\nbb\r\n\nc", {"a", "bb", "", "c"}},
      {"a\n", {"a"}},
      {"\n\n", {"", ""}},
      {"", {}},
      {"a\rb\n", {"a\rb"}},  // a carriage return alone is part of the line
      {a + b + "tail\nnext\n", {a, b, "tail", "next"}},
      {a + "a", {a, "a"}},
      // A line of exactly the limit is one line, whatever ends it.
      {a + "\nnext\n", {a, "next"}},
      {a + "\r\nnext\n", {a, "next"}},
      {a + "\n\n", {a, ""}},
      // A carriage return after the limit that ends no line starts the next piece.
      {a + "\rx\n", {a, "\rx"}},
  };
  for (const auto& [text, lines] : cases) EXPECT_EQ(LinesOf(text), lines) << text.substr(0, 20);
}

}  // namespace
}  // namespace tavrin
