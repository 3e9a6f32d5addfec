#pragma once

// Expanding a template fragment: "$NN" (two decimal digits) gives the text of
// substitution slot NN; "$cNN" asks the merge callback to write generated
// text for merge NN at that place. Every other character is copied as it is.

#include <array>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>

namespace tavrin {

inline constexpr int kSubstitutionSlots = 100;

using SubstitutionTable = std::array<std::string, kSubstitutionSlots>;

// Writes the text of merge `number` to the stream.
using MergeCallback = std::function<void(int number, std::ostream& out)>;

// Written in place of a merge request when the fragment has no callback.
inline constexpr std::string_view kMissingMergeText =
    "\n$$$$\nERROR: Merge callback requested but not provided\n$$$\n";

// Expands `fragment` into `out`. `merge` may be null (no callback).
void ExpandFragment(std::string_view fragment, const SubstitutionTable& slots,
                    const MergeCallback* merge, std::ostream& out);

}  // namespace tavrin
