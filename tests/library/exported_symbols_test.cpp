// libnrx32.so must export the functions of the header's list, each in both
// forms, the four that have no cdecl form, and nothing else: no engine
// internals, no template instances of the C++ library.

#include <elf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "nrx32.h"

namespace nrx_test {
namespace {

// A copy of a record at `offset`, zeros past the end of the file.
template <typename T>
T At(const std::string& bytes, std::uint64_t offset) {
  T value{};
  if (offset <= bytes.size() && bytes.size() - offset >= sizeof(T)) {
    std::memcpy(&value, bytes.data() + offset, sizeof(T));
  }
  return value;
}

// The defined global and weak entries of a 64-bit shared object's dynamic
// symbol table: what the dynamic linker can bind to.
std::vector<std::string> ExportedSymbols(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  const auto header = At<Elf64_Ehdr>(bytes, 0);
  EXPECT_EQ(header.e_ident[EI_CLASS], ELFCLASS64) << "cannot read " << path;
  const auto section = [&](std::uint64_t index) {
    return At<Elf64_Shdr>(bytes, header.e_shoff + index * sizeof(Elf64_Shdr));
  };
  std::vector<std::string> names;
  for (std::uint64_t i = 0; i < header.e_shnum; ++i) {
    const auto symbols = section(i);
    if (symbols.sh_type != SHT_DYNSYM) continue;
    const auto strings = section(symbols.sh_link);
    for (std::uint64_t s = 1; s < symbols.sh_size / sizeof(Elf64_Sym); ++s) {  // 0 is null
      const auto symbol = At<Elf64_Sym>(bytes, symbols.sh_offset + s * sizeof(Elf64_Sym));
      const unsigned binding = ELF64_ST_BIND(symbol.st_info);
      if (symbol.st_shndx == SHN_UNDEF ||
          (binding != STB_GLOBAL && binding != STB_WEAK && binding != STB_GNU_UNIQUE)) {
        continue;
      }
      const std::size_t name =
          std::min<std::uint64_t>(strings.sh_offset + symbol.st_name, bytes.size());
      names.emplace_back(bytes.data() + name, strnlen(bytes.data() + name, bytes.size() - name));
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(NrxExportedSymbolsTest, TheLibraryExportsExactlyItsInterface) {
  std::vector<std::string> expected;
#define NRX_EXPECT_EXPORTED(result, name, parameters, arguments) \
  expected.push_back("NRX" #name);                               \
  expected.push_back("_NRXC" #name);
  NRX_CDECL_FORMS(NRX_EXPECT_EXPORTED)
#undef NRX_EXPECT_EXPORTED
  for (const char* without_cdecl_form : {"NRXSortNetworkSet", "NRXExcelRunNetworkNumeric",
                                         "NRXExcelRunNetworkText", "NRXExcelTest"}) {
    expected.push_back(without_cdecl_form);
  }
  std::sort(expected.begin(), expected.end());

  EXPECT_EQ(ExportedSymbols(NRX32_LIBRARY_PATH), expected);
}

}  // namespace
}  // namespace nrx_test
