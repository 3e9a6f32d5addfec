#include "progress_pump.h"

#include "message_bar.h"
#include "program.h"

namespace tavrin::app {
namespace {

constexpr qint64 kRefreshInterval = 40;  // milliseconds

}  // namespace

ProgressPump::ProgressPump(Program& program) : program_(program) {
  shown_.start();
  started_.start();
  program_.frame()->message_bar()->SetProgress(0);
  program_.guard().Begin();
}

ProgressPump::~ProgressPump() {
  program_.guard().End();
  gui::MessageBar* bar = program_.frame()->message_bar();
  bar->SetProgress(-1);
  bar->SetElapsed(static_cast<long>(started_.elapsed() / 1000));
}

bool ProgressPump::Step(int percent) {
  if (shown_.elapsed() >= kRefreshInterval) {
    gui::MessageBar* bar = program_.frame()->message_bar();
    bar->SetProgress(percent);
    bar->SetElapsed(static_cast<long>(started_.elapsed() / 1000));
    program_.Refresh();
    shown_.restart();
  }
  return !program_.guard().PollStop();
}

}  // namespace tavrin::app
