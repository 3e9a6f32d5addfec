// Reading with a byte budget. Little-endian writing is checked by the laid-out
// network image and data set file, round trips of special doubles by the
// network round trips.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "common/binary_reader.h"

namespace tavrin {
namespace {

class BinaryReaderTest : public ::testing::Test {
 protected:
  // Twelve bytes: two words and four more.
  std::istringstream in_{
      std::string("\x04\x03\x02\x01\xFE\xFF\xFF\xFF"
                  "abcd",
                  12)};
  BinaryReader reader_{in_};
};

TEST_F(BinaryReaderTest, TheBudgetIsTheBytesFromTheOffsetToTheEnd) {
  ASSERT_TRUE(reader_.Seek(0));
  EXPECT_EQ(reader_.remaining(), 12);
  std::int32_t word = 0;
  ASSERT_TRUE(reader_.ReadInt32(word));
  ASSERT_TRUE(reader_.ReadInt32(word));
  EXPECT_EQ(reader_.remaining(), 4);
  EXPECT_TRUE(reader_.Seek(12));
  EXPECT_EQ(reader_.remaining(), 0);
  EXPECT_FALSE(reader_.Seek(13));
  EXPECT_FALSE(reader_.Seek(-1));
  std::istringstream empty;
  BinaryReader nothing(empty);
  EXPECT_TRUE(nothing.Seek(0));
  EXPECT_EQ(nothing.remaining(), 0);
}

TEST_F(BinaryReaderTest, CountsAreCheckedBeforeAnythingIsAllocated) {
  ASSERT_TRUE(reader_.Seek(0));
  EXPECT_TRUE(reader_.Holds(3, 4));
  EXPECT_FALSE(reader_.Holds(4, 4));
  EXPECT_FALSE(reader_.Holds(-1, 1));
  EXPECT_FALSE(reader_.Holds(std::numeric_limits<std::int64_t>::max(), 8));
  std::vector<double> values;
  EXPECT_FALSE(reader_.ReadDoubles(values, std::int64_t{1} << 40));
  EXPECT_EQ(values.capacity(), 0u);
  std::vector<std::int32_t> words;
  EXPECT_FALSE(reader_.ReadInt32s(words, -3));
  std::string text;
  EXPECT_FALSE(reader_.ReadBytes(text, 13));
  EXPECT_LE(text.capacity(), 100u);
}

TEST_F(BinaryReaderTest, AShortReadSpendsTheReader) {
  ASSERT_TRUE(reader_.Seek(6));
  double value = 0;
  EXPECT_FALSE(reader_.ReadDouble(value));
  EXPECT_EQ(reader_.remaining(), 0);
  std::int32_t word = 0;
  EXPECT_FALSE(reader_.ReadInt32(word));
}

}  // namespace
}  // namespace tavrin
