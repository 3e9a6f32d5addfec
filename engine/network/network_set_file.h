#pragma once

// The network set file. Little-endian; int32 is 4 bytes, double 8 bytes IEEE
// 754; a block is 32 int32 words, words not listed written as -1.
//
//   offset            content
//   0                 block: magic 148239, -17120, 11668, -2992; version 30
//   128               int32 directory_offset
//   132               the entries' binary network images, back to back
//   directory_offset  block: max_networks, network_count, current_network,
//                     next_id, when_full, inform_when_full; then, only when
//                     network_count > 0, one array of network_count items
//                     each of: image_offset, type, id, is_locked, inputs,
//                     hidden1, hidden2 (int32); the three errors and the
//                     three performances (double); comments and histories
//                     (text arrays: network_count int32 lengths, 0 for an
//                     absent text, then the bytes of each, no terminators)
//
// An image ends where the next image in file order starts, or at the
// directory: a set sorted in place elsewhere keeps its images where they were
// while its directory order changes. This writer always lays the images out
// in directory order.

#include <cstdint>
#include <filesystem>
#include <istream>
#include <memory>
#include <ostream>

#include "common/status.h"
#include "network/network.h"
#include "network/network_set.h"

namespace tavrin {

inline constexpr std::int32_t kSetFileVersion = 30;

// Reads a whole set, images included, from a stream holding nothing else.
// Every count, offset and setting is checked against the stream's size and
// its range before anything is allocated; images are checked when loaded.
[[nodiscard]] Status ReadNetworkSet(std::istream& in, NetworkSet& set);
[[nodiscard]] Status ReadNetworkSetFile(const std::filesystem::path& file, NetworkSet& set);

[[nodiscard]] Status WriteNetworkSet(const NetworkSet& set, std::ostream& out);

// Replaces the file whole through a temporary file, so that a failure at any
// point leaves the old set readable.
[[nodiscard]] Status SaveNetworkSetFile(const NetworkSet& set, const std::filesystem::path& file);

// The network of entry `index` (0-based, in range), or none with the image
// reader's message recorded.
std::unique_ptr<Network> LoadSetNetwork(const NetworkSet& set, std::int32_t index);

// A new entry for the network: its image and the given summary and history.
// Fails when the network cannot be written as an image.
[[nodiscard]] Status MakeSetEntry(const Network& network, const NetworkSummary& summary,
                                  std::string history, NetworkSetEntry& entry);

}  // namespace tavrin
