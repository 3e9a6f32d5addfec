#pragma once

// Changes to a network set file: each reads the whole set, changes it in
// memory and replaces the file through a temporary file, so a failure at any
// point leaves the old set as it was.

#include <cstdint>
#include <filesystem>
#include <string>

#include "common/status.h"
#include "network/network.h"
#include "network/network_set.h"

namespace tavrin {

[[nodiscard]] Status CreateNetworkSetFile(const std::filesystem::path& file,
                                          std::int32_t max_networks, std::int32_t when_full,
                                          std::int32_t inform_when_full);

// Adds the network under the set's when-full policy, so the capacity is never
// exceeded. A full set that declines the network (every entry locked, or the
// trade-off giving up the candidate itself) is not a failure.
[[nodiscard]] Status AddNetworkToSetFile(const std::filesystem::path& file, const Network& network,
                                         const NetworkSummary& summary, std::string history);

// Overwrites entry `index` (-1 = the current network), keeping its id, lock
// and comment.
[[nodiscard]] Status ReplaceNetworkInSetFile(const std::filesystem::path& file,
                                             const Network& network, const NetworkSummary& summary,
                                             std::string history, std::int32_t index);

// Removes entries first..last inclusive (last -1 = the last entry).
[[nodiscard]] Status DeleteNetworksFromSetFile(const std::filesystem::path& file,
                                               std::int32_t first, std::int32_t last);

[[nodiscard]] Status SortNetworkSetFile(const std::filesystem::path& file, bool ascending,
                                        std::int32_t criterion);

}  // namespace tavrin
