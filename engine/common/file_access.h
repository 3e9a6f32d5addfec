#pragma once

// Opening the files the engine reads, and the text of a failed file
// operation: the system's message, then the file and the reason, so that a
// user reads "Cannot open Data Set file for reading: iris.pat: No such file
// or directory" rather than guessing.

#include <filesystem>
#include <fstream>
#include <istream>
#include <memory>
#include <string>
#include <string_view>

#include "common/status.h"

namespace tavrin {

// "<message>: <file name>: <reason>"; without the reason when it is empty.
std::string FileMessage(std::string_view message, const std::filesystem::path& path,
                        std::string_view reason);

// The same with the system's text for an errno value (none for 0).
std::string FileMessage(std::string_view message, const std::filesystem::path& path, int error);

// Opens `path` for reading in binary mode: a regular file, or a FIFO or a
// character device, which readers take in one pass. A directory or another
// kind of file, or a failed open, is refused with FileMessage(message, ...).
[[nodiscard]] Status OpenForReading(const std::filesystem::path& path, std::ifstream& in,
                                    std::string_view message);

// Opens like OpenForReading, for readers that must know the size of what
// they read: a pipe, which cannot tell it, is read whole into memory first.
// Null after a refusal.
std::unique_ptr<std::istream> OpenSizedForReading(const std::filesystem::path& path,
                                                  std::string_view message);

}  // namespace tavrin
