#pragma once

// The object behind a handle, and the registry that tells a live handle from
// any other pointer before anything is read through it.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data_store.h"
#include "header_sections.h"
#include "posix_io.h"

struct KvmFile {
  std::array<char, 4> magic{'Z', 'P', 'L', ' '};
  kvm::HeaderSections sections;
  std::string path;  // symbolic links resolved: the write-back replaces the target
  kvm::io::Fd data_file;
  bool writable = false;
  int not_writable = 0;  // why not: the errno of the open for writing
  bool created = false;  // the data file did not exist before KvmCreateFile
  bool header_changed = false;
  kvm::DataStore data;

  kvm::DataShape shape() const {
    return {sections.cases, sections.case_name_length, sections.variable_count()};
  }
  bool changed() const { return header_changed || data.changed(); }
};

namespace kvm {

// Adds a new object to the live handles (may throw std::bad_alloc).
void RegisterHandle(KvmFile* file);
// Removes a handle; false when it was not live.
bool ReleaseHandle(KvmFile* file);
// The object behind `handle` when it is live and carries the magic, else null.
// Never reads through a pointer that is not live.
KvmFile* LiveHandle(KvmFile* handle);

}  // namespace kvm
