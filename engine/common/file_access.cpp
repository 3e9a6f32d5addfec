#include "common/file_access.h"

#include <cerrno>
#include <sstream>
#include <system_error>

namespace tavrin {

std::string FileMessage(std::string_view message, const std::filesystem::path& path,
                        std::string_view reason) {
  const std::filesystem::path name = path.has_filename() ? path.filename() : path;
  std::string text(message);
  text += ": ";
  text += name.string();
  if (!reason.empty()) {
    text += ": ";
    text += reason;
  }
  return text;
}

std::string FileMessage(std::string_view message, const std::filesystem::path& path, int error) {
  return FileMessage(message, path, error != 0 ? std::generic_category().message(error) : "");
}

Status OpenForReading(const std::filesystem::path& path, std::ifstream& in,
                      std::string_view message) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::status(path, ec);
  if (ec) return Fail(FileMessage(message, path, ec.value()));
  switch (status.type()) {
    case std::filesystem::file_type::regular:
    case std::filesystem::file_type::fifo:
    case std::filesystem::file_type::character:
      break;
    case std::filesystem::file_type::directory:
      return Fail(FileMessage(message, path, EISDIR));
    default:
      return Fail(FileMessage(message, path, "not a regular file"));
  }
  errno = 0;
  in.open(path, std::ios::binary);
  if (!in) return Fail(FileMessage(message, path, errno));
  return Status::Ok();
}

std::unique_ptr<std::istream> OpenSizedForReading(const std::filesystem::path& path,
                                                  std::string_view message) {
  auto file = std::make_unique<std::ifstream>();
  if (!OpenForReading(path, *file, message)) return nullptr;
  if (file->seekg(0, std::ios::end) && file->seekg(0, std::ios::beg)) return file;
  file->clear();
  auto whole = std::make_unique<std::stringstream>();
  *whole << file->rdbuf();
  whole->clear();
  return whole;
}

}  // namespace tavrin
