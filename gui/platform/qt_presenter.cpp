#include "qt_presenter.h"

#include <QMessageBox>
#include <iostream>

namespace tavrin::gui {
namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void QtPresenter::ShowBox(Box kind, std::string_view title, std::string_view text) {
  QMessageBox box(frame_);
  box.setWindowTitle(Text(title));
  box.setText(Text(text));
  box.setIcon(kind == Box::kInformation ? QMessageBox::Information
              : kind == Box::kWarning   ? QMessageBox::Warning
                                        : QMessageBox::Critical);
  box.exec();
}

Presenter::Answer QtPresenter::Ask(std::string_view title, std::string_view text) {
  const auto answer =
      QMessageBox::question(frame_, Text(title), Text(text), QMessageBox::Ok | QMessageBox::Cancel);
  return answer == QMessageBox::Ok ? Answer::kOk : Answer::kCancel;
}

Presenter::SaveAnswer QtPresenter::AskSave(std::string_view title, std::string_view text) {
  switch (QMessageBox::question(frame_, Text(title), Text(text),
                                QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                QMessageBox::Save)) {
    case QMessageBox::Save:
      return SaveAnswer::kSave;
    case QMessageBox::Discard:
      return SaveAnswer::kDiscard;
    default:
      return SaveAnswer::kCancel;
  }
}

bool QtPresenter::ShowStatus(std::string_view text) {
  if (!frame_) return false;
  frame_->SetStatus(Text(text).trimmed());
  return true;
}

void RecordingPresenter::ShowBox(Box kind, std::string_view title, std::string_view text) {
  boxes.push_back({kind, std::string(title), std::string(text)});
  if (echo_) std::cerr << prefix_ << title << ": " << text << "\n";
}

Presenter::Answer RecordingPresenter::Ask(std::string_view title, std::string_view text) {
  boxes.push_back({Box::kInformation, std::string(title), std::string(text)});
  if (echo_) std::cerr << prefix_ << title << ": " << text << " (answered Cancel)\n";
  return Answer::kCancel;
}

Presenter::SaveAnswer RecordingPresenter::AskSave(std::string_view title, std::string_view text) {
  boxes.push_back({Box::kInformation, std::string(title), std::string(text)});
  SaveAnswer answer = SaveAnswer::kCancel;
  if (!save_answers.empty()) {
    answer = save_answers.front();
    save_answers.erase(save_answers.begin());
  }
  static constexpr const char* kNames[] = {"Save", "Discard", "Cancel"};
  if (echo_) {
    std::cerr << prefix_ << title << ": " << text << " (answered "
              << kNames[static_cast<int>(answer)] << ")\n";
  }
  return answer;
}

bool RecordingPresenter::ShowStatus(std::string_view text) {
  if (!frame_) return false;
  frame_->SetStatus(Text(text).trimmed());
  return true;
}

}  // namespace tavrin::gui
