#pragma once

// The numbered message file (nrx.msg): every text the program shows by
// number. Each line is a number and its text (in double quotes when it has
// blanks); "#" starts a comment line. The first line with a number wins.

#include <functional>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin::app {

class MessageTable {
 public:
  // The most messages a file may hold.
  static constexpr std::size_t kMaxMessages = 1024;

  enum class LoadResult { kLoaded, kTooMany };

  // Reads the file's messages; `long_line` is called with the number of
  // each line longer than 1023 characters (it is still read whole).
  LoadResult Load(std::istream& in, const std::function<void(long)>& long_line);

  bool empty() const { return entries_.empty(); }
  std::size_t size() const { return entries_.size(); }

  // The text of message n, or "Message %d (message file not loaded)" when
  // no file was read and "Message %d (not found in message file)" when the
  // file lacks it.
  std::string Text(int number) const;
  bool Has(int number) const;

  // Message n as options separated by "|".
  std::vector<std::string> Options(int number) const;

 private:
  struct Entry {
    int number;
    std::string text;
  };
  std::vector<Entry> entries_;
};

}  // namespace tavrin::app
