#include "message_file.h"

#include <algorithm>

#include "settings_file.h"
#include "value_text.h"

namespace tavrin::app {

MessageTable::LoadResult MessageTable::Load(std::istream& in,
                                            const std::function<void(long)>& long_line) {
  gui::SettingsLines lines(in, long_line);
  std::string line;
  while (lines.Next(line)) {
    if (line.empty() || line.front() == '#') continue;
    const gui::KeywordValue kv = gui::SplitKeywordValue(line);
    if (kv.keyword.empty()) continue;
    const auto number = gui::ParseWholeNumber(kv.keyword);
    if (!number || *number < -2147483647LL || *number > 2147483647LL) continue;
    if (entries_.size() >= kMaxMessages) return LoadResult::kTooMany;
    entries_.push_back({static_cast<int>(*number), std::string(kv.value)});
  }
  return LoadResult::kLoaded;
}

bool MessageTable::Has(int number) const {
  return std::any_of(entries_.begin(), entries_.end(),
                     [&](const Entry& e) { return e.number == number; });
}

std::string MessageTable::Text(int number) const {
  if (entries_.empty()) {
    return "Message " + std::to_string(number) + " (message file not loaded)";
  }
  for (const Entry& e : entries_) {
    if (e.number == number) return e.text;
  }
  return "Message " + std::to_string(number) + " (not found in message file)";
}

std::vector<std::string> MessageTable::Options(int number) const {
  std::vector<std::string> options;
  if (!Has(number)) return options;
  const std::string text = Text(number);
  std::size_t start = 0;
  while (true) {
    const std::size_t bar = text.find('|', start);
    options.push_back(text.substr(start, bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  return options;
}

}  // namespace tavrin::app
