#pragma once

// Writes a display's text to a file the safe way: into a temporary file
// beside it, renamed over the old one only when every byte was written.

#include <QString>
#include <string>

namespace tavrin::gui {

// An empty text on success, else what went wrong, for the user.
QString SaveTextFile(const QString& path, const std::string& text);

}  // namespace tavrin::gui
