#pragma once

#include <cstddef>
#include <string_view>

namespace tavrin {

// Result of an engine operation that can fail. A failure has already had its
// message recorded through the engine's error sink by the time it is returned.
class [[nodiscard]] Status {
 public:
  static Status Ok() { return Status(true); }
  static Status Failed() { return Status(false); }

  bool ok() const { return ok_; }
  explicit operator bool() const { return ok_; }

 private:
  explicit Status(bool ok) : ok_(ok) {}
  bool ok_;
};

// Records the message through the engine's error sink.
void RecordError(std::string_view message);

// Reports a warning through the engine's error sink; the operation goes on.
void RecordWarning(std::string_view message);

// Reports the stage a long operation has reached through the error sink.
void RecordProgress(std::string_view message);

// Records the message and returns a failed status, for `return Fail("...")`.
inline Status Fail(std::string_view message) {
  RecordError(message);
  return Status::Failed();
}

// The same for a check that answers true or false.
inline bool Refuse(std::string_view message) {
  RecordError(message);
  return false;
}

// Records the message and yields null, for `return Refused("...")` in a
// function that hands over a new object or nothing.
inline std::nullptr_t Refused(std::string_view message) {
  RecordError(message);
  return nullptr;
}

// The message every allocation failure records.
inline constexpr std::string_view kNotEnoughMemory = "Not enough memory to perform operation";

}  // namespace tavrin
