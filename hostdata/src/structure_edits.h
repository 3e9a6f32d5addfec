#pragma once

// Inserting and deleting variables and cases, and changing the case name
// length: each rebuilds the data records and the header sections together and
// changes nothing when it fails. Arguments are the exports' 1-based numbers.

#include <cstdint>
#include <vector>

#include "header_sections.h"

struct KvmFile;

namespace kvm {

// A new case: the case name as zeros, then each variable's missing code.
std::vector<std::uint8_t> BlankRecord(const HeaderSections& sections);

bool InsertVariables(KvmFile& file, std::int32_t position, std::int32_t count);
bool DeleteVariables(KvmFile& file, std::int32_t first, std::int32_t last);
bool InsertCases(KvmFile& file, std::int32_t position, std::int32_t count);
bool DeleteCases(KvmFile& file, std::int32_t first, std::int32_t last);
bool ChangeCaseNameLength(KvmFile& file, std::int32_t length);

}  // namespace kvm
