// The network set file: a set laid out byte by byte from the format, real
// networks through every change to the file, and refusals of damaged and
// malicious files; random damage is the fuzz target's.

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "common/messages.h"
#include "file_test_support.h"
#include "network/network_set.h"
#include "network/network_set_edits.h"
#include "network/network_set_file.h"

namespace tavrin::testing {
namespace {

// The file is little-endian, so the expected bytes are the values' own.
static_assert(std::endian::native == std::endian::little);

// Words padded with -1 to `block` of them.
std::string Ints(std::vector<std::int32_t> words, std::size_t block = 0) {
  words.resize(std::max(words.size(), block), -1);
  return std::string(reinterpret_cast<const char*>(words.data()), 4 * words.size());
}

std::string Doubles(const std::vector<double>& values) {
  return std::string(reinterpret_cast<const char*>(values.data()), 8 * values.size());
}

void Patch(std::string& bytes, std::size_t offset, std::int32_t value) {
  std::memcpy(bytes.data() + offset, &value, 4);
}

// Two entries whose images are opaque bytes: the file neither knows nor
// checks what an image holds until it is loaded.
NetworkSet TwoEntrySet() {
  NetworkSet set = NewNetworkSet(5, 1, 1);
  // summary, id, lock, history, comment, image
  AppendEntry(set, {{1, 2, 3, 0, 0.5, 0.25, 0.125, 0.75, 0.625, 0.875}, 0, 0, "", "c1", "IMG-ONE"});
  AppendEntry(set, {{4, 5, 6, 7, 1.5, 0, 2.5, 0, 0.5, 1}, 0, 0, "BP10", "", "IMAGE2"});
  set.entries[1].is_locked = 1;
  return set;
}

std::string Written(const NetworkSet& set) {
  std::ostringstream out(std::ios::binary);
  EXPECT_TRUE(WriteNetworkSet(set, out).ok());
  return out.str();
}

class NetworkSetFileTest : public EngineTest {
 protected:
  bool Read(const std::string& bytes, NetworkSet& set) {
    std::istringstream in(bytes, std::ios::binary);
    return ReadNetworkSet(in, set).ok();
  }
  // The message a damaged file is refused with.
  std::string Refusal(const std::string& bytes) {
    NetworkSet set;
    return Read(bytes, set) ? "read" : last_message();
  }
};

TEST_F(NetworkSetFileTest, TheLaidOutSetIsWhatTheWriterMakesAndTheReaderTakes) {
  const std::string header = Ints({148239, -17120, 11668, -2992, 30}, 32);
  EXPECT_EQ(Written(NewNetworkSet(0, 0, 0)), header + Ints({132}) + Ints({30, 0, 0, 1, 0, 0}, 32));

  const std::string laid_out =
      header + Ints({145}) + "IMG-ONEIMAGE2" + Ints({5, 2, 2, 3, 1, 1}, 32) +
      Ints({132, 139, 1, 4, 1, 2, 0, 1, 2, 5, 3, 6, 0, 7}) +
      Doubles({0.5, 1.5, 0.25, 0, 0.125, 2.5, 0.75, 0, 0.625, 0.5, 0.875, 1}) + Ints({2, 0}) +
      "c1" + Ints({0, 4}) + "BP10";
  EXPECT_EQ(Written(TwoEntrySet()), laid_out);
  NetworkSet read;
  ASSERT_TRUE(Read(laid_out, read));
  EXPECT_EQ(Written(read), laid_out);
  EXPECT_EQ(read.entries[1].image, "IMAGE2");
}

TEST_F(NetworkSetFileTest, ImagesEndWhereTheNextInFileOrderStarts) {
  // Directory order differs from file order, as after a sort done in place.
  std::string swapped = Written(TwoEntrySet()).replace(132, 13, "IMAGE2IMG-ONE");
  Patch(swapped, 145 + 128, 138);
  Patch(swapped, 145 + 132, 132);
  NetworkSet set;
  ASSERT_TRUE(Read(swapped, set));
  EXPECT_EQ(set.entries[0].image, "IMG-ONE");
  EXPECT_EQ(set.entries[1].image, "IMAGE2");
}

TEST_F(NetworkSetFileTest, DamagedAndMaliciousWordsAreRefused) {
  const std::string good = Written(TwoEntrySet());
  const std::size_t dir = 145, offsets = dir + 128, comment_lengths = offsets + 7 * 8 + 6 * 16;
  const std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  const std::int32_t kPast = static_cast<std::int32_t>(good.size() + 1);
  struct Damage {
    std::size_t offset;
    std::int32_t value;
    std::string_view message;
  };
  const Damage damages[] = {{0, 148238, kNoHeader},
                            {16, 31, kLaterVersion},
                            {16, 29, "read"},
                            {128, 100, kSetBadImagePlace},
                            {128, kPast, kShortNetworkRead},
                            {dir, 1, kSetOverCapacity},
                            {dir, 0, kSetOverCapacity},
                            {dir + 4, -1, kNegativeLength},
                            {dir + 4, 3, kShortNetworkRead},
                            {dir + 8, 3, kSetBadCurrent},
                            {dir + 8, -1, kSetBadCurrent},
                            {dir + 16, 4, kSetBadSettings},
                            {dir + 20, 2, kSetBadSettings},
                            {offsets + 7 * 4, 2, kSetBadLock},
                            {offsets, 139, kSetBadImagePlace},
                            {offsets, 145, kSetBadImagePlace},
                            {offsets, 131, kSetBadImagePlace},
                            {comment_lengths, -1, kNegativeLength},
                            {comment_lengths, 1000, kShortNetworkRead}};
  for (const Damage& d : damages) {
    std::string bytes = good;
    Patch(bytes, d.offset, d.value);
    EXPECT_EQ(Refusal(bytes), d.message) << d.offset << " = " << d.value;
  }
  // A count as large as the words allow, with room enough: still short.
  std::string huge = good;
  Patch(huge, dir, kMax);
  Patch(huge, dir + 4, kMax);
  EXPECT_EQ(Refusal(huge), kShortNetworkRead);
  std::string no_room = Written(NewNetworkSet(0, 0, 0));
  Patch(no_room, 132, 0);  // a capacity of none, even with nothing in it
  EXPECT_EQ(Refusal(no_room), kSetOverCapacity);
  for (std::size_t size : {0, 50, 131, 200, 300}) {
    EXPECT_EQ(Refusal(good.substr(0, size)), kShortNetworkRead) << size;
  }
}

// Networks of three kinds added to a set named like a temporary file, which
// must survive every rewrite whole, with histories H0, H1, H2 and training
// errors .1, .2, .3.
class NetworkSetEditsTest : public NetworkSetFileTest {
 protected:
  void SetUp() override {
    NetworkSetFileTest::SetUp();
    ASSERT_TRUE(CreateNetworkSetFile(file_, 0, 0, 0).ok());
    for (std::size_t k = 0; k < 3; ++k) {
      networks_.push_back(BuildKind(EveryKind()[k]));
      NetworkSummary summary = StructureSummary(*networks_[k]);
      summary.training_error = 0.1 * (k + 1);
      ASSERT_TRUE(AddNetworkToSetFile(file_, *networks_[k], summary, "H" + std::to_string(k)).ok());
    }
  }
  NetworkSet ReadBack(const std::filesystem::path& file) {
    NetworkSet set;
    EXPECT_TRUE(ReadNetworkSetFile(file, set).ok()) << last_message();
    return set;
  }
  // Entry `index` of the file holds network `k`, with its own history.
  void ExpectNetwork(const NetworkSet& set, std::int32_t index, std::size_t k) {
    auto loaded = LoadSetNetwork(set, index);
    ASSERT_TRUE(loaded) << last_message();
    ExpectSameNetwork(*loaded, WithoutActivations(*networks_[k]));
    EXPECT_EQ(set.entries[index].history, "H" + std::to_string(k));
  }
  void ExpectRefused(const Status& status, std::string_view message) {
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(last_message(), message);
  }

  TestDirectory dir_;
  std::filesystem::path file_ = dir_ / "set.$$$";
  std::vector<std::unique_ptr<Network>> networks_;
};

TEST_F(NetworkSetEditsTest, AddedNetworksLoadBackWithTheirSummaries) {
  NetworkSet set = ReadBack(file_);
  ASSERT_EQ(set.network_count(), 3);
  EXPECT_EQ(set.current_network, 3);
  for (std::int32_t k = 0; k < 3; ++k) {
    ExpectNetwork(set, k, k);
    EXPECT_EQ(set.entries[k].id, k + 1);
  }
  const auto structure = [&](int k) {
    const NetworkSummary& s = set.entries[k].summary;
    return std::vector<std::int32_t>{s.type, s.inputs, s.hidden1, s.hidden2};
  };
  EXPECT_EQ(structure(0), (std::vector<std::int32_t>{0, 2, 4, 3}));  // MLP 1-4-3-1
  EXPECT_EQ(structure(2), (std::vector<std::int32_t>{1, 2, 3, 0}));  // RBF 1-3-1
  EXPECT_EQ(set.entries[2].summary.training_error, 0.1 * 3);
  // A stored image's function codes are checked when it is loaded.
  Patch(set.entries[0].image, 4, 999);  // the error function code
  EXPECT_FALSE(LoadSetNetwork(set, 0));
  EXPECT_EQ(last_message(), kUnknownErrorFunctionInFile);
}

TEST_F(NetworkSetEditsTest, AFullFileNeverGrowsPastItsCapacity) {
  const auto file = dir_ / "full.bnt";
  ASSERT_TRUE(CreateNetworkSetFile(file, 2, 1, 0).ok());
  for (const auto& net : networks_) ASSERT_TRUE(AddNetworkToSetFile(file, *net, {}, "").ok());
  const NetworkSet set = ReadBack(file);
  ASSERT_EQ(set.network_count(), 2);
  EXPECT_EQ(set.entries[0].id, 2);
  EXPECT_EQ(set.entries[1].id, 3);
}

TEST_F(NetworkSetEditsTest, ReplacingKeepsIdLockAndComment) {
  NetworkSet set = ReadBack(file_);
  set.current_network = 2;
  set.entries[1].is_locked = 1;
  set.entries[1].comment = "keep";
  ASSERT_TRUE(SaveNetworkSetFile(set, file_).ok());
  ASSERT_TRUE(ReplaceNetworkInSetFile(file_, *networks_[2], {}, "H2", -1).ok());
  set = ReadBack(file_);
  const NetworkSetEntry& e = set.entries[1];
  EXPECT_EQ(std::tie(e.id, e.is_locked, e.comment), std::make_tuple(2, 1, std::string("keep")));
  EXPECT_EQ(e.summary.training_error, 0);
  ExpectNetwork(set, 1, 2);
  ExpectNetwork(set, 0, 0);
}

TEST_F(NetworkSetEditsTest, AfterASortDeleteAndReplaceMoveWholeImages) {
  ASSERT_TRUE(SortNetworkSetFile(file_, false, 10).ok());
  ASSERT_TRUE(DeleteNetworksFromSetFile(file_, 0, 0).ok());
  NetworkSet set = ReadBack(file_);
  ASSERT_EQ(set.network_count(), 2);
  ExpectNetwork(set, 0, 1);
  ExpectNetwork(set, 1, 0);
  ASSERT_TRUE(ReplaceNetworkInSetFile(file_, *networks_[2], {}, "H2", 0).ok());
  ASSERT_TRUE(SortNetworkSetFile(file_, true, 10).ok());
  set = ReadBack(file_);
  ExpectNetwork(set, 0, 0);
  ExpectNetwork(set, 1, 2);
}

TEST_F(NetworkSetEditsTest, RefusedChangesLeaveTheFileAsItWas) {
  const std::string before = FileContent(file_);
  ExpectRefused(ReplaceNetworkInSetFile(file_, *networks_[0], {}, "", 3), kSetReplaceIndex);
  ExpectRefused(ReplaceNetworkInSetFile(file_, *networks_[0], {}, "", -2), kSetReplaceIndex);
  ExpectRefused(DeleteNetworksFromSetFile(file_, 1, 3), kSetDeleteIndices);
  ExpectRefused(DeleteNetworksFromSetFile(file_, 2, 1), kSetDeleteIndices);
  ExpectRefused(SortNetworkSetFile(file_, true, 11), kSetCriterion);
  EXPECT_EQ(FileContent(file_), before);

  ASSERT_TRUE(DeleteNetworksFromSetFile(file_, 1, -1).ok());
  EXPECT_EQ(ReadBack(file_).network_count(), 1);
  EXPECT_EQ(dir_.Entries(), std::vector<std::string>{"set.$$$"});
  ASSERT_TRUE(DeleteNetworksFromSetFile(file_, 0, -1).ok());
  ExpectRefused(DeleteNetworksFromSetFile(file_, 0, -1), kSetEmptyDelete);
  ExpectRefused(ReplaceNetworkInSetFile(file_, *networks_[0], {}, "", -1), kSetEmptyReplace);
  ExpectRefused(AddNetworkToSetFile(dir_ / "none.bnt", *networks_[0], {}, ""), kSetCannotOpen);
}

}  // namespace
}  // namespace tavrin::testing
