// The network set file: a set laid out byte by byte from the format, real
// networks through every change to the file, and refusals of damaged and
// malicious files; random damage is the fuzz target's.

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
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

class Bytes {
 public:
  Bytes& Int32s(std::initializer_list<std::int32_t> words) {
    for (std::int32_t w : words) Put(static_cast<std::uint32_t>(w), 4);
    return *this;
  }
  Bytes& Block(std::initializer_list<std::int32_t> words) {
    Int32s(words);
    for (std::size_t n = words.size(); n < 32; ++n) Int32s({-1});
    return *this;
  }
  Bytes& Doubles(std::initializer_list<double> values) {
    for (double v : values) {
      std::uint64_t u;
      std::memcpy(&u, &v, 8);
      Put(u, 8);
    }
    return *this;
  }
  Bytes& Text(std::string_view text) {
    bytes_.append(text);
    return *this;
  }
  const std::string& str() const { return bytes_; }

 private:
  void Put(std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i) bytes_.push_back(static_cast<char>(value >> (8 * i)));
  }
  std::string bytes_;
};

std::string Header() {
  return Bytes().Block({148239, -17120, 11668, -2992, 30}).str();
}

// Two entries whose images are opaque bytes: the file neither knows nor
// checks what an image holds until it is loaded.
NetworkSet TwoEntrySet() {
  NetworkSet set = NewNetworkSet(5, 1, 1);
  NetworkSetEntry a, b;
  a.summary = {1, 2, 3, 0, 0.5, 0.25, 0.125, 0.75, 0.625, 0.875};
  a.comment = "c1";
  a.image = "IMG-ONE";
  b.summary = {4, 5, 6, 7, 1.5, 0, 2.5, 0, 0.5, 1};
  b.history = "BP10";
  b.image = "IMAGE2";
  AppendEntry(set, a);
  AppendEntry(set, b);
  set.entries[1].is_locked = 1;
  return set;
}

std::string Written(const NetworkSet& set) {
  std::ostringstream out(std::ios::binary);
  EXPECT_TRUE(WriteNetworkSet(set, out).ok());
  return out.str();
}

void Patch(std::string& bytes, std::size_t offset, std::int32_t value) {
  for (int i = 0; i < 4; ++i) {
    bytes[offset + i] = static_cast<char>(static_cast<std::uint32_t>(value) >> (8 * i));
  }
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
    if (Read(bytes, set)) return "read";
    return last_message();
  }
};

TEST_F(NetworkSetFileTest, TheLaidOutSetIsWhatTheWriterMakesAndTheReaderTakes) {
  const std::string empty = Header() + Bytes().Int32s({132}).Block({30, 0, 0, 1, 0, 0}).str();
  EXPECT_EQ(Written(NewNetworkSet(0, 0, 0)), empty);
  EXPECT_EQ(empty.size(), 260u);

  const std::string laid_out =
      Header() + Bytes()
                     .Int32s({145})
                     .Text("IMG-ONEIMAGE2")
                     .Block({5, 2, 2, 3, 1, 1})
                     .Int32s({132, 139, 1, 4, 1, 2, 0, 1, 2, 5, 3, 6, 0, 7})
                     .Doubles({0.5, 1.5, 0.25, 0, 0.125, 2.5, 0.75, 0, 0.625, 0.5, 0.875, 1})
                     .Int32s({2, 0})
                     .Text("c1")
                     .Int32s({0, 4})
                     .Text("BP10")
                     .str();
  const NetworkSet set = TwoEntrySet();
  EXPECT_EQ(Written(set), laid_out);
  NetworkSet read;
  ASSERT_TRUE(Read(laid_out, read));
  EXPECT_EQ(Written(read), laid_out);
  EXPECT_EQ(read.entries[1].image, "IMAGE2");
}

TEST_F(NetworkSetFileTest, ImagesEndWhereTheNextInFileOrderStarts) {
  // Directory order differs from file order, as after a sort done in place.
  std::string bytes = Written(TwoEntrySet());
  const std::size_t offsets = 145 + 128;
  std::string swapped = bytes.substr(0, 132) + "IMAGE2IMG-ONE" + bytes.substr(145);
  Patch(swapped, offsets, 138);
  Patch(swapped, offsets + 4, 132);
  NetworkSet set;
  ASSERT_TRUE(Read(swapped, set));
  EXPECT_EQ(set.entries[0].image, "IMG-ONE");
  EXPECT_EQ(set.entries[1].image, "IMAGE2");
}

TEST_F(NetworkSetFileTest, DamagedAndMaliciousWordsAreRefused) {
  const std::string good = Written(TwoEntrySet());
  const std::size_t dir = 145, offsets = dir + 128, comment_lengths = offsets + 7 * 8 + 6 * 16;
  const std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  struct Damage {
    std::size_t offset;
    std::int32_t value;
    std::string_view message;
  };
  const Damage damages[] = {
      {0, 148238, kNoHeader},
      {16, 31, kLaterVersion},
      {128, 100, kSetBadImagePlace},
      {128, static_cast<std::int32_t>(good.size() + 1), kShortNetworkRead},
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
      {comment_lengths, 1000, kShortNetworkRead},
  };
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
  for (std::size_t size : {0, 50, 131, 200, 300}) {
    EXPECT_EQ(Refusal(good.substr(0, size)), kShortNetworkRead) << size;
  }
  std::string older = good;
  Patch(older, 16, 29);
  EXPECT_EQ(Refusal(older), "read");
}

class NetworkSetEditsTest : public NetworkSetFileTest {
 protected:
  void SetUp() override {
    NetworkSetFileTest::SetUp();
    for (std::size_t k = 0; k < 3; ++k) networks_.push_back(BuildKind(EveryKind()[k]));
  }
  // Adds networks 0, 1, 2 with the entry number as comment.
  void AddAll(const std::filesystem::path& file) {
    ASSERT_TRUE(CreateNetworkSetFile(file, 0, 0, 0).ok());
    for (std::size_t k = 0; k < networks_.size(); ++k) {
      NetworkSummary summary = StructureSummary(*networks_[k]);
      summary.training_error = 0.1 * (k + 1);
      ASSERT_TRUE(AddNetworkToSetFile(file, *networks_[k], summary, "H" + std::to_string(k)).ok());
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

  TestDirectory dir_;
  std::vector<std::unique_ptr<Network>> networks_;
};

TEST_F(NetworkSetEditsTest, AddedNetworksLoadBackWithTheirSummaries) {
  const auto file = dir_ / "set.bnt";
  AddAll(file);
  const NetworkSet set = ReadBack(file);
  ASSERT_EQ(set.network_count(), 3);
  EXPECT_EQ(set.current_network, 3);
  for (std::size_t k = 0; k < 3; ++k) {
    ExpectNetwork(set, static_cast<std::int32_t>(k), k);
    EXPECT_EQ(set.entries[k].summary.type, static_cast<std::int32_t>(networks_[k]->type));
    EXPECT_EQ(set.entries[k].summary.inputs, networks_[k]->coding.no_inputs);
    EXPECT_EQ(set.entries[k].id, static_cast<std::int32_t>(k + 1));
  }
  EXPECT_EQ(set.entries[0].summary.hidden1, networks_[0]->layers[1].no_units);
  EXPECT_EQ(set.entries[0].summary.hidden2, networks_[0]->layers[2].no_units);
  EXPECT_EQ(dir_.Entries(), std::vector<std::string>{"set.bnt"});
}

TEST_F(NetworkSetEditsTest, AFullFileNeverGrowsPastItsCapacity) {
  const auto file = dir_ / "set.bnt";
  ASSERT_TRUE(CreateNetworkSetFile(file, 2, 1, 0).ok());
  for (const auto& net : networks_) {
    ASSERT_TRUE(AddNetworkToSetFile(file, *net, StructureSummary(*net), "").ok());
  }
  const NetworkSet set = ReadBack(file);
  ASSERT_EQ(set.network_count(), 2);
  EXPECT_EQ(set.entries[0].id, 2);
  EXPECT_EQ(set.entries[1].id, 3);
}

TEST_F(NetworkSetEditsTest, ReplacingKeepsIdLockAndComment) {
  const auto file = dir_ / "set.bnt";
  AddAll(file);
  NetworkSet set = ReadBack(file);
  set.current_network = 2;
  set.entries[1].is_locked = 1;
  set.entries[1].comment = "keep";
  ASSERT_TRUE(SaveNetworkSetFile(set, file).ok());
  ASSERT_TRUE(
      ReplaceNetworkInSetFile(file, *networks_[2], StructureSummary(*networks_[2]), "H2", -1).ok());
  set = ReadBack(file);
  EXPECT_EQ(set.entries[1].id, 2);
  EXPECT_EQ(set.entries[1].is_locked, 1);
  EXPECT_EQ(set.entries[1].comment, "keep");
  EXPECT_EQ(set.entries[1].summary.training_error, 0);
  ExpectNetwork(set, 1, 2);
  ExpectNetwork(set, 0, 0);
}

TEST_F(NetworkSetEditsTest, AfterASortDeleteAndReplaceMoveWholeImages) {
  const auto file = dir_ / "set.bnt";
  AddAll(file);
  ASSERT_TRUE(SortNetworkSetFile(file, false, 10).ok());
  ASSERT_TRUE(DeleteNetworksFromSetFile(file, 0, 0).ok());
  NetworkSet set = ReadBack(file);
  ASSERT_EQ(set.network_count(), 2);
  ExpectNetwork(set, 0, 1);
  ExpectNetwork(set, 1, 0);
  ASSERT_TRUE(ReplaceNetworkInSetFile(file, *networks_[2], {}, "H2", 0).ok());
  ASSERT_TRUE(SortNetworkSetFile(file, true, 10).ok());
  set = ReadBack(file);
  ExpectNetwork(set, 0, 0);
  ExpectNetwork(set, 1, 2);
}

TEST_F(NetworkSetEditsTest, RefusedChangesLeaveTheFileAsItWas) {
  const auto file = dir_ / "set.$$$";
  AddAll(file);
  const std::string before = FileContent(file);
  EXPECT_FALSE(ReplaceNetworkInSetFile(file, *networks_[0], {}, "", 3).ok());
  EXPECT_EQ(last_message(), kSetReplaceIndex);
  EXPECT_FALSE(ReplaceNetworkInSetFile(file, *networks_[0], {}, "", -2).ok());
  EXPECT_FALSE(DeleteNetworksFromSetFile(file, 1, 3).ok());
  EXPECT_EQ(last_message(), kSetDeleteIndices);
  EXPECT_FALSE(DeleteNetworksFromSetFile(file, 2, 1).ok());
  EXPECT_FALSE(SortNetworkSetFile(file, true, 11).ok());
  EXPECT_EQ(last_message(), kSetCriterion);
  EXPECT_EQ(FileContent(file), before);

  // A set whose name looks like a temporary one survives a rewrite whole.
  ASSERT_TRUE(DeleteNetworksFromSetFile(file, 1, -1).ok());
  EXPECT_EQ(ReadBack(file).network_count(), 1);
  EXPECT_EQ(dir_.Entries(), std::vector<std::string>{"set.$$$"});

  ASSERT_TRUE(DeleteNetworksFromSetFile(file, 0, -1).ok());
  EXPECT_FALSE(DeleteNetworksFromSetFile(file, 0, -1).ok());
  EXPECT_EQ(last_message(), kSetEmptyDelete);
  EXPECT_FALSE(ReplaceNetworkInSetFile(file, *networks_[0], {}, "", -1).ok());
  EXPECT_EQ(last_message(), kSetEmptyReplace);
  EXPECT_FALSE(AddNetworkToSetFile(dir_ / "none.bnt", *networks_[0], {}, "").ok());
  EXPECT_EQ(last_message(), kSetCannotOpen);
}

TEST_F(NetworkSetEditsTest, FunctionCodesInsideStoredImagesAreChecked) {
  const auto file = dir_ / "set.bnt";
  AddAll(file);
  NetworkSet set = ReadBack(file);
  Patch(set.entries[0].image, 4, 999);  // the error function code
  EXPECT_FALSE(LoadSetNetwork(set, 0));
  EXPECT_EQ(last_message(), kUnknownErrorFunctionInFile);
}

}  // namespace
}  // namespace tavrin::testing
