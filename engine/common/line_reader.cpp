#include "common/line_reader.h"

namespace tavrin {
namespace {

constexpr int kEof = std::char_traits<char>::eof();

}  // namespace

int LineReader::Take() {
  if (pending_ != kEof) {
    const int c = pending_;
    pending_ = kEof;
    return c;
  }
  return in_.sbumpc();
}

int LineReader::Look() {
  return pending_ != kEof ? pending_ : in_.sgetc();
}

bool LineReader::Next(std::string& line) {
  line.clear();
  int c = Take();
  if (c == kEof) return false;
  while (c != kEof && c != '\n') {
    if (c == '\r' && Look() == '\n') {
      Take();
      break;
    }
    line.push_back(static_cast<char>(c));
    if (line.size() == kMaxLineLength) {
      // A line of exactly the limit still ends here; only a longer one splits.
      if (Look() == '\n') {
        Take();
      } else if (Look() == '\r') {
        Take();
        if (Look() == '\n') {
          Take();
        } else {
          pending_ = '\r';
        }
      }
      break;
    }
    c = Take();
  }
  return true;
}

}  // namespace tavrin
