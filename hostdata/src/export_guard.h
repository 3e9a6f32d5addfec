#pragma once

// The shape every export has: find the live object behind the handle, check
// the numbers, do the work inside the one boundary where exceptions stop, and
// turn the outcome into 1 or 0.

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>
#include <string_view>

#include "host_file.h"
#include "posix_io.h"

namespace kvm {

inline constexpr std::int32_t kSuccess = 1;
inline constexpr std::int32_t kFailure = 0;

// Runs `body`; anything it throws (memory running out, above all) gives
// `failure`, so nothing crosses the C interface. A failure leaves its reason
// in errno: the system's, ENOMEM for memory, 0 for a plain refusal.
template <typename Result, typename Body>
Result Guarded(Result failure, Body&& body) noexcept {
  io::SetFailure(0);
  try {
    Result result = body();
    if (result == failure) errno = io::LastFailure();
    return result;
  } catch (const std::bad_alloc&) {
    io::SetFailure(ENOMEM);
  } catch (...) {
    io::SetFailure(0);
  }
  errno = io::LastFailure();
  return failure;
}

// `body(file)` on a live handle; it returns true on success.
template <typename Body>
std::int32_t OnFile(KvmFile* handle, Body&& body) noexcept {
  return Guarded(kFailure, [&]() -> std::int32_t {
    KvmFile* file = LiveHandle(handle);
    return file != nullptr && body(*file) ? kSuccess : kFailure;
  });
}

// `body(file, variable)` for a live handle and a variable number in range.
template <typename Body>
std::int32_t OnVariable(KvmFile* handle, std::int32_t number, Body&& body) noexcept {
  return OnFile(handle, [&](KvmFile& file) {
    if (number < 1 || number > file.sections.variable_count()) return false;
    return static_cast<bool>(body(file, file.sections.variables[number - 1]));
  });
}

// Copies `text` into a caller's buffer of `size` bytes, cut to fit, with a NUL.
inline bool CopyOut(std::string_view text, char* buffer, std::int32_t size) {
  if (buffer == nullptr || size < 1) return false;
  const std::size_t length = std::min<std::size_t>(text.size(), static_cast<std::size_t>(size) - 1);
  if (length != 0) std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return true;
}

// A caller's text cut to at most `limit` bytes, reading no further than that.
inline std::string_view TakeText(const char* text, std::size_t limit) {
  std::size_t length = 0;
  while (length < limit && text[length] != '\0') ++length;
  return {text, length};
}

}  // namespace kvm
