#include "engine_state.h"

#include "common/status.h"

namespace tavrin {

EngineState& Engine() {
  static EngineState state;
  return state;
}

void ResetEngineState() {
  ErrorSink* sink = Engine().error_sink;
  Engine() = EngineState();
  Engine().error_sink = sink;
}

LastMessageSink& DefaultErrorSink() {
  static LastMessageSink sink;
  return sink;
}

void RecordError(std::string_view message) {
  ErrorSink* sink = Engine().error_sink;
  (sink ? *sink : DefaultErrorSink()).Record(message);
}

}  // namespace tavrin
