#include "codegen/fragment_expansion.h"

namespace tavrin {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The number of two decimal digits at `at`, or -1.
int TwoDigits(std::string_view text, std::size_t at) {
  if (at + 2 > text.size() || !IsDigit(text[at]) || !IsDigit(text[at + 1])) return -1;
  return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

}  // namespace

void ExpandFragment(std::string_view fragment, const SubstitutionTable& slots,
                    const MergeCallback* merge, std::ostream& out) {
  std::size_t copied = 0;  // start of the literal text not yet written
  std::size_t i = 0;
  while (i < fragment.size()) {
    if (fragment[i] != '$') {
      ++i;
      continue;
    }
    const int slot = TwoDigits(fragment, i + 1);
    const bool is_merge = fragment.size() > i + 1 && fragment[i + 1] == 'c';
    const int merge_number = is_merge ? TwoDigits(fragment, i + 2) : -1;
    if (slot < 0 && merge_number < 0) {
      ++i;
      continue;
    }
    out.write(fragment.data() + copied, static_cast<std::streamsize>(i - copied));
    if (slot >= 0) {
      out << slots[slot];
      i += 3;
    } else {
      if (merge != nullptr) {
        (*merge)(merge_number, out);
      } else {
        out << kMissingMergeText;
      }
      i += 4;
    }
    copied = i;
  }
  out.write(fragment.data() + copied, static_cast<std::streamsize>(fragment.size() - copied));
}

}  // namespace tavrin
