#pragma once

// Reads a text file a line at a time, as the engine's text formats expect:
// a line longer than kMaxLineLength characters is returned in pieces of at
// most that many, the remainder becoming further lines. Line ends are "\n" or
// "\r\n" and are not part of the line; a last line without an end counts.

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>

namespace tavrin {

class LineReader {
 public:
  // The longest line, without its end, that one piece holds: the engine's
  // 1024-character line buffer less its terminator. Writers of the engine's
  // text files keep every line within it.
  static constexpr std::size_t kMaxLineLength = 1023;

  explicit LineReader(std::istream& in) : in_(*in.rdbuf()) {}

  // The next line or piece; false at the end of the input.
  bool Next(std::string& line);

  // Whether reading stopped because the system's read failed.
  bool failed() const { return failed_; }

  // The 1-based number in the file of the first line longer than
  // kMaxLineLength, or 0. A reader that fails after such a line says so,
  // since a number cut in two is the likely cause.
  long first_cut_line() const { return first_cut_line_; }

  // Whether the piece last returned was cut from a longer line in the middle
  // of a word, which the next piece goes on with: a number read from its end
  // would be only part of the number.
  bool cut_in_word() const { return cut_in_word_; }

  // `message`, followed, once a line longer than kMaxLineLength has been
  // read, by the number of that line.
  std::string RefusalText(std::string_view message) const;

 private:
  int Take();
  int Look();
  void NoteCut(const std::string& line);

  std::streambuf& in_;
  // A character read ahead that belongs to the next piece.
  int pending_ = std::char_traits<char>::eof();
  bool failed_ = false;
  long line_number_ = 0;
  long first_cut_line_ = 0;
  bool cut_in_word_ = false;
};

}  // namespace tavrin
