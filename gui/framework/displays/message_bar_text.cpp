#include "message_bar_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tavrin::gui {

std::string ElapsedText(long seconds) {
  seconds = std::max(seconds, 0L);
  // Digits only, so the locale cannot change it; room for any long's hours.
  char text[32];
  std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", seconds / 3600, seconds / 60 % 60,
                seconds % 60);
  return text;
}

int ProgressPercent(long completed_units, long steps_per_unit, long current_step, long total_units,
                    long cases) {
  // In doubles, so products of large counts cannot overflow.
  const double done = static_cast<double>(completed_units) * steps_per_unit + current_step;
  const double all = (static_cast<double>(total_units) + 1) * steps_per_unit + cases;
  if (!(all > 0)) return 0;
  const double percent = std::floor(done * 100 / all);
  return static_cast<int>(std::clamp(percent, 0.0, 100.0));
}

}  // namespace tavrin::gui
