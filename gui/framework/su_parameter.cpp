#include "su_parameter.h"

#include <algorithm>

namespace tavrin::gui {
namespace {

std::string WithName(std::string_view format, std::string_view name) {
  std::string text(format);
  const std::size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, name);
  return text;
}

template <typename Option, typename NameOf>
void MergeOptions(std::vector<Option>& into, const std::vector<Option>& more, NameOf name_of) {
  for (const Option& option : more) {
    auto same = std::find_if(into.begin(), into.end(),
                             [&](const Option& o) { return name_of(o) == name_of(option); });
    if (same != into.end()) {
      *same = option;
    } else {
      into.push_back(option);
    }
  }
}

}  // namespace

bool IsValueKind(SuType type) {
  const int code = static_cast<int>(type);
  return code >= 1 && code <= 7;
}

ParameterTable::ParameterTable(std::vector<SuParameter> parameters) {
  parameters_.reserve(parameters.size());
  for (SuParameter& p : parameters)
    parameters_.push_back(std::make_unique<SuParameter>(std::move(p)));
}

SuParameter* ParameterTable::Find(std::string_view name) {
  for (auto& p : parameters_) {
    if (p->name == name) return p.get();
  }
  return nullptr;
}

const SuParameter* ParameterTable::Find(std::string_view name) const {
  return const_cast<ParameterTable*>(this)->Find(name);
}

int ParameterTable::IndexOf(const SuParameter* parameter) const {
  for (std::size_t i = 0; i < parameters_.size(); ++i) {
    if (parameters_[i].get() == parameter) return static_cast<int>(i);
  }
  return -1;
}

SuParameter* ParameterTable::At(int index) {
  if (index < 0 || index >= size()) return nullptr;
  return parameters_[static_cast<std::size_t>(index)].get();
}

void ParameterTable::Merge(std::vector<SuParameter> more, Reporter& reporter) {
  for (SuParameter& p : more) {
    SuParameter* old = Find(p.name);
    if (old == nullptr) {
      parameters_.push_back(std::make_unique<SuParameter>(std::move(p)));
      continue;
    }
    const bool extendible = old->type == SuType::kAction || old->type == SuType::kChoice;
    if (old->type != p.type) {
      reporter.Error(WithName("Can't re-register parameter <%s>; type has changed", p.name));
      continue;
    }
    if (!extendible) {
      reporter.Error(WithName("Can't re-register parameter <%s>; not an extendible type", p.name));
      continue;
    }
    if (old->type == SuType::kAction) {
      SuAction* const* into = std::get_if<SuAction*>(&old->value);
      SuAction* const* from = std::get_if<SuAction*>(&p.value);
      if (into && *into && from && *from) {
        MergeOptions((*into)->options, (*from)->options,
                     [](const SuAction::Option& o) { return o.name; });
      }
    } else {
      SuChoice* const* into = std::get_if<SuChoice*>(&old->value);
      SuChoice* const* from = std::get_if<SuChoice*>(&p.value);
      if (into && *into && from && *from) {
        MergeOptions((*into)->options, (*from)->options, [](const std::string& o) { return o; });
      }
    }
    if (p.change) old->change = std::move(p.change);
  }
}

}  // namespace tavrin::gui
