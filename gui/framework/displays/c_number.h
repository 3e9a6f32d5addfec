#pragma once

// Numbers in the texts the displays copy, save and label: always in the "C"
// locale, so a program running under a decimal comma still writes files
// that read back and paste into other programs as numbers.

#include <string>

namespace tavrin::gui {

// The number as printf's "%.<significant_digits>g" writes it in the "C"
// locale ("nan", "inf" and "-0" included); digits below 1 count as 1.
std::string CNumber(double value, int significant_digits);

}  // namespace tavrin::gui
