#pragma once

#include <string>
#include <string_view>

namespace tavrin {

// Where engine failures and warnings are reported. The library keeps the last
// message for its error text; the desktop program and the command-line tool
// show them. The engine never prints.
class ErrorSink {
 public:
  virtual ~ErrorSink() = default;
  virtual void Record(std::string_view message) = 0;
  // Something the user should know of an operation that goes on (columns
  // that disagree, values read as missing). By default it is kept like an
  // error, so a library caller finds it in the last-error text.
  virtual void Warn(std::string_view message) { Record(message); }
  // The stage a long operation has reached. By default it is kept like an
  // error, so a library caller finds the last stage in the last-error text.
  virtual void Progress(std::string_view message) { Record(message); }
};

// A sink that keeps the last message whole; the default one, and handy in tests.
class LastMessageSink : public ErrorSink {
 public:
  void Record(std::string_view message) override { last_.assign(message); }
  const std::string& last() const { return last_; }
  void clear() { last_.clear(); }

 private:
  std::string last_;
};

}  // namespace tavrin
