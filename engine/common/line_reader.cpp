#include "common/line_reader.h"

namespace tavrin {
namespace {

constexpr int kEof = std::char_traits<char>::eof();

}  // namespace

// A file buffer throws when the system's read fails (a directory, a device
// error); that ends the input like its end, and failed() says so.
int LineReader::Take() {
  if (pending_ != kEof) {
    const int c = pending_;
    pending_ = kEof;
    return c;
  }
  if (failed_) return kEof;
  try {
    return in_.sbumpc();
  } catch (...) {
    failed_ = true;
    return kEof;
  }
}

int LineReader::Look() {
  if (pending_ != kEof) return pending_;
  if (failed_) return kEof;
  try {
    return in_.sgetc();
  } catch (...) {
    failed_ = true;
    return kEof;
  }
}

bool LineReader::Next(std::string& line) {
  line.clear();
  cut_in_word_ = false;
  int c = Take();
  if (c == kEof) return false;
  ++line_number_;
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
          NoteCut(line);
        }
      } else if (Look() != kEof) {
        NoteCut(line);
      }
      break;
    }
    c = Take();
  }
  return true;
}

std::string LineReader::RefusalText(std::string_view message) const {
  std::string text(message);
  if (first_cut_line_ > 0) {
    text += " (line " + std::to_string(first_cut_line_) + " is longer than " +
            std::to_string(kMaxLineLength) + " characters)";
  }
  return text;
}

void LineReader::NoteCut(const std::string& line) {
  auto is_blank = [](int ch) { return ch == ' ' || ch == '\t'; };
  cut_in_word_ = !is_blank(static_cast<unsigned char>(line.back())) && !is_blank(Look());
  if (first_cut_line_ == 0) first_cut_line_ = line_number_;
  --line_number_;  // the rest is the same line of the file
}

}  // namespace tavrin
