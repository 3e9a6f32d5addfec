#pragma once

// A long operation from the program: while it lasts the operation guard
// keeps the program alive, the message bar shows its progress and elapsed
// time, and the windows are refreshed as often as anyone can read them.

#include <QElapsedTimer>

namespace tavrin::app {

class Program;

class ProgressPump {
 public:
  explicit ProgressPump(Program& program);
  ~ProgressPump();
  ProgressPump(const ProgressPump&) = delete;
  ProgressPump& operator=(const ProgressPump&) = delete;

  // Between two steps: shows `percent` (when the last showing is old
  // enough), processes the waiting events; false when a stop was asked.
  bool Step(int percent);

 private:
  Program& program_;
  QElapsedTimer shown_;
  QElapsedTimer started_;
};

}  // namespace tavrin::app
