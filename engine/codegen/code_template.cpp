#include "codegen/code_template.h"

#include <cstdint>
#include <string_view>

#include "common/binary_reader.h"
#include "common/binary_writer.h"
#include "common/messages.h"

namespace tavrin {
namespace {

constexpr std::string_view kKey = "Tavrin keeps its code fragments whole with this key.";

void Descramble(std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char>(static_cast<unsigned char>(text[i]) -
                                static_cast<unsigned char>(kKey[i % kKey.size()]));
  }
}

std::string Scrambled(std::string_view text) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<char>(static_cast<unsigned char>(out[i]) +
                               static_cast<unsigned char>(kKey[i % kKey.size()]));
  }
  return out;
}

}  // namespace

std::optional<CodeTemplate> ReadCodeTemplate(std::istream& in) {
  BinaryReader reader(in);
  std::int32_t count = 0;
  // Each fragment takes at least its number and its length.
  if (!reader.Seek(0) || !reader.ReadInt32(count) || count < 0 || count > kFragmentNumbers ||
      !reader.Holds(count, 8)) {
    RecordError(kProcessingFailed);
    return std::nullopt;
  }
  CodeTemplate result;
  for (std::int32_t i = 0; i < count; ++i) {
    std::int32_t number = 0;
    std::int32_t length = 0;
    std::string text;
    if (!reader.ReadInt32(number) || number < 0 || number >= kFragmentNumbers ||
        result.has(number) || !reader.ReadInt32(length) || !reader.ReadBytes(text, length)) {
      RecordError(kProcessingFailed);
      return std::nullopt;
    }
    Descramble(text);
    result.fragments[number] = std::move(text);
  }
  if (reader.remaining() != 0) {
    RecordError(kProcessingFailed);
    return std::nullopt;
  }
  return result;
}

bool WriteCodeTemplate(const CodeTemplate& code_template, std::ostream& out) {
  BinaryWriter writer(out);
  std::int32_t count = 0;
  for (const auto& fragment : code_template.fragments) count += fragment.has_value();
  writer.WriteInt32(count);
  for (int number = 0; number < kFragmentNumbers; ++number) {
    if (!code_template.has(number)) continue;
    const std::string& text = code_template.fragment(number);
    writer.WriteInt32(number);
    writer.WriteInt32(static_cast<std::int32_t>(text.size()));
    writer.WriteBytes(Scrambled(text));
  }
  return writer.ok();
}

}  // namespace tavrin
