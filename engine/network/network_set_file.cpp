#include "network/network_set_file.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <limits>
#include <new>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "common/binary_reader.h"
#include "common/binary_writer.h"
#include "common/messages.h"
#include "common/safe_file_writer.h"
#include "network/network_image.h"

namespace tavrin {
namespace {

constexpr std::array<std::int32_t, 4> kMagic = {148239, -17120, 11668, -2992};
constexpr std::int64_t kBlockBytes = 32 * 4;
constexpr std::int64_t kFirstImage = kBlockBytes + 4;
// int32 fields, doubles and the two text lengths of one directory entry.
constexpr std::int64_t kEntryDirectoryBytes = 7 * 4 + 6 * 8 + 2 * 4;

void WriteBlock(BinaryWriter& w, std::initializer_list<std::int32_t> words) {
  for (std::int32_t word : words) w.WriteInt32(word);
  for (std::size_t i = words.size(); i < 32; ++i) w.WriteInt32(-1);
}

using DoubleField = double NetworkSummary::*;
using TextField = std::string NetworkSetEntry::*;

constexpr std::array<DoubleField, 6> kFigures = {&NetworkSummary::training_error,
                                                 &NetworkSummary::verification_error,
                                                 &NetworkSummary::test_error,
                                                 &NetworkSummary::training_performance,
                                                 &NetworkSummary::verification_performance,
                                                 &NetworkSummary::test_performance};

// The six int32 fields of an entry, in directory order.
template <class Entry>
auto& SummaryInt(Entry& e, int field) {
  switch (field) {
    case 0:
      return e.summary.type;
    case 1:
      return e.id;
    case 2:
      return e.is_locked;
    case 3:
      return e.summary.inputs;
    case 4:
      return e.summary.hidden1;
    default:
      return e.summary.hidden2;
  }
}

bool ReadTexts(BinaryReader& r, std::vector<NetworkSetEntry>& entries, TextField field) {
  std::vector<std::int32_t> lengths;
  if (!r.ReadInt32s(lengths, static_cast<std::int64_t>(entries.size()))) {
    return Refuse(kShortNetworkRead);
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (lengths[i] < 0) return Refuse(kNegativeLength);
    if (lengths[i] > 0 && !r.ReadBytes(entries[i].*field, lengths[i])) {
      return Refuse(kShortNetworkRead);
    }
  }
  return true;
}

bool ReadHeader(BinaryReader& r, std::int32_t& directory_offset) {
  std::vector<std::int32_t> block;
  if (!r.Seek(0) || !r.ReadInt32s(block, 32)) return Refuse(kShortNetworkRead);
  if (!std::equal(kMagic.begin(), kMagic.end(), block.begin())) return Refuse(kNoHeader);
  if (block[4] > kSetFileVersion) return Refuse(kLaterVersion);
  if (!r.ReadInt32(directory_offset)) return Refuse(kShortNetworkRead);
  if (directory_offset < kFirstImage) return Refuse(kSetBadImagePlace);
  return true;
}

bool ReadSettings(BinaryReader& r, NetworkSet& set, std::int32_t& count) {
  std::vector<std::int32_t> block;
  if (!r.ReadInt32s(block, 32)) return Refuse(kShortNetworkRead);
  set.max_networks = block[0];
  count = block[1];
  set.current_network = block[2];
  set.next_id = block[3];
  set.when_full = block[4];
  set.inform_when_full = block[5];
  if (count < 0) return Refuse(kNegativeLength);
  if (set.max_networks < 1 || count > set.max_networks) return Refuse(kSetOverCapacity);
  if (set.current_network < 0 || set.current_network > count) return Refuse(kSetBadCurrent);
  if (set.when_full < 0 || set.when_full >= kWhenFullCount ||
      (set.inform_when_full != 0 && set.inform_when_full != 1)) {
    return Refuse(kSetBadSettings);
  }
  if (!r.Holds(count, kEntryDirectoryBytes)) return Refuse(kShortNetworkRead);
  return true;
}

// Each image runs to the next image in file order, or to the directory.
// Images must lie between the header and the directory and never share a
// start, so that no byte is read twice for two entries.
bool ReadImages(BinaryReader& r, const std::vector<std::int32_t>& offsets,
                std::int32_t directory_offset, std::vector<NetworkSetEntry>& entries) {
  std::vector<std::int32_t> sorted = offsets;
  std::sort(sorted.begin(), sorted.end());
  if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) {
    return Refuse(kSetBadImagePlace);
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::int32_t start = offsets[i];
    if (start < kFirstImage || start >= directory_offset) return Refuse(kSetBadImagePlace);
    const auto next = std::upper_bound(sorted.begin(), sorted.end(), start);
    const std::int32_t end = next == sorted.end() ? directory_offset : *next;
    if (!r.Seek(start) || !r.ReadBytes(entries[i].image, end - start)) {
      return Refuse(kShortNetworkRead);
    }
  }
  return true;
}

bool ReadDirectory(BinaryReader& r, std::int32_t directory_offset, NetworkSet& set) {
  if (!r.Seek(directory_offset)) return Refuse(kShortNetworkRead);
  std::int32_t count = 0;
  if (!ReadSettings(r, set, count)) return false;
  set.entries.assign(static_cast<std::size_t>(count), NetworkSetEntry());
  if (count == 0) return true;
  std::vector<std::int32_t> offsets, values;
  if (!r.ReadInt32s(offsets, count)) return Refuse(kShortNetworkRead);
  for (int field = 0; field < 6; ++field) {
    if (!r.ReadInt32s(values, count)) return Refuse(kShortNetworkRead);
    for (std::int32_t i = 0; i < count; ++i) SummaryInt(set.entries[i], field) = values[i];
  }
  for (const NetworkSetEntry& e : set.entries) {
    if (e.is_locked != 0 && e.is_locked != 1) return Refuse(kSetBadLock);
  }
  std::vector<double> figures;
  for (DoubleField figure : kFigures) {
    if (!r.ReadDoubles(figures, count)) return Refuse(kShortNetworkRead);
    for (std::int32_t i = 0; i < count; ++i) set.entries[i].summary.*figure = figures[i];
  }
  return ReadTexts(r, set.entries, &NetworkSetEntry::comment) &&
         ReadTexts(r, set.entries, &NetworkSetEntry::history) &&
         ReadImages(r, offsets, directory_offset, set.entries);
}

void WriteTexts(BinaryWriter& w, const std::vector<NetworkSetEntry>& entries, TextField field) {
  for (const NetworkSetEntry& e : entries)
    w.WriteInt32(static_cast<std::int32_t>((e.*field).size()));
  for (const NetworkSetEntry& e : entries) w.WriteBytes(e.*field);
}

constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

}  // namespace

Status ReadNetworkSet(std::istream& in, NetworkSet& set) {
  try {
    BinaryReader r(in);
    std::int32_t directory_offset = 0;
    NetworkSet read;
    if (!ReadHeader(r, directory_offset) || !ReadDirectory(r, directory_offset, read)) {
      return Status::Failed();
    }
    set = std::move(read);
    return Status::Ok();
  } catch (const std::bad_alloc&) {
    return Fail(kNotEnoughMemory);
  }
}

Status ReadNetworkSetFile(const std::filesystem::path& file, NetworkSet& set) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return Fail(kSetCannotOpen);
  return ReadNetworkSet(in, set);
}

Status WriteNetworkSet(const NetworkSet& set, std::ostream& out) {
  std::vector<std::int32_t> offsets;
  std::int64_t position = kFirstImage;
  for (const NetworkSetEntry& e : set.entries) {
    offsets.push_back(static_cast<std::int32_t>(position));
    position += static_cast<std::int64_t>(e.image.size());
    if (position > kInt32Max) return Fail(kSetTooLarge);
  }
  for (const NetworkSetEntry& e : set.entries) {
    if (e.comment.size() > kInt32Max || e.history.size() > kInt32Max) return Fail(kSetTooLarge);
  }
  BinaryWriter w(out);
  WriteBlock(w, {kMagic[0], kMagic[1], kMagic[2], kMagic[3], kSetFileVersion});
  w.WriteInt32(static_cast<std::int32_t>(position));
  for (const NetworkSetEntry& e : set.entries) w.WriteBytes(e.image);
  WriteBlock(w, {set.max_networks, set.network_count(), set.current_network, set.next_id,
                 set.when_full, set.inform_when_full});
  if (!set.entries.empty()) {
    for (std::int32_t offset : offsets) w.WriteInt32(offset);
    for (int field = 0; field < 6; ++field) {
      for (const NetworkSetEntry& e : set.entries) {
        w.WriteInt32(SummaryInt(e, field));
      }
    }
    for (DoubleField figure : kFigures) {
      for (const NetworkSetEntry& e : set.entries) w.WriteDouble(e.summary.*figure);
    }
    WriteTexts(w, set.entries, &NetworkSetEntry::comment);
    WriteTexts(w, set.entries, &NetworkSetEntry::history);
  }
  if (!w.ok()) return Fail(kNetworkWriteFailed);
  return Status::Ok();
}

Status SaveNetworkSetFile(const NetworkSet& set, const std::filesystem::path& file) {
  SafeFileWriter writer;
  if (!writer.Open(file, kCannotOpenNetworkFileForWriting)) return Status::Failed();
  if (!WriteNetworkSet(set, writer.stream())) return Status::Failed();
  return writer.Commit(kNetworkWriteFailed);
}

std::unique_ptr<Network> LoadSetNetwork(const NetworkSet& set, std::int32_t index) {
  std::istringstream in(set.entries[index].image, std::ios::binary);
  return ReadNetworkImage(in, 0);
}

Status MakeSetEntry(const Network& network, const NetworkSummary& summary, std::string history,
                    NetworkSetEntry& entry) {
  std::ostringstream out(std::ios::binary);
  if (!WriteNetworkImage(network, out)) return Status::Failed();
  entry = NetworkSetEntry();
  entry.summary = summary;
  entry.history = std::move(history);
  entry.image = out.str();
  return Status::Ok();
}

}  // namespace tavrin
