#include "table_builder.h"

namespace tavrin::app {

using gui::SuType;

TableBuilder::TableBuilder(const ProgramState& state, const ProgramActions& actions)
    : state_(state), actions_(actions) {}

TableBuilder::Entry& TableBuilder::Entry::When(Availability rule) {
  parameter().available = AvailableWhen(builder_.state_, rule);
  return *this;
}

TableBuilder::Entry& TableBuilder::Entry::Does(gui::ChangeCallback ProgramActions::*action) {
  parameter().change = builder_.Shell(action);
  return *this;
}

TableBuilder::Entry& TableBuilder::Entry::OnChange(gui::ChangeCallback change) {
  parameter().change = std::move(change);
  return *this;
}

gui::ChangeCallback TableBuilder::Shell(gui::ChangeCallback ProgramActions::*action) const {
  const gui::ChangeCallback& given = actions_.*action;
  return given ? given : actions_.not_available_yet;
}

TableBuilder::Entry TableBuilder::Add(const char* name, gui::SuValue value, SuType type,
                                      gui::ChangeCallback change) {
  table_.parameters.push_back({name, std::move(value), std::move(change), type, nullptr});
  return Entry(*this, table_.parameters.size() - 1);
}

TableBuilder::Entry TableBuilder::Integer(const char* name, int& value) {
  return Add(name, &value, SuType::kInteger, nullptr);
}

TableBuilder::Entry TableBuilder::Long(const char* name, long& value) {
  return Add(name, &value, SuType::kLong, nullptr);
}

TableBuilder::Entry TableBuilder::Real(const char* name, double& value) {
  return Add(name, &value, SuType::kReal, nullptr);
}

TableBuilder::Entry TableBuilder::Text(const char* name, std::string& value) {
  return Add(name, &value, SuType::kString, nullptr);
}

TableBuilder::Entry TableBuilder::Switch(const char* name, int& value) {
  return Add(name, &value, SuType::kSwitch, nullptr);
}

TableBuilder::Entry TableBuilder::Choice(const char* name, gui::SuChoice& choice,
                                         OptionList options) {
  table_.option_sources.push_back({name, options.message, options.options});
  return Add(name, &choice, SuType::kChoice, nullptr);
}

TableBuilder::Entry TableBuilder::Action(const char* name, gui::SuAction& action, int& target,
                                         int message) {
  action.target = &target;
  table_.option_sources.push_back({name, message});
  return Add(name, &action, SuType::kAction, nullptr);
}

TableBuilder::Entry TableBuilder::Button(const char* name) {
  return Add(name, {}, SuType::kButton, actions_.not_available_yet);
}

TableBuilder::Entry TableBuilder::MenuItem(const char* name) {
  return Add(name, {}, SuType::kMenuItem, actions_.not_available_yet);
}

TableBuilder::Entry TableBuilder::ToolButton(const char* name) {
  return Add(name, {}, SuType::kToolButton, Shell(&ProgramActions::open_window_named_by_prompt));
}

TableBuilder::Entry TableBuilder::Display(const char* name, SuType type) {
  return Add(name, gui::SuDisplay{}, type, nullptr);
}

TableBuilder::Entry TableBuilder::WhatIf(const char* name) {
  return Add(name, {}, SuType::kWhatIf, nullptr);
}

}  // namespace tavrin::app
