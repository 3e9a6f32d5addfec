#include "message_services.h"

namespace tavrin::app {

std::string MessageServices::Title(int option) const {
  const std::vector<std::string> titles = messages_.Options(gui::msg::kBoxTitles);
  if (option < static_cast<int>(titles.size())) return titles[static_cast<std::size_t>(option)];
  return messages_.Text(gui::msg::kBoxTitles);
}

void MessageServices::Report(gui::Presenter::Box kind, int title, std::string_view text) {
  if (status_line_mode_ && presenter_.ShowStatus(text)) return;
  presenter_.ShowBox(kind, Title(title), text);
}

void MessageServices::Error(std::string_view text) {
  error_flag_ = true;
  Report(gui::Presenter::Box::kError, 0, text);
}

void MessageServices::Warning(std::string_view text) {
  Report(gui::Presenter::Box::kWarning, 1, text);
}

void MessageServices::Information(std::string_view text) {
  Report(gui::Presenter::Box::kInformation, 2, text);
}

void MessageServices::Fatal(std::string_view text) {
  error_flag_ = true;
  presenter_.ShowBox(gui::Presenter::Box::kFatal, Title(3), text);
}

void MessageServices::Status(std::string_view text) {
  // The prefix is the first option of the prefixes message; the line is
  // padded to 100 characters so that a shorter text covers a longer one.
  const std::vector<std::string> prefixes = messages_.Options(gui::msg::kStatusPrefixes);
  std::string line = prefixes.empty() ? std::string() : prefixes.front();
  line += text;
  if (line.size() < 100) line.append(100 - line.size(), ' ');
  if (!presenter_.ShowStatus(line)) {
    presenter_.ShowBox(gui::Presenter::Box::kInformation, Title(2), text);
  }
}

}  // namespace tavrin::app
