#include "option_lists.h"

namespace tavrin::app {

void FillOptionLists(gui::ParameterTable& parameters, const std::vector<OptionSource>& sources,
                     const MessageTable& messages, gui::Reporter& reporter) {
  for (const OptionSource& source : sources) {
    gui::SuParameter* p = parameters.Find(source.parameter);
    if (p == nullptr) continue;
    std::vector<std::string> texts = messages.Options(source.message);
    if (gui::SuChoice** choice = std::get_if<gui::SuChoice*>(&p->value); choice && *choice) {
      (*choice)->options = std::move(texts);
      if ((*choice)->options.empty()) {
        reporter.Warning("Message " + std::to_string(source.message) + " gives " +
                         source.parameter + " no options");
      }
      continue;
    }
    if (gui::SuAction** action = std::get_if<gui::SuAction*>(&p->value); action && *action) {
      // The program knows how many options an action has and what each
      // means; the file only names them.
      std::vector<gui::SuAction::Option>& options = (*action)->options;
      if (texts.size() != options.size()) {
        reporter.Warning("Message " + std::to_string(source.message) + " names " +
                         std::to_string(texts.size()) + " options of " + source.parameter +
                         ", not " + std::to_string(options.size()));
      }
      for (std::size_t i = 0; i < options.size(); ++i) {
        options[i].name = i < texts.size() ? texts[i] : "option " + std::to_string(i + 1);
      }
    }
  }
}

}  // namespace tavrin::app
