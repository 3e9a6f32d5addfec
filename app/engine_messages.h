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

}  // namespace tavrin::app
