#pragma once

struct KvmFile;

namespace kvm {

// Writes the complete new file (header sections, padding to the data area,
// the data) to a temporary file in the data file's directory, gives it the
// data file's permissions, syncs it and renames it over the data file. The
// data file is untouched unless every step succeeded. Unlike copying the new
// contents back over the data file and cutting it, a failure at any point
// cannot leave a half-written data file behind.
bool WriteBack(KvmFile& file);

}  // namespace kvm
