#include "analysis/temporary_set_file.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>

#include "common/messages.h"

namespace tavrin {

TemporarySetFile::~TemporarySetFile() {
  if (path_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove(path_, ignored);
}

Status TemporarySetFile::Create() {
  const char* directory = std::getenv("TMPDIR");
  if (directory == nullptr || *directory == '\0') directory = "/tmp";
  std::string name = (std::filesystem::path(directory) / "BNTXXXXXX").string();
  const int fd = mkstemp(name.data());
  if (fd < 0) return Fail(kCannotCreateTemporarySet);
  close(fd);
  path_ = name;
  return Status::Ok();
}

}  // namespace tavrin
