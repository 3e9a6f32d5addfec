// libnrx32.so must export the functions of the header's list, each in both
// forms, and nothing else: no engine internals, no template instances of the
// C++ library.

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "elf_dynamic_symbols.h"
#include "nrx32.h"

namespace nrx_test {
namespace {

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
