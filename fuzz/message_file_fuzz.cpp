// Any bytes, read as the message file. Reading never fails on content: it
// keeps what it can; every number it keeps gives its text back, and option
// lists split without losing a character.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz_support.h"
#include "message_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using tavrin::fuzz::Require;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  tavrin::app::MessageTable table;
  long long_lines = 0;
  const auto result = table.Load(in, [&](long) { ++long_lines; });
  Require(table.size() <= tavrin::app::MessageTable::kMaxMessages, "more messages than allowed");
  if (result == tavrin::app::MessageTable::LoadResult::kTooMany) return 0;
  for (int n : {0, 1, 349, 4049, 4050}) {
    const std::string text = table.Text(n);
    if (!table.Has(n)) continue;
    std::string joined;
    for (const std::string& option : table.Options(n)) joined += option + "|";
    joined.pop_back();
    Require(joined == text, "options do not make up the message");
  }
  return 0;
}
