#pragma once

// The texts of the message bar along the bottom of the main window: how
// long the running operation has taken, and how far it has come.

#include <string>
#include <string_view>

namespace tavrin::gui {

// Shown before any operation has run.
inline constexpr std::string_view kElapsedBeforeStart = "000:00:00";

// "%d:%02d:%02d": hours (as many digits as they take), minutes, seconds; a
// negative time (a clock set back) shows as 0:00:00.
std::string ElapsedText(long seconds);

// (completed_units × steps_per_unit + current_step) × 100 ÷
// ((total_units + 1) × steps_per_unit + cases), rounded down and kept
// within 0..100; 0 when the divisor is not positive.
int ProgressPercent(long completed_units, long steps_per_unit, long current_step, long total_units,
                    long cases);

}  // namespace tavrin::gui
