// Reads the header sections of a data file that may have been damaged or
// made up: every count is checked against the format's limits and every size
// against the bytes really left before anything is allocated or indexed.

#include <cstring>

#include "byte_order.h"
#include "header_sections.h"

namespace kvm {
namespace {

bool IsAcceptedFileType(std::int32_t type) {
  return type == kOwnFileType || type == -9877 || type == -9869 || type == -9858;
}

// Walks a source front to back and refuses any read past its end.
class Cursor {
 public:
  explicit Cursor(const ByteSource& source) : source_(source) {}

  std::uint64_t position() const { return position_; }
  std::uint64_t left() const { return source_.Size() - position_; }

  bool Read(void* buffer, std::size_t size) {
    if (size > left() || !source_.ReadAt(position_, buffer, size)) return false;
    position_ += size;
    return true;
  }
  // Allocates only once the bytes are known to be there.
  bool ReadBlock(std::uint64_t size, std::vector<std::uint8_t>& block) {
    if (size > left()) return false;
    block.resize(static_cast<std::size_t>(size));
    return Read(block.data(), block.size());
  }
  bool Skip(std::uint64_t size) {
    if (size > left()) return false;
    position_ += size;
    return true;
  }

 private:
  const ByteSource& source_;
  std::uint64_t position_ = 0;
};

struct SizeTable {
  std::array<std::int32_t, 8> entry{};  // entries past L stay 0
  bool has_label_counts() const { return entry[5] != 0; }
  bool has_label_offsets() const { return entry[6] != 0; }
  bool has_long_label_offsets() const { return entry[7] != 0; }
};

struct ExtensionBlock {
  std::int32_t long_name_bytes = 0;
  std::int32_t label_bytes = 0;
  std::int32_t long_label_bytes = 0;
  std::int32_t case_name_length = 0;
  std::int32_t extra_bytes = 0;
};

bool CheckSizeTable(const SizeTable& table, std::int32_t n) {
  const auto& e = table.entry;
  if (e[0] != kExtensionBlockSize || e[1] != static_cast<std::int32_t>(kHeaderTextSize) ||
      e[2] != 8 * n || e[3] != 2 * n || e[4] != 8 * n) {
    return false;
  }
  if (table.has_label_counts() && e[5] != 2 * n) return false;
  // An index without the counts it indexes makes no sense.
  if (table.has_label_offsets() && (!table.has_label_counts() || e[6] != 4 * n)) return false;
  if (table.has_long_label_offsets() && (!table.has_label_counts() || e[7] != 4 * (n + 1))) {
    return false;
  }
  return true;
}

bool CheckExtensionBlock(const ExtensionBlock& ext, const SizeTable& table) {
  if (ext.long_name_bytes < 0 || ext.label_bytes < 0 || ext.long_label_bytes < 0 ||
      ext.extra_bytes < 0 || ext.case_name_length < 0 ||
      ext.case_name_length > kMaxCaseNameLength) {
    return false;
  }
  // Absent sections have size 0.
  if (!table.has_label_counts() && ext.label_bytes != 0) return false;
  if (!table.has_long_label_offsets() && ext.long_label_bytes != 0) return false;
  return true;
}

bool ParseLongNames(const std::vector<std::uint8_t>& block, std::vector<Variable>& variables) {
  std::vector<bool> seen(variables.size(), false);
  std::size_t at = 0;
  while (at < block.size()) {
    if (block.size() - at < kLongNameRecordHead) return false;
    const std::int32_t number = LoadI16(&block[at]);
    const std::size_t length = block[at + 2];
    at += kLongNameRecordHead;
    if (number < 1 || number > static_cast<std::int32_t>(variables.size())) return false;
    if (length < 1 || length > kMaxLongNameLength || length > block.size() - at) return false;
    if (seen[number - 1]) return false;
    seen[number - 1] = true;
    variables[number - 1].long_name.assign(reinterpret_cast<const char*>(&block[at]), length);
    at += length;
  }
  return true;
}

// Reads the long label of one entry from its variable's long-label records.
bool ParseLongLabel(const std::vector<std::uint8_t>& texts, std::uint64_t region_start,
                    std::uint64_t region_size, std::uint16_t offset, std::string& long_label) {
  if (offset >= region_size || region_size - offset < kLongLabelRecordHead) return false;
  const std::uint64_t at = region_start + offset;
  const std::size_t length = texts[at + 4];
  if (length > kMaxLongLabelLength) return false;
  if (region_size - offset - kLongLabelRecordHead < length) return false;
  long_label.assign(reinterpret_cast<const char*>(&texts[at + kLongLabelRecordHead]), length);
  return true;
}

}  // namespace

bool ReadHeaderSections(const ByteSource& source, HeaderSections& out, std::uint64_t* header_end) {
  Cursor in(source);
  std::uint8_t fixed[kFixedPartSize];
  if (!in.Read(fixed, sizeof fixed)) return false;
  if (std::memcmp(fixed, "ZPL ", 4) != 0) return false;

  HeaderSections s;
  s.file_type = LoadI32(fixed + 4);
  s.cases = LoadI32(fixed + 8);
  const std::int32_t n = LoadI16(fixed + 12);
  const std::int32_t entries = LoadI32(fixed + 20);
  if (!IsAcceptedFileType(s.file_type) || s.cases < 0 || n < 1 || n > kMaxVariables ||
      LoadI32(fixed + 16) != kFixedWord || entries < 5 || entries > 8) {
    return false;
  }

  SizeTable table;
  std::uint8_t raw_table[16];
  if (!in.Read(raw_table, 2 * static_cast<std::size_t>(entries))) return false;
  for (std::int32_t i = 0; i < entries; ++i) table.entry[i] = LoadI16(raw_table + 2 * i);
  if (!CheckSizeTable(table, n)) return false;

  std::uint8_t raw_ext[kExtensionBlockSize];
  if (!in.Read(raw_ext, sizeof raw_ext)) return false;
  ExtensionBlock ext{LoadI32(raw_ext), LoadI32(raw_ext + 4), LoadI32(raw_ext + 8),
                     LoadI32(raw_ext + 12), LoadI32(raw_ext + 16)};
  if (!CheckExtensionBlock(ext, table)) return false;
  s.case_name_length = ext.case_name_length;

  if (!in.Read(s.header_text.data(), s.header_text.size())) return false;

  // Fixed per-variable sections: at most 18 x 4092 bytes, checked by Cursor.
  const std::size_t count = static_cast<std::size_t>(n);
  std::vector<std::uint8_t> names, formats, codes;
  if (!in.ReadBlock(8 * count, names) || !in.ReadBlock(2 * count, formats) ||
      !in.ReadBlock(8 * count, codes)) {
    return false;
  }
  s.variables.resize(count);
  for (std::size_t v = 0; v < count; ++v) {
    Variable& var = s.variables[v];
    std::memcpy(var.name.data(), &names[8 * v], kNameSize);
    var.format = LoadU16(&formats[2 * v]);
    var.missing_code = LoadF64(&codes[8 * v]);
  }

  // Label index.
  std::vector<std::uint32_t> label_counts(count, 0);
  std::uint64_t total_labels = 0;
  if (table.has_label_counts()) {
    std::vector<std::uint8_t> raw;
    if (!in.ReadBlock(2 * count, raw)) return false;
    for (std::size_t v = 0; v < count; ++v) {
      const std::int32_t c = LoadI16(&raw[2 * v]);
      if (c < 0 || static_cast<std::size_t>(c) > kMaxLabels) return false;
      label_counts[v] = static_cast<std::uint32_t>(c);
      total_labels += label_counts[v];
    }
  }
  if (static_cast<std::uint64_t>(ext.label_bytes) != total_labels * kLabelEntrySize) return false;
  if (table.has_label_offsets()) {
    std::vector<std::uint8_t> raw;
    if (!in.ReadBlock(4 * count, raw)) return false;
    std::uint64_t expected = 0;
    for (std::size_t v = 0; v < count; ++v) {
      if (static_cast<std::uint64_t>(LoadU32(&raw[4 * v])) != expected) return false;
      expected += label_counts[v] * kLabelEntrySize;
    }
  }
  std::vector<std::uint64_t> long_label_offsets;
  if (table.has_long_label_offsets()) {
    std::vector<std::uint8_t> raw;
    if (!in.ReadBlock(4 * (count + 1), raw)) return false;
    long_label_offsets.resize(count + 1);
    for (std::size_t v = 0; v <= count; ++v) {
      const std::int32_t offset = LoadI32(&raw[4 * v]);
      if (offset < 0) return false;
      long_label_offsets[v] = static_cast<std::uint64_t>(offset);
      if (v > 0) {
        if (long_label_offsets[v] < long_label_offsets[v - 1]) return false;
        // One variable's records: at most 720 of 45 bytes, within a 16-bit offset.
        const std::uint64_t region = long_label_offsets[v] - long_label_offsets[v - 1];
        if (region > kMaxLongLabels * (kLongLabelRecordHead + kMaxLongLabelLength)) return false;
      }
    }
    if (long_label_offsets[0] != 0 ||
        long_label_offsets[count] != static_cast<std::uint64_t>(ext.long_label_bytes)) {
      return false;
    }
  }

  // The variable-length blocks must all be there before any is read.
  const std::uint64_t blocks = static_cast<std::uint64_t>(ext.long_name_bytes) +
                               static_cast<std::uint64_t>(ext.label_bytes) +
                               static_cast<std::uint64_t>(ext.long_label_bytes) +
                               static_cast<std::uint64_t>(ext.extra_bytes);
  if (blocks > in.left()) return false;
  if (static_cast<std::uint64_t>(ext.long_name_bytes) >
      count * (kLongNameRecordHead + kMaxLongNameLength)) {
    return false;
  }

  std::vector<std::uint8_t> long_names, entries_block, texts;
  if (!in.ReadBlock(static_cast<std::uint64_t>(ext.long_name_bytes), long_names) ||
      !ParseLongNames(long_names, s.variables)) {
    return false;
  }
  if (!in.ReadBlock(static_cast<std::uint64_t>(ext.label_bytes), entries_block) ||
      !in.ReadBlock(static_cast<std::uint64_t>(ext.long_label_bytes), texts)) {
    return false;
  }
  std::size_t at = 0;
  for (std::size_t v = 0; v < count; ++v) {
    Variable& var = s.variables[v];
    var.labels.resize(label_counts[v]);
    std::size_t long_labels = 0;
    for (ValueLabel& label : var.labels) {
      const std::uint8_t* entry = &entries_block[at];
      at += kLabelEntrySize;
      std::memcpy(label.value.data(), entry, 4);
      std::memcpy(label.text.data(), entry + 4, kLabelSize);
      const std::uint16_t offset = LoadU16(entry + 12);
      // Without the long-label texts the field means nothing.
      if (offset == kNoLongLabel || !table.has_long_label_offsets()) continue;
      const std::uint64_t start = long_label_offsets[v];
      if (!ParseLongLabel(texts, start, long_label_offsets[v + 1] - start, offset,
                          label.long_label)) {
        return false;
      }
      if (!label.long_label.empty() && ++long_labels > kMaxLongLabels) return false;
    }
  }

  // Other programs' extra block travels with the file; our own is ignored.
  const auto extra_bytes = static_cast<std::uint64_t>(ext.extra_bytes);
  if (s.file_type == kOwnFileType) {
    if (!in.Skip(extra_bytes)) return false;
  } else if (!in.ReadBlock(extra_bytes, s.extra)) {
    return false;
  }

  *header_end = in.position();
  out = std::move(s);
  return true;
}

bool LocateDataArea(const ByteSource& source, const HeaderSections& sections,
                    std::uint64_t header_end, std::uint64_t* data_offset) {
  const std::uint64_t offset = DataOffsetFor(header_end);
  // Below 2^31 cases of at most 32756 bytes: no overflow.
  const std::uint64_t bytes = static_cast<std::uint64_t>(sections.cases) * sections.RecordSize();
  if (offset > source.Size() || bytes > source.Size() - offset) return false;
  *data_offset = offset;
  return true;
}

}  // namespace kvm
