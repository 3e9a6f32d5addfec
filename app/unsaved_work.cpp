// Save, Discard or Cancel before unsaved work would be lost: on exit and
// before a new network, data set or network set replaces the current one.

#include <QFileDialog>
#include <filesystem>
#include <functional>

#include "data/data_set_files.h"
#include "engine_messages.h"
#include "network/network_file.h"
#include "program.h"

namespace tavrin::app {

namespace {

struct UnsavedWork {
  Program::Work work;
  bool* unsaved;
  std::string what;   // as the question names it
  std::string* file;  // null: this work cannot be saved yet
  std::function<Status(const std::string&)> save;
};

}  // namespace

std::optional<std::string> Program::ChooseFile(bool save, std::string_view what) {
  const auto& chooser = save ? options_.choose_save_file : options_.choose_open_file;
  if (chooser) return chooser(what);
  const QString caption = QString::fromStdString((save ? "Save " : "Open ") + std::string(what));
  const QString name = save ? QFileDialog::getSaveFileName(frame_.get(), caption)
                            : QFileDialog::getOpenFileName(frame_.get(), caption);
  if (name.isEmpty()) return std::nullopt;
  return name.toStdString();
}

bool Program::MayLoseWork(unsigned which) {
  const std::vector<UnsavedWork> works = {
      {kNetworkWork, &state_.unsaved_network, "the network", &state_.network_file,
       [this](const std::string& path) { return WriteNetworkFile(*state_.network, path); }},
      {kDataWork, &state_.unsaved_data, "the data set", &state_.data_file,
       [this](const std::string& path) {
         return SaveDataSet(*state_.data, path, FormatFromName(path), DelimitedOptions{});
       }},
      {kSetWork, &state_.unsaved_set, "the network set", nullptr, nullptr},
  };
  const std::string caption = message_table_.Text(gui::msg::kCaption);
  for (const UnsavedWork& w : works) {
    if ((which & w.work) == 0 || !*w.unsaved) continue;
    std::string question = "Save the changes to " + w.what;
    if (w.file && !w.file->empty()) {
      question += " (" + std::filesystem::path(*w.file).filename().string() + ")";
    }
    switch (presenter_->AskSave(caption, question + "?")) {
      case gui::Presenter::SaveAnswer::kCancel:
        return false;
      case gui::Presenter::SaveAnswer::kDiscard:
        continue;
      case gui::Presenter::SaveAnswer::kSave:
        break;
    }
    if (!w.save) {
      services_->Error("Saving " + w.what + " is not available yet.");
      return false;
    }
    std::string path = *w.file;
    if (path.empty()) {
      const std::optional<std::string> chosen = ChooseFile(true, w.what);
      if (!chosen) return false;
      path = *chosen;
    }
    CaughtEngineMessages caught;
    if (!w.save(path)) {
      // Nothing is lost: the user stays with the work and its message.
      services_->Error(caught.last());
      return false;
    }
    *w.file = path;
    *w.unsaved = false;
    services_->Status("Saved " + std::filesystem::path(path).filename().string());
  }
  return true;
}

}  // namespace tavrin::app
