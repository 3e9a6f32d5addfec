#pragma once

// The file that holds the automatic design search's temporary network set: a
// new file of its own in the temporary directory ($TMPDIR, else /tmp), named
// "BNT" and a unique part, removed when this object goes, on every path.

#include <filesystem>

#include "common/status.h"

namespace tavrin {

class TemporarySetFile {
 public:
  TemporarySetFile() = default;
  TemporarySetFile(const TemporarySetFile&) = delete;
  TemporarySetFile& operator=(const TemporarySetFile&) = delete;
  ~TemporarySetFile();

  // Makes the file (empty) without ever opening an existing one. Records
  // "Internal error: cannot create temporary file for network editing".
  [[nodiscard]] Status Create();

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace tavrin
