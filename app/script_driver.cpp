#include "script_driver.h"

#include <QApplication>
#include <QImage>
#include <sstream>

#include "engine_actions.h"
#include "program.h"
#include "qt_presenter.h"
#include "value_text.h"

namespace tavrin::app {
namespace {

// The command word, and the rest split as a keyword line splits it (a value
// with blanks in double quotes).
struct Command {
  std::string word;
  std::string first;
  std::string rest;
};

Command Parse(const std::string& line) {
  Command c;
  std::istringstream in(line);
  in >> c.word >> c.first;
  std::string rest;
  std::getline(in, rest);
  const std::size_t first = rest.find_first_not_of(" \t");
  if (first == std::string::npos) return c;
  if (rest[first] == '"') {
    // A quoted value keeps its blanks, up to its closing quote.
    const std::size_t close = rest.find('"', first + 1);
    c.rest =
        rest.substr(first + 1, close == std::string::npos ? std::string::npos : close - first - 1);
    return c;
  }
  c.rest = rest.substr(first);
  while (!c.rest.empty() && (c.rest.back() == ' ' || c.rest.back() == '\t')) c.rest.pop_back();
  return c;
}

}  // namespace

int ScriptDriver::Run(std::istream& script) {
  int status = 0;
  std::string line;
  long number = 0;
  while (!quit_ && std::getline(script, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    presenter_.set_prefix("line " + std::to_string(number) + ": ");
    program_.messages().ClearErrorFlag();
    const bool done = Line(line.substr(first), number);
    QApplication::processEvents();
    if (!done || program_.messages().error_flag()) {
      if (!done) err_ << "line " << number << ": failed: " << line.substr(first) << "\n";
      status = 1;
    }
  }
  presenter_.set_prefix("");
  return status;
}

bool ScriptDriver::Line(const std::string& line, long) {
  const Command c = Parse(line);
  if (c.word == "set") {
    gui::SuParameter* p = program_.parameters().Find(c.first);
    if (p != nullptr && p->type == gui::SuType::kMatrix) {
      const bool stored = program_.engine_actions().SetMatrixFromText(c.first, c.rest);
      program_.Refresh();
      return stored;
    }
    if (p == nullptr || !gui::IsValueKind(p->type)) return false;
    const bool stored = gui::SetFromText(*p, c.rest, program_.messages());
    program_.Refresh();
    return stored;
  }
  if (c.word == "press") return Press(c.first);
  if (c.word == "open") {
    const std::string name = c.rest.empty() ? c.first : c.first + " " + c.rest;
    return program_.interface().OpenWindow(name);
  }
  if (c.word == "dump") {
    const gui::SuParameter* p = program_.parameters().Find(c.first);
    if (p == nullptr) return false;
    if (const auto text = program_.engine_actions().DisplayText(c.first)) {
      out_ << gui::DumpLine(*p) << *text << "\n";
      out_.flush();
      return true;
    }
    out_ << gui::DumpLine(*p);
    out_.flush();
    return true;
  }
  if (c.word == "shot") {
    // The file is the last word; a window's name may hold spaces.
    const std::string both = c.rest.empty() ? c.first : c.first + " " + c.rest;
    const std::size_t space = both.find_last_of(" \t");
    if (space == std::string::npos) return false;
    return Shot(both.substr(0, space), both.substr(space + 1));
  }
  if (c.word == "wait") {
    while (program_.guard().running()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return true;
  }
  if (c.word == "quit") {
    quit_ = true;
    return true;
  }
  return false;
}

bool ScriptDriver::Press(const std::string& name) {
  const int element = program_.interface().ElementNamed(name);
  if (element < 0) return false;
  const gui::SugParameter& e = program_.elements()[element];
  switch (e.kind()) {
    case gui::SuType::kButton:
    case gui::SuType::kToolButton:
    case gui::SuType::kWhatIf:
    case gui::SuType::kMenuItem:
      break;
    default:
      return false;
  }
  if (e.kind() == gui::SuType::kMenuItem && !(e.parameter && e.parameter->change)) {
    return program_.interface().OpenWindow(e.menu);
  }
  program_.Activate(element);
  return true;
}

bool ScriptDriver::Shot(const std::string& name, const std::string& file) {
  QWidget* widget = nullptr;
  if (name == "main") {
    widget = program_.frame();
  } else if (QWidget* client = program_.interface().WindowNamed(name)) {
    // A pop-up is its own window; an MDI child's frame holds its client.
    widget = client->isWindow() ? client : client->parentWidget();
  }
  if (widget == nullptr || file.empty()) return false;
  return widget->grab().toImage().save(QString::fromStdString(file));
}

}  // namespace tavrin::app
