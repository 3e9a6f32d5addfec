// Writes the header sections in the layout described in header_sections.h.
// The sections' contents are already within the format's limits: every
// setter and the reader enforce them.

#include <algorithm>

#include "byte_order.h"
#include "header_sections.h"

namespace kvm {
namespace {

// Long-label records of all variables and where each variable's begin.
struct LabelBlocks {
  ByteBuilder entries;
  ByteBuilder texts;
  std::vector<std::int32_t> text_offsets;  // per variable plus one
};

LabelBlocks BuildLabelBlocks(const std::vector<Variable>& variables) {
  LabelBlocks blocks;
  blocks.text_offsets.reserve(variables.size() + 1);
  for (const Variable& var : variables) {
    const std::size_t region_start = blocks.texts.size();
    blocks.text_offsets.push_back(static_cast<std::int32_t>(region_start));
    for (const ValueLabel& label : var.labels) {
      blocks.entries.Raw(label.value.data(), label.value.size());
      blocks.entries.Raw(label.text.data(), label.text.size());
      if (label.long_label.empty()) {
        blocks.entries.U16(kNoLongLabel);
        continue;
      }
      blocks.entries.U16(static_cast<std::uint16_t>(blocks.texts.size() - region_start));
      blocks.texts.Raw(label.value.data(), label.value.size());
      blocks.texts.U8(static_cast<std::uint8_t>(label.long_label.size()));
      blocks.texts.Raw(label.long_label.data(), label.long_label.size());
    }
  }
  blocks.text_offsets.push_back(static_cast<std::int32_t>(blocks.texts.size()));
  return blocks;
}

ByteBuilder BuildLongNames(const std::vector<Variable>& variables) {
  ByteBuilder block;
  for (std::size_t v = 0; v < variables.size(); ++v) {
    const std::string& name = variables[v].long_name;
    if (name.empty()) continue;
    block.I16(static_cast<std::int32_t>(v + 1));
    block.U8(static_cast<std::uint8_t>(name.size()));
    block.Raw(name.data(), name.size());
  }
  return block;
}

}  // namespace

std::vector<std::uint8_t> WriteHeaderSections(const HeaderSections& s) {
  const std::int32_t n = s.variable_count();
  const auto has_labels = [](const Variable& v) { return !v.labels.empty(); };
  const auto has_long_labels = [](const Variable& v) {
    return std::any_of(v.labels.begin(), v.labels.end(),
                       [](const ValueLabel& l) { return !l.long_label.empty(); });
  };
  const bool labels = std::any_of(s.variables.begin(), s.variables.end(), has_labels);
  const bool long_labels = std::any_of(s.variables.begin(), s.variables.end(), has_long_labels);
  const std::int32_t entries = 5 + (labels ? 2 : 0) + (long_labels ? 1 : 0);

  ByteBuilder long_names = BuildLongNames(s.variables);
  LabelBlocks label_blocks = BuildLabelBlocks(s.variables);
  const bool keep_extra = s.file_type != kOwnFileType;
  const std::size_t extra_size = keep_extra ? s.extra.size() : 0;

  ByteBuilder out;
  out.Raw("ZPL ", 4);
  out.I32(s.file_type);
  out.I32(s.cases);
  out.I16(n);
  out.I16(0);
  out.I32(kFixedWord);
  out.I32(entries);
  out.I16(kExtensionBlockSize);
  out.I16(static_cast<std::int32_t>(kHeaderTextSize));
  out.I16(8 * n);
  out.I16(2 * n);
  out.I16(8 * n);
  if (labels) {
    out.I16(2 * n);
    out.I16(4 * n);
  }
  if (long_labels) out.I16(4 * (n + 1));

  out.I32(static_cast<std::int32_t>(long_names.size()));
  out.I32(static_cast<std::int32_t>(label_blocks.entries.size()));
  out.I32(long_labels ? static_cast<std::int32_t>(label_blocks.texts.size()) : 0);
  out.I32(s.case_name_length);
  out.I32(static_cast<std::int32_t>(extra_size));

  out.Raw(s.header_text.data(), s.header_text.size());
  for (const Variable& var : s.variables) out.Raw(var.name.data(), var.name.size());
  for (const Variable& var : s.variables) out.U16(var.format);
  for (const Variable& var : s.variables) out.F64(var.missing_code);

  if (labels) {
    for (const Variable& var : s.variables) out.I16(static_cast<std::int32_t>(var.labels.size()));
    std::int32_t offset = 0;
    for (const Variable& var : s.variables) {
      out.I32(offset);
      offset += static_cast<std::int32_t>(var.labels.size() * kLabelEntrySize);
    }
  }
  if (long_labels) {
    for (std::int32_t offset : label_blocks.text_offsets) out.I32(offset);
  }

  out.Raw(long_names.bytes().data(), long_names.size());
  out.Raw(label_blocks.entries.bytes().data(), label_blocks.entries.size());
  if (long_labels) out.Raw(label_blocks.texts.bytes().data(), label_blocks.texts.size());
  if (keep_extra) out.Raw(s.extra.data(), extra_size);
  return std::move(out.bytes());
}

}  // namespace kvm
