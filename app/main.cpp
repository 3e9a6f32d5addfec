// tavrin32: the desktop program.
//   tavrin32 [config FILE] [--script FILE] [DATAFILE]

#include <unistd.h>
#include <QApplication>
#include <csignal>
#include <cstring>
#include <fstream>
#include <iostream>

#include "program.h"
#include "qt_presenter.h"
#include "script_driver.h"

namespace {

// An invalid memory access cannot be survived: it is reported once, with
// calls that are safe in a signal handler, and the program ends.
char fault_text[512] = "Tavrin: an invalid memory access; the program must close.\n";

void OnFault(int) {
  const ssize_t written = ::write(STDERR_FILENO, fault_text, std::strlen(fault_text));
  (void)written;
  ::_exit(1);
}

void ReportFaultsWith(const std::string& text) {
  const std::string line = "Tavrin: " + text + "\n";
  std::strncpy(fault_text, line.c_str(), sizeof fault_text - 1);
  for (int signal : {SIGSEGV, SIGBUS}) std::signal(signal, OnFault);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Tavrin");

  tavrin::app::StartOptions options;
  options.arguments = QApplication::arguments().mid(1);
  options.executable_directory = QApplication::applicationDirPath().toStdString();
  const tavrin::app::CommandLine line = tavrin::app::ParseCommandLine(options.arguments);
  // A script runs unattended: every message box it causes is written to the
  // error stream with the script's line number instead of waiting for a click.
  tavrin::gui::RecordingPresenter script_presenter;
  if (line.script) {
    script_presenter.set_echo(true);
    options.presenter = &script_presenter;
  }
  tavrin::app::Program program(std::move(options));
  if (!program.Start()) return 1;
  ReportFaultsWith(program.message_table().Text(tavrin::gui::msg::kMemoryFault));
  program.frame()->show();
  if (line.script) {
    std::ifstream script(*line.script);
    if (!script) {
      std::cerr << "tavrin32: cannot read the script " << *line.script << "\n";
      return 1;
    }
    tavrin::app::ScriptDriver driver(program, script_presenter, std::cout, std::cerr);
    const int status = driver.Run(script);
    program.Exit();
    return status;
  }
  return QApplication::exec();
}
