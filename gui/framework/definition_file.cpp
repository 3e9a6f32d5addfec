#include "definition_file.h"

#include <string>

#include "settings_file.h"
#include "value_text.h"

namespace tavrin::gui {
namespace {

// A number for a layout field; a text that is none leaves the field (and
// says so, as an unknown keyword would).
template <typename T, typename Parse>
bool SetNumber(T& field, std::string_view value, Parse parse) {
  const auto number = parse(value);
  if (!number) return false;
  field = static_cast<T>(*number);
  return true;
}

std::optional<long long> IntegerField(std::string_view text) {
  const auto n = ParseWholeNumber(text);
  if (!n || *n < -2147483647LL || *n > 2147483647LL) return std::nullopt;
  return n;
}

int* IntegerKeyword(SugParameter& e, std::string_view keyword) {
  if (keyword == "left") return &e.left;
  if (keyword == "right") return &e.right;
  if (keyword == "top") return &e.top;
  if (keyword == "bottom") return &e.bottom;
  if (keyword == "width") return &e.width;
  if (keyword == "prompt_width") return &e.prompt_width;
  if (keyword == "height") return &e.height;
  if (keyword == "help_topic") return &e.help_topic;
  if (keyword == "action_message") return &e.action_message;
  return nullptr;
}

double* RealKeyword(SugParameter& e, std::string_view keyword) {
  if (keyword == "left_anchor") return &e.left_anchor;
  if (keyword == "right_anchor") return &e.right_anchor;
  if (keyword == "top_anchor") return &e.top_anchor;
  if (keyword == "bottom_anchor") return &e.bottom_anchor;
  if (keyword == "increment") return &e.increment;
  return nullptr;
}

}  // namespace

void DefinitionHandler::Warn(int message, std::string_view detail) {
  std::string text = reporter_.Message(message);
  if (!detail.empty()) text += " [" + std::string(detail) + "]";
  reporter_.Warning(text);
}

void DefinitionHandler::Line(std::string_view line) {
  const KeywordValue kv = SplitKeywordValue(line);
  if (kv.keyword.empty()) return;
  if (current_ < 0) {
    if (kv.keyword != "define") {
      Warn(msg::kKeywordOutsideDefine, kv.keyword);
      return;
    }
    SugParameter& element = elements_.Add();
    current_ = elements_.size() - 1;
    skipping_ = false;
    if (!kv.value.empty()) {
      element.parameter = parameters_.Find(kv.value);
      if (element.parameter == nullptr) {
        Warn(msg::kUnknownParameter, kv.value);
        skipping_ = true;
      }
    }
    return;
  }
  if (kv.keyword == "enddefine") {
    current_ = -1;
    skipping_ = false;
    return;
  }
  if (!skipping_) Keyword(elements_[current_], kv.keyword, kv.value);
}

void DefinitionHandler::Keyword(SugParameter& e, std::string_view keyword, std::string_view value) {
  if (int* field = IntegerKeyword(e, keyword)) {
    if (!SetNumber(*field, value, IntegerField)) Warn(msg::kUnknownKeyword, keyword);
    return;
  }
  if (double* field = RealKeyword(e, keyword)) {
    if (!SetNumber(*field, value, ParseRealNumber)) Warn(msg::kUnknownKeyword, keyword);
    return;
  }
  if (keyword == "window_type") {
    const auto n = ParseWholeNumber(value);
    if (n && *n >= 0 && *n <= 2) {
      e.window_type = static_cast<WindowType>(*n);
    } else {
      Warn(msg::kUnknownKeyword, keyword);
    }
    return;
  }
  if (keyword == "prompt") {
    e.prompt.assign(value);
    e.has_prompt = true;
    e.mnemonic = MnemonicOf(e.prompt);
    return;
  }
  if (keyword == "style") {
    if (value == "radio") e.style = ElementStyle::kRadio;
    if (value == "list") e.style = ElementStyle::kList;
    if (value == "read_only") e.style = ElementStyle::kReadOnly;
    if (value == "banner") e.style = ElementStyle::kBanner;
    return;
  }
  if (keyword == "menu") {
    e.menu.assign(value);
    e.has_menu = true;
    return;
  }
  if (keyword == "window") {
    e.window.assign(value);
    e.has_window = true;
    return;
  }
  if (keyword == "tip") {
    e.tip.assign(value);
    return;
  }
  if (keyword == "description") {
    e.description.assign(value);
    return;
  }
  if (keyword == "value") {
    // Only values: a button or a menu command named here would run its
    // action while the file is read, before any window exists.
    if (e.parameter == nullptr) {
      Warn(msg::kValueWithoutParameter, keyword);
    } else if (!IsValueKind(e.parameter->type)) {
      Warn(msg::kUnknownKeyword, keyword);
    } else {
      SetFromText(*e.parameter, value, reporter_);
    }
    return;
  }
  Warn(e.parameter ? msg::kUnknownKeyword : msg::kUnknownKeywordWithoutParameter, keyword);
}

void LoadDefinitions(std::istream& in, ParameterTable& parameters, ElementTable& elements,
                     Reporter& reporter) {
  SettingsLines lines(in, [&](long number) {
    reporter.Warning(reporter.Message(msg::kLineTooLong) + " [line " + std::to_string(number) +
                     "]");
  });
  DefinitionHandler handler(parameters, elements, reporter);
  bool in_layout = false;
  std::string line;
  while (lines.Next(line)) {
    if (!line.empty() && line.front() == '#') {
      const SectionKind kind = KindOfLine(line);
      if (kind != SectionKind::kNotAHeader) in_layout = kind == SectionKind::kLayout;
      continue;
    }
    if (in_layout) handler.Line(line);
  }
}

namespace {

struct BuiltIn {
  const char* name;
  int left, bottom, width;
  int option;  // index into the prompts list, or -1
};

SugParameter& AddBuiltIn(ParameterTable& parameters, ElementTable& elements, std::string_view name,
                         std::string_view menu, std::string_view window, WindowType type) {
  SugParameter& e = elements.Add();
  e.parameter = parameters.Find(name);
  e.menu.assign(menu);
  e.has_menu = true;
  e.window.assign(window);
  e.has_window = true;
  e.window_type = type;
  return e;
}

std::vector<std::string> Options(const Reporter& reporter, int message) {
  std::vector<std::string> options;
  const std::string text = reporter.Message(message);
  std::size_t start = 0;
  while (true) {
    const std::size_t bar = text.find('|', start);
    options.push_back(text.substr(start, bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  return options;
}

void SetPrompt(SugParameter& e, std::string_view prompt) {
  e.prompt.assign(prompt);
  e.has_prompt = true;
  e.mnemonic = MnemonicOf(e.prompt);
}

}  // namespace

void AddBuiltInElements(ParameterTable& parameters, ElementTable& elements, Reporter& reporter) {
  const std::string about_menu = reporter.Message(msg::kAboutMenu);
  const std::string about_caption = reporter.Message(msg::kAboutCaption);
  SugParameter& close =
      AddBuiltIn(parameters, elements, "close", about_menu, about_caption, WindowType::kPopUp);
  close.left = 420;
  close.bottom = 190;
  close.width = 120;
  SetPrompt(close, reporter.Message(msg::kAboutClose));
  if (close.mnemonic == 0) close.mnemonic = 'c';
  SugParameter& about =
      AddBuiltIn(parameters, elements, "zzz_about", about_menu, about_caption, WindowType::kPopUp);
  about.width = 680;
  about.height = 413;
  about.right_anchor = 1.0;
  about.bottom_anchor = 1.0;
  about.style = ElementStyle::kFrameless;
  SetPrompt(about, "");

  const std::vector<std::string> prompts = Options(reporter, msg::kBuiltInPrompts);
  auto prompt = [&](std::size_t i) { return i < prompts.size() ? prompts[i] : std::string(); };
  const std::string web_caption = reporter.Message(msg::kWebPageCaption);
  SugParameter& clipboard = AddBuiltIn(parameters, elements, "webpage_clipboard", ":WEB Page",
                                       web_caption, WindowType::kPopUp);
  clipboard.left = 100;
  clipboard.bottom = 100;
  clipboard.width = 250;
  SetPrompt(clipboard, prompt(0));
  SugParameter& address = AddBuiltIn(parameters, elements, "webpage_address", ":WEB Page",
                                     web_caption, WindowType::kPopUp);
  address.left = 100;
  address.bottom = 75;
  address.width = 250;
  address.style = ElementStyle::kReadOnly;
  SugParameter& descrip = AddBuiltIn(parameters, elements, "webpage_descrip", ":WEB Page",
                                     web_caption, WindowType::kPopUp);
  descrip.left = 10;
  descrip.top = 10;
  descrip.width = 500;
  descrip.height = 50;
  descrip.style = ElementStyle::kFrameless;

  const std::string long_caption = reporter.Message(msg::kLongVarCaption);
  const BuiltIn long_var[] = {{"longvar_ok", 150, 94, 120, 1},
                              {"longvar_cancel", 350, 94, 120, 2},
                              {"longvar_options", 550, 94, 120, 3},
                              {"longvar_suppress", 150, 110, 300, 4}};
  for (const BuiltIn& b : long_var) {
    SugParameter& e = AddBuiltIn(parameters, elements, b.name, ":Long Var", long_caption,
                                 WindowType::kModalPopUp);
    e.left = b.left;
    e.bottom = b.bottom;
    e.width = b.width;
    e.help_topic = 67;
    SetPrompt(e, prompt(static_cast<std::size_t>(b.option)));
  }
  SugParameter& message = AddBuiltIn(parameters, elements, "longvar_message", ":Long Var",
                                     long_caption, WindowType::kModalPopUp);
  message.left = 10;
  message.top = 10;
  message.width = 930;
  message.height = 60;
  message.style = ElementStyle::kFrameless;
  message.help_topic = 67;
}

}  // namespace tavrin::gui
