#pragma once

// The training history text: one entry per run, a two-letter algorithm code
// followed by its epoch count and an optional suffix ("s" stopped by a
// condition, "c" converged, "b" cut back to the best epoch), comma separated.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tavrin {

// Appends an entry (merging into the run's last entry of the same code when
// the history ends in a digit), searching no further back than `run_start`.
void AppendHistoryEntry(std::string& history, std::size_t run_start, std::string_view code,
                        std::int64_t epochs, std::string_view suffix);

// Cuts the entries written since `run_start` back to `best_epoch` epochs.
void CutHistoryToBest(std::string& history, std::size_t run_start, std::int64_t best_epoch);

}  // namespace tavrin
