#pragma once

// Where the program's messages appear: message boxes and the status line on
// the desktop; a log in a script run or a test.

#include <string_view>

namespace tavrin::gui {

class Presenter {
 public:
  enum class Box { kError, kWarning, kInformation, kFatal };
  enum class Answer { kOk, kCancel };
  enum class SaveAnswer { kSave, kDiscard, kCancel };

  virtual ~Presenter() = default;
  virtual void ShowBox(Box kind, std::string_view title, std::string_view text) = 0;
  // OK/Cancel; a presenter that cannot ask answers Cancel.
  virtual Answer Ask(std::string_view title, std::string_view text) = 0;
  // Save/Discard/Cancel before unsaved work would be lost; one that cannot
  // ask answers Cancel.
  virtual SaveAnswer AskSave(std::string_view title, std::string_view text) = 0;
  // False when there is no status line (yet).
  virtual bool ShowStatus(std::string_view text) = 0;
};

}  // namespace tavrin::gui
