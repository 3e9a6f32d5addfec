#pragma once

// The engine reports failures through its sink; the program catches them
// around one operation to show them its own way.

#include <string>

#include "common/error_sink.h"
#include "engine_state.h"

namespace tavrin::app {

class CaughtEngineMessages {
 public:
  CaughtEngineMessages() : previous_(Engine().error_sink) { Engine().error_sink = &sink_; }
  ~CaughtEngineMessages() { Engine().error_sink = previous_; }
  CaughtEngineMessages(const CaughtEngineMessages&) = delete;
  CaughtEngineMessages& operator=(const CaughtEngineMessages&) = delete;

  const std::string& last() const { return sink_.last(); }

 private:
  LastMessageSink sink_;
  ErrorSink* previous_;
};

// The numbered messages of the actions' checks and results.
namespace action_message {
inline constexpr int kNoNetwork = 1;
inline constexpr int kNoData = 2;
inline constexpr int kTooFewLayers = 4;
inline constexpr int kDataDoesNotFit = 6;
inline constexpr int kDataDoesNotFitInputs = 17;
inline constexpr int kNoBestNetwork = 35;
inline constexpr int kBestRestored = 36;
inline constexpr int kDone = 43;
inline constexpr int kNoTrainingCases = 198;
}  // namespace action_message

}  // namespace tavrin::app
