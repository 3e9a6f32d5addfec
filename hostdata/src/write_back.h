#pragma once

#include <string>

struct KvmFile;

namespace kvm {

// Writes the complete new file (header sections, padding to the data area,
// the data) to a temporary file in the data file's directory, gives it the
// data file's permissions, syncs it and renames it over the data file. The
// data file is untouched unless every step succeeded. Unlike copying the new
// contents back over the data file and cutting it, a failure at any point
// cannot leave a half-written data file behind.
// The new file has no name until it is complete where the file system allows
// (O_TMPFILE); elsewhere it is named ".kvmdev32-XXXXXX" and locked while open.
bool WriteBack(KvmFile& file);

// Removes the new files that a write-back into the directory of `path` left
// when its process died (only possible where new files must be named).
void RemoveStaleWriteBacks(const std::string& path);

}  // namespace kvm
