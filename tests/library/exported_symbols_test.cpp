// libnrx32.so must export its documented functions and nothing else: no
// engine internals, no template instances of the C++ library.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "elf_dynamic_symbols.h"
#include "expected_exports.h"

namespace nrx_test {
namespace {

std::vector<std::string> ExpectedSymbols() {
  std::vector<std::string> expected;
  for (const std::string& name : kExportedFunctions) {
    expected.push_back(name);
    const bool has_cdecl_form =
        std::find(kExportsWithoutCdeclForm.begin(), kExportsWithoutCdeclForm.end(), name) ==
        kExportsWithoutCdeclForm.end();
    if (has_cdecl_form) expected.push_back("_NRXC" + name.substr(3));
  }
  std::sort(expected.begin(), expected.end());
  return expected;
}

TEST(NrxExportedSymbolsTest, TheLibraryExportsExactlyItsInterface) {
  auto exported = ReadExportedSymbols(NRX32_LIBRARY_PATH);
  ASSERT_TRUE(exported.has_value()) << "cannot read " << NRX32_LIBRARY_PATH;
  std::sort(exported->begin(), exported->end());
  const std::vector<std::string> expected = ExpectedSymbols();

  std::vector<std::string> missing, unexpected;
  std::set_difference(expected.begin(), expected.end(), exported->begin(), exported->end(),
                      std::back_inserter(missing));
  std::set_difference(exported->begin(), exported->end(), expected.begin(), expected.end(),
                      std::back_inserter(unexpected));
  for (const std::string& name : missing) ADD_FAILURE() << "not exported: " << name;
  for (const std::string& name : unexpected) ADD_FAILURE() << "exported by mistake: " << name;
  EXPECT_EQ(exported->size(), expected.size());
}

TEST(NrxExportedSymbolsTest, EachNameIsListedOnce) {
  std::vector<std::string> names = kExportedFunctions;
  std::sort(names.begin(), names.end());
  EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
  for (const std::string& name : names) EXPECT_EQ(name.rfind("NRX", 0), 0u) << name;
}

TEST(NrxExportedSymbolsTest, TheReaderRefusesWhatIsNotASharedObject) {
  EXPECT_FALSE(ReadExportedSymbols("/nonexistent/libnothing.so").has_value());
  EXPECT_FALSE(ReadExportedSymbols(__FILE__).has_value());
}

}  // namespace
}  // namespace nrx_test
