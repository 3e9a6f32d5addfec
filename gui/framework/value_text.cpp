#include "value_text.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <limits>

namespace tavrin::gui {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

// Replaces each "%s" in turn by the next of the texts.
std::string Format(std::string_view format, std::initializer_list<std::string_view> texts) {
  std::string result;
  auto next = texts.begin();
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's' && next != texts.end()) {
      result += *next++;
      ++i;
    } else {
      result += format[i];
    }
  }
  return result;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

std::string RealText(double value, int digits) {
  std::array<char, 64> buffer;
  const auto r = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                               std::chars_format::general, digits);
  return std::string(buffer.data(), r.ptr);
}

// The lowest value an integer may be given; below it the text is taken as 0.
constexpr long long kLowestInteger = -2147483646;

bool SetInteger(SuParameter& p, std::string_view text, Reporter& reporter) {
  const auto number = ParseWholeNumber(text);
  if (!number) {
    reporter.Error(Format("Integer [%s] given value [%s]; use a whole number", {p.name, text}));
    return false;
  }
  int* value = std::get<int*>(p.value);
  if (*number < kLowestInteger || *number > std::numeric_limits<int>::max()) {
    reporter.Error("Maximum range exceeded: treating as zero");
    if (value) *value = 0;
    return true;
  }
  if (value) *value = static_cast<int>(*number);
  return true;
}

bool SetSwitch(SuParameter& p, std::string_view text, Reporter& reporter) {
  const std::string word = Lower(Trim(text));
  int on = -1;
  if (word == "on" || word == "true" || word == "yes") on = 1;
  if (word == "off" || word == "false" || word == "no") on = 0;
  if (on < 0) {
    reporter.Error(Format("Switch [%s] given value [%s]; use \"on\" or \"off\"", {p.name, text}));
    return false;
  }
  if (int* value = std::get<int*>(p.value)) *value = on;
  return true;
}

bool SetAction(SuParameter& p, std::string_view text, Reporter& reporter) {
  SuAction* action = std::get<SuAction*>(p.value);
  const int index = OptionIndex(p, text);
  if (action == nullptr || index < 0) {
    reporter.Error(Format("Action [%s]: unrecognised option [%s] ignored", {p.name, text}));
    return false;
  }
  action->current = index;
  if (action->target) *action->target = action->options[static_cast<std::size_t>(index)].value;
  return true;
}

bool SetChoice(SuParameter& p, std::string_view text, Reporter& reporter) {
  SuChoice* choice = std::get<SuChoice*>(p.value);
  if (choice == nullptr || choice->options.empty()) {
    reporter.Error(
        Format("Choice [%s] has no available options; ignoring attempt to set", {p.name}));
    return false;
  }
  const int index = OptionIndex(p, text);
  if (index < 0) {
    reporter.Error(Format("Choice [%s] given invalid value [%s] (ignored)", {p.name, text}));
    return false;
  }
  choice->current = index;
  return true;
}

bool Store(SuParameter& p, std::string_view text, Reporter& reporter) {
  switch (p.type) {
    case SuType::kInteger:
      return SetInteger(p, text, reporter);
    case SuType::kReal: {
      const auto number = ParseRealNumber(text);
      if (!number) {
        reporter.Error(Format("Real [%s] given value [%s]; use a number", {p.name, text}));
        return false;
      }
      if (double* value = std::get<double*>(p.value)) *value = *number;
      return true;
    }
    case SuType::kString:
      if (std::string* value = std::get<std::string*>(p.value)) value->assign(text);
      return true;
    case SuType::kAction:
      return SetAction(p, text, reporter);
    case SuType::kSwitch:
      return SetSwitch(p, text, reporter);
    case SuType::kChoice:
      return SetChoice(p, text, reporter);
    case SuType::kLong: {
      const auto number = ParseWholeNumber(text);
      if (!number || *number < std::numeric_limits<long>::min() ||
          *number > std::numeric_limits<long>::max()) {
        reporter.Error(Format("Integer [%s] given value [%s]; use a whole number", {p.name, text}));
        return false;
      }
      if (long* value = std::get<long*>(p.value)) *value = static_cast<long>(*number);
      return true;
    }
    default:
      return false;
  }
}

// The value pointer of the kind, or null when the parameter has another
// shape (a table error, never a crash).
template <typename T>
T* ValueOf(const SuParameter& p) {
  T* const* held = std::get_if<T*>(&p.value);
  return held ? *held : nullptr;
}

}  // namespace

std::optional<long long> ParseWholeNumber(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  long long value = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

std::optional<double> ParseRealNumber(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

bool SetFromText(SuParameter& parameter, std::string_view text, Reporter& reporter) {
  // A table entry whose value has another shape than its kind is refused
  // like a bad text, never dereferenced.
  bool stored = false;
  try {
    stored = Store(parameter, text, reporter);
  } catch (const std::bad_variant_access&) {
    stored = false;
  }
  if (parameter.change) parameter.change(parameter);
  return stored;
}

std::string ToText(const SuParameter& p) {
  switch (p.type) {
    case SuType::kInteger:
      if (const int* v = ValueOf<int>(p)) return std::to_string(*v);
      return "";
    case SuType::kReal:
      if (const double* v = ValueOf<double>(p)) return RealText(*v, 4);
      return "";
    case SuType::kString:
      if (const std::string* v = ValueOf<std::string>(p)) return *v;
      return "";
    case SuType::kAction:
    case SuType::kChoice:
      return OptionName(p, CurrentOption(p)).value_or("");
    case SuType::kSwitch:
      if (const int* v = ValueOf<int>(p)) return *v ? "on" : "off";
      return "";
    case SuType::kLong:
      if (const long* v = ValueOf<long>(p)) return std::to_string(*v);
      return "";
    default:
      return "";
  }
}

std::string DumpLine(const SuParameter& p) {
  char name[64];
  std::snprintf(name, sizeof name, "%30s", p.name.substr(0, 60).c_str());
  std::string line = name;
  switch (p.type) {
    case SuType::kInteger:
    case SuType::kLong:
    case SuType::kAction:
    case SuType::kChoice:
      return line + "  " + ToText(p) + "\n";
    case SuType::kReal:
      if (const double* v = ValueOf<double>(p)) return line + "  " + RealText(*v, 6) + "\n";
      return line + "\n";
    case SuType::kString:
      if (ValueOf<std::string>(p) == nullptr) return line + "\n";
      return line + "  " + ToText(p) + "\n";
    case SuType::kSwitch:
      return line + " " + ToText(p) + "\n";
    default:
      return line + "\n";
  }
}

bool SameValue(std::string_view text, const SuParameter& p) {
  switch (p.type) {
    case SuType::kInteger:
    case SuType::kLong: {
      const auto number = ParseWholeNumber(text);
      const std::string stored = ToText(p);
      return number && std::to_string(*number) == stored;
    }
    case SuType::kReal: {
      const double* v = ValueOf<double>(p);
      const auto number = ParseRealNumber(text);
      return v && number && *number == *v;
    }
    case SuType::kString:
      return text == ToText(p);
    case SuType::kSwitch: {
      const int* v = ValueOf<int>(p);
      const std::string word = Lower(Trim(text));
      return v && ((word == "on" && *v == 1) || (word == "off" && *v == 0));
    }
    case SuType::kAction:
    case SuType::kChoice:
      return text == ToText(p);
    default:
      return true;
  }
}

bool IsEdited(std::string_view field_text, const SuParameter& parameter) {
  return field_text != ToText(parameter);
}

int OptionCount(const SuParameter& p) {
  if (p.type == SuType::kAction) {
    const SuAction* a = ValueOf<SuAction>(p);
    return a ? static_cast<int>(a->options.size()) : 0;
  }
  if (p.type == SuType::kChoice) {
    const SuChoice* c = ValueOf<SuChoice>(p);
    return c ? static_cast<int>(c->options.size()) : 0;
  }
  return 0;
}

std::optional<std::string> OptionName(const SuParameter& p, int index) {
  if (index < 0 || index >= OptionCount(p)) return std::nullopt;
  const auto i = static_cast<std::size_t>(index);
  if (p.type == SuType::kAction) return ValueOf<SuAction>(p)->options[i].name;
  return ValueOf<SuChoice>(p)->options[i];
}

int OptionIndex(const SuParameter& p, std::string_view name) {
  for (int i = 0; i < OptionCount(p); ++i) {
    if (OptionName(p, i) == name) return i;
  }
  return -1;
}

int CurrentOption(const SuParameter& p) {
  int current = -1;
  if (p.type == SuType::kAction) {
    if (const SuAction* a = ValueOf<SuAction>(p)) current = a->current;
  } else if (p.type == SuType::kChoice) {
    if (const SuChoice* c = ValueOf<SuChoice>(p)) current = c->current;
  }
  // An index the option lists (from an editable message file) do not reach
  // is no option.
  return current >= 0 && current < OptionCount(p) ? current : -1;
}

}  // namespace tavrin::gui
