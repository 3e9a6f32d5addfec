#include "structure_edits.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "byte_order.h"
#include "host_file.h"
#include "names_and_labels.h"

namespace kvm {
namespace {

std::int64_t SameCase(std::int64_t index) {
  return index;
}

}  // namespace

std::vector<std::uint8_t> BlankRecord(const HeaderSections& sections) {
  std::vector<std::uint8_t> record(sections.RecordSize(), 0);
  std::uint8_t* values = record.data() + sections.case_name_length;
  for (const Variable& var : sections.variables) {
    StoreF64(values, var.missing_code);
    values += 8;
  }
  return record;
}

bool InsertVariables(KvmFile& file, std::int32_t position, std::int32_t count) {
  const std::int32_t n = file.sections.variable_count();
  if (position < 0 || position > n || count < 1 || count > kMaxVariables - n) return false;

  // The new sections are complete before the data change, so that nothing
  // can fail between the two.
  HeaderSections next = file.sections;
  std::vector<Variable> added(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) added[i].name = GeneratedName("NEWVAR", i + 1);
  next.variables.insert(next.variables.begin() + position, added.begin(), added.end());

  const std::size_t name_bytes = static_cast<std::size_t>(file.sections.case_name_length);
  const std::size_t before = name_bytes + 8 * static_cast<std::size_t>(position);
  const std::size_t after = 8 * static_cast<std::size_t>(n - position);
  const std::vector<std::uint8_t> blank = BlankRecord(next);
  const auto reshape = [&](const std::uint8_t* from, std::uint8_t* to) {
    std::memcpy(to, from, before);
    std::memcpy(to + before, blank.data() + before, 8 * static_cast<std::size_t>(count));
    std::memcpy(to + before + 8 * static_cast<std::size_t>(count), from + before, after);
  };
  DataShape to = file.shape();
  to.variables += count;
  if (!file.data.Rebuild(file.shape(), to, SameCase, reshape, blank)) return false;
  file.sections = std::move(next);
  file.header_changed = true;
  return true;
}

bool DeleteVariables(KvmFile& file, std::int32_t first, std::int32_t last) {
  const std::int32_t n = file.sections.variable_count();
  if (first < 1 || first > last || last > n || last - first + 1 >= n) return false;

  HeaderSections next = file.sections;
  next.variables.erase(next.variables.begin() + (first - 1), next.variables.begin() + last);

  const std::size_t before = static_cast<std::size_t>(file.sections.case_name_length) +
                             8 * static_cast<std::size_t>(first - 1);
  const std::size_t removed = 8 * static_cast<std::size_t>(last - first + 1);
  const std::size_t after = 8 * static_cast<std::size_t>(n - last);
  const auto reshape = [&](const std::uint8_t* from, std::uint8_t* to) {
    std::memcpy(to, from, before);
    std::memcpy(to + before, from + before + removed, after);
  };
  DataShape to = file.shape();
  to.variables = next.variable_count();
  if (!file.data.Rebuild(file.shape(), to, SameCase, reshape, BlankRecord(next))) return false;
  file.sections = std::move(next);
  file.header_changed = true;
  return true;
}

bool InsertCases(KvmFile& file, std::int32_t position, std::int32_t count) {
  const std::int32_t cases = file.sections.cases;
  if (position < 0 || position > cases || count < 1 ||
      count > std::numeric_limits<std::int32_t>::max() - cases) {
    return false;
  }
  const std::size_t size = file.sections.RecordSize();
  const auto source = [&](std::int64_t index) -> std::int64_t {
    if (index < position) return index;
    if (index < position + static_cast<std::int64_t>(count)) return -1;
    return index - count;
  };
  const auto copy = [size](const std::uint8_t* from, std::uint8_t* to) {
    std::memcpy(to, from, size);
  };
  DataShape to = file.shape();
  to.cases += count;
  if (!file.data.Rebuild(file.shape(), to, source, copy, BlankRecord(file.sections))) return false;
  file.sections.cases += count;
  file.header_changed = true;
  return true;
}

bool DeleteCases(KvmFile& file, std::int32_t first, std::int32_t last) {
  const std::int32_t cases = file.sections.cases;
  if (first < 1 || first > last || last > cases || last - first + 1 >= cases) return false;
  const std::int64_t removed = last - first + 1;
  const std::size_t size = file.sections.RecordSize();
  const auto source = [&](std::int64_t index) -> std::int64_t {
    return index < first - 1 ? index : index + removed;
  };
  const auto copy = [size](const std::uint8_t* from, std::uint8_t* to) {
    std::memcpy(to, from, size);
  };
  DataShape to = file.shape();
  to.cases -= removed;
  if (!file.data.Rebuild(file.shape(), to, source, copy, BlankRecord(file.sections))) return false;
  file.sections.cases -= static_cast<std::int32_t>(removed);
  file.header_changed = true;
  return true;
}

bool ChangeCaseNameLength(KvmFile& file, std::int32_t length) {
  if (length < 0 || length > kMaxCaseNameLength) return false;
  const std::int32_t old_length = file.sections.case_name_length;
  if (length == old_length) return true;

  const std::size_t kept = static_cast<std::size_t>(std::min(length, old_length));
  const std::size_t values = 8 * file.sections.variables.size();
  const auto reshape = [&](const std::uint8_t* from, std::uint8_t* to) {
    std::memcpy(to, from, kept);
    std::memset(to + kept, 0, static_cast<std::size_t>(length) - kept);
    std::memcpy(to + length, from + old_length, values);
  };
  DataShape to = file.shape();
  to.case_name_length = length;
  std::vector<std::uint8_t> blank(to.RecordSize(), 0);
  {
    const std::vector<std::uint8_t> old_blank = BlankRecord(file.sections);
    std::memcpy(blank.data() + length, old_blank.data() + old_length, values);
  }
  if (!file.data.Rebuild(file.shape(), to, SameCase, reshape, blank)) return false;
  file.sections.case_name_length = length;
  file.header_changed = true;
  return true;
}

}  // namespace kvm
