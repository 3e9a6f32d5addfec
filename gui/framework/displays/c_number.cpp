#include "c_number.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace tavrin::gui {

std::string CNumber(double value, int significant_digits) {
  // General format at 17 digits is at most 24 characters; 32 leaves room.
  std::array<char, 32> buffer;
  const auto written =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::general,
                    std::clamp(significant_digits, 1, 17));
  return std::string(buffer.data(), written.ptr);
}

}  // namespace tavrin::gui
