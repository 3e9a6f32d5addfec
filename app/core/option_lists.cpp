#include "option_lists.h"

namespace tavrin::app {
namespace {

// Reports a list of another length than the program reads, then pads it
// with "option N" or cuts it, so that every index the program uses names an
// option and none names more.
std::vector<std::string> MadeToFit(std::vector<std::string> texts, std::size_t count,
                                   const OptionSource& source, gui::Reporter& reporter) {
  if (texts.size() != count) {
    reporter.Warning("Message " + std::to_string(source.message) + " names " +
                     std::to_string(texts.size()) + " options of " + source.parameter + ", not " +
                     std::to_string(count));
  }
  for (std::size_t i = texts.size(); i < count; ++i) {
    texts.push_back("option " + std::to_string(i + 1));
  }
  texts.resize(count);
  return texts;
}

}  // namespace

void FillOptionLists(gui::ParameterTable& parameters, const std::vector<OptionSource>& sources,
                     const MessageTable& messages, gui::Reporter& reporter) {
  for (const OptionSource& source : sources) {
    gui::SuParameter* p = parameters.Find(source.parameter);
    if (p == nullptr) continue;
    std::vector<std::string> texts = messages.Options(source.message);
    if (gui::SuChoice** choice = std::get_if<gui::SuChoice*>(&p->value); choice && *choice) {
      if (source.options > 0) {
        texts =
            MadeToFit(std::move(texts), static_cast<std::size_t>(source.options), source, reporter);
      } else if (texts.empty()) {
        reporter.Warning("Message " + std::to_string(source.message) + " gives " +
                         source.parameter + " no options");
      }
      (*choice)->options = std::move(texts);
      continue;
    }
    if (gui::SuAction** action = std::get_if<gui::SuAction*>(&p->value); action && *action) {
      // The program knows how many options an action has and what each
      // means; the file only names them.
      std::vector<gui::SuAction::Option>& options = (*action)->options;
      texts = MadeToFit(std::move(texts), options.size(), source, reporter);
      for (std::size_t i = 0; i < options.size(); ++i) options[i].name = texts[i];
    }
  }
}

}  // namespace tavrin::app
