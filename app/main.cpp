// tavrin32: the desktop program.

#include <QApplication>

#include "program.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Tavrin");

  tavrin::app::StartOptions options;
  options.arguments = QApplication::arguments().mid(1);
  options.executable_directory = QApplication::applicationDirPath().toStdString();
  tavrin::app::Program program(std::move(options));
  if (!program.Start()) return 1;
  program.frame()->show();
  return QApplication::exec();
}
