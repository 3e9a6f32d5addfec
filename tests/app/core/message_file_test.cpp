// The numbered message file.

#include "message_file.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tavrin::app {
namespace {

TEST(MessageFile, TextsByNumberWithBothFallbacks) {
  MessageTable table;
  EXPECT_EQ(table.Text(4033), "Message 4033 (message file not loaded)");
  std::istringstream in(
      "# the program's messages\n\n1 \"No network is loaded.\"\n  2 plain words\n"
      "1 \"A later text for 1\"\n4049 \"Error|Warning|Note|Stopping\"\nabc \"no number\"\n"
      "3 \"" +
      std::string(1100, 'x') + "\"\r\n");
  std::vector<long> long_lines;
  ASSERT_EQ(table.Load(in, [&](long n) { long_lines.push_back(n); }),
            MessageTable::LoadResult::kLoaded);
  EXPECT_EQ(table.Text(1), "No network is loaded.") << "the first line with a number wins";
  EXPECT_EQ(table.Text(2), "plain") << "an unquoted text is its first word";
  EXPECT_EQ(table.Text(3).size(), 1100u);
  EXPECT_EQ(long_lines, std::vector<long>{8});
  EXPECT_EQ(table.Text(4033), "Message 4033 (not found in message file)");
  EXPECT_EQ(table.Options(4049),
            (std::vector<std::string>{"Error", "Warning", "Note", "Stopping"}));
  EXPECT_EQ(table.Options(1), std::vector<std::string>{"No network is loaded."});
  EXPECT_TRUE(table.Options(9).empty());
}

TEST(MessageFile, AFileOfMoreThan1024MessagesIsRefused) {
  std::string text;
  for (int i = 0; i < 1025; ++i) text += std::to_string(i) + " m\n";
  std::istringstream in(text);
  MessageTable table;
  EXPECT_EQ(table.Load(in, nullptr), MessageTable::LoadResult::kTooMany);
}

}  // namespace
}  // namespace tavrin::app
