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

namespace {

ErrorSink& CurrentSink() {
  ErrorSink* sink = Engine().error_sink;
  return sink ? *sink : DefaultErrorSink();
}

}  // namespace

void RecordError(std::string_view message) {
  CurrentSink().Record(message);
}

void RecordWarning(std::string_view message) {
  CurrentSink().Warn(message);
}

void RecordProgress(std::string_view message) {
  CurrentSink().Progress(message);
}

}  // namespace tavrin
