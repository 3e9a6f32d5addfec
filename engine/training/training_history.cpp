#include "training/training_history.h"

#include <cstdint>

#include "common/ascii.h"

namespace tavrin {
namespace {

// The number in text[first, last); histories come from files too, so an
// absurdly long number saturates instead of overflowing.
std::int64_t ParseCount(std::string_view text) {
  std::int64_t n = 0;
  for (char c : text) {
    if (n > (INT64_MAX - 9) / 10) return INT64_MAX / 2;
    n = n * 10 + (c - '0');
  }
  return n;
}

}  // namespace

void AppendHistoryEntry(std::string& history, std::size_t run_start, std::string_view code,
                        std::int64_t epochs, std::string_view suffix) {
  if (!history.empty() && IsDigit(history.back())) {
    const std::size_t comma = history.rfind(',');
    std::size_t entry = std::string::npos;
    if (comma != std::string::npos && comma >= run_start) {
      entry = comma + 1;
    } else if (comma == std::string::npos && run_start == 0) {
      entry = 0;
    }
    if (entry != std::string::npos) {
      std::size_t digits = entry;
      while (digits < history.size() && !IsDigit(history[digits])) ++digits;
      if (std::string_view(history).substr(entry, digits - entry) == code) {
        const std::int64_t old = ParseCount(std::string_view(history).substr(digits));
        history.resize(entry);
        history += std::string(code) + std::to_string(old + epochs) + std::string(suffix);
        return;
      }
    }
  }
  if (!history.empty()) history += ',';
  history += std::string(code) + std::to_string(epochs) + std::string(suffix);
}

void CutHistoryToBest(std::string& history, std::size_t run_start, std::int64_t best_epoch) {
  std::size_t pos = run_start;
  if (pos < history.size() && history[pos] == ',') ++pos;
  std::int64_t total = 0;
  while (pos < history.size()) {
    std::size_t digits = pos;
    while (digits < history.size() && !IsDigit(history[digits])) ++digits;
    std::size_t end = digits;
    while (end < history.size() && IsDigit(history[end])) ++end;
    const std::int64_t number = ParseCount(std::string_view(history).substr(digits, end - digits));
    if (total + number >= best_epoch) {
      history.resize(digits);
      history += std::to_string(best_epoch - total) + "b";
      return;
    }
    total += number;
    pos = history.find(',', end);
    if (pos == std::string::npos) return;
    ++pos;
  }
}

}  // namespace tavrin
