#pragma once

// A reporter that keeps what the interface layers report, with message
// texts "M<number>" unless a test gives them.

#include <map>
#include <string>
#include <vector>

#include "su_parameter.h"

namespace tavrin::gui::testing {

class RecordingReporter : public Reporter {
 public:
  void Error(std::string_view text) override { errors.emplace_back(text); }
  void Warning(std::string_view text) override { warnings.emplace_back(text); }
  std::string Message(int number) const override {
    const auto at = messages.find(number);
    return at != messages.end() ? at->second : "M" + std::to_string(number);
  }

  std::vector<std::string> errors;
  std::vector<std::string> warnings;
  std::map<int, std::string> messages;
};

}  // namespace tavrin::gui::testing
