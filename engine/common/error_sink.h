#pragma once

#include <string>
#include <string_view>

namespace tavrin {

// Where engine failures are reported. The library keeps the last message for
// its error text; the desktop program shows it. The engine never prints.
class ErrorSink {
 public:
  virtual ~ErrorSink() = default;
  virtual void Record(std::string_view message) = 0;
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
