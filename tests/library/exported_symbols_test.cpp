// libnrx32.so must export the functions of the header's list, each in both
// forms, and nothing else: no engine internals, no template instances of the
// C++ library.

#include <elf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "nrx32.h"

namespace nrx_test {
namespace {

// A copy of a record at `offset`, or nullopt when the file is too short.
template <typename T>
std::optional<T> ReadAt(const std::vector<char>& bytes, std::uint64_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < sizeof(T)) return std::nullopt;
  T value;
  std::memcpy(&value, bytes.data() + offset, sizeof(T));
  return value;
}

// The defined global and weak entries of a shared object's dynamic symbol
// table (what the dynamic linker can bind to), or nullopt when the file
// cannot be read or is not a 64-bit little-endian ELF file with one.
std::optional<std::vector<std::string>> ReadExportedSymbols(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  const std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                                std::istreambuf_iterator<char>());

  const auto header = ReadAt<Elf64_Ehdr>(bytes, 0);
  if (!header || std::memcmp(header->e_ident, ELFMAG, SELFMAG) != 0 ||
      header->e_ident[EI_CLASS] != ELFCLASS64 || header->e_ident[EI_DATA] != ELFDATA2LSB ||
      header->e_shentsize != sizeof(Elf64_Shdr)) {
    return std::nullopt;
  }

  auto section = [&](std::uint64_t index) {
    return ReadAt<Elf64_Shdr>(bytes, header->e_shoff + index * sizeof(Elf64_Shdr));
  };
  for (std::uint64_t i = 0; i < header->e_shnum; ++i) {
    const auto symbols = section(i);
    if (!symbols) return std::nullopt;
    if (symbols->sh_type != SHT_DYNSYM) continue;
    const auto strings = section(symbols->sh_link);
    if (!strings || strings->sh_offset > bytes.size() ||
        bytes.size() - strings->sh_offset < strings->sh_size) {
      return std::nullopt;
    }

    std::vector<std::string> names;
    const std::uint64_t count = symbols->sh_size / sizeof(Elf64_Sym);
    for (std::uint64_t s = 1; s < count; ++s) {  // entry 0 is the null symbol
      const auto symbol = ReadAt<Elf64_Sym>(bytes, symbols->sh_offset + s * sizeof(Elf64_Sym));
      if (!symbol || symbol->st_name >= strings->sh_size) return std::nullopt;
      const unsigned binding = ELF64_ST_BIND(symbol->st_info);
      const bool visible =
          binding == STB_GLOBAL || binding == STB_WEAK || binding == STB_GNU_UNIQUE;
      if (symbol->st_shndx == SHN_UNDEF || !visible) continue;
      const char* name = bytes.data() + strings->sh_offset + symbol->st_name;
      names.emplace_back(name, strnlen(name, strings->sh_size - symbol->st_name));
    }
    return names;
  }
  return std::nullopt;
}

TEST(NrxExportedSymbolsTest, TheLibraryExportsExactlyItsInterface) {
  std::vector<std::string> expected;
#define NRX_EXPECT_EXPORTED(result, name, parameters, arguments) \
  expected.push_back("NRX" #name);                               \
  expected.push_back("_NRXC" #name);
  NRX_CDECL_FORMS(NRX_EXPECT_EXPORTED)
#undef NRX_EXPECT_EXPORTED
  std::sort(expected.begin(), expected.end());

  auto exported = ReadExportedSymbols(NRX32_LIBRARY_PATH);
  ASSERT_TRUE(exported.has_value()) << "cannot read " << NRX32_LIBRARY_PATH;
  std::sort(exported->begin(), exported->end());
  std::vector<std::string> missing, unexpected;
  std::set_difference(expected.begin(), expected.end(), exported->begin(), exported->end(),
                      std::back_inserter(missing));
  std::set_difference(exported->begin(), exported->end(), expected.begin(), expected.end(),
                      std::back_inserter(unexpected));
  for (const std::string& name : missing) ADD_FAILURE() << "not exported: " << name;
  for (const std::string& name : unexpected) ADD_FAILURE() << "exported by mistake: " << name;
}

}  // namespace
}  // namespace nrx_test
