#pragma once

// Replaces a file whole or not at all. The content goes to a new temporary
// file in the target's directory (so that the final rename stays on one file
// system) and is renamed over the target only once every byte has been
// written and the file closed; the new file keeps an old one's permission
// bits. A failure or a writer dropped before Commit() leaves the old file as
// it was and removes the temporary one. A target that is a FIFO or a
// character device (a pipe, /dev/stdout) is written directly, never replaced;
// a directory or any other kind of file is refused.

#include <filesystem>
#include <fstream>
#include <string>

#include "common/status.h"

namespace tavrin {

class SafeFileWriter {
 public:
  SafeFileWriter() = default;
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;
  ~SafeFileWriter();

  // Creates the temporary file (or opens the pipe or device). Records
  // `open_message`, with the file and the reason, on failure.
  [[nodiscard]] Status Open(const std::filesystem::path& target, std::string_view open_message);

  // Where the content is written, in binary mode.
  std::ostream& stream() { return out_; }

  // Closes the temporary file and renames it over the target. Records
  // `write_message`, with the file and the reason, when a write, the close
  // or the rename failed.
  [[nodiscard]] Status Commit(std::string_view write_message);

 private:
  void Discard();

  std::filesystem::path target_;
  std::filesystem::path temporary_;  // empty when writing the target directly
  bool direct_ = false;
  bool keep_permissions_ = false;  // an old regular file's bits go to the new one
  std::filesystem::perms permissions_ = std::filesystem::perms::none;
  std::ofstream out_;
};

}  // namespace tavrin
