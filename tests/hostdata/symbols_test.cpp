// The shared library exports the functions its header declares and nothing
// else, and the header serves callers written in C.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

extern "C" int kvm_c_view_version(void);

namespace {

// Every "KVM_API <type> KVM_CALL <name>(" of the header.
std::set<std::string> DeclaredFunctions() {
  std::ifstream header(KVMDEV32_HEADER_PATH);
  std::stringstream text;
  text << header.rdbuf();
  const std::string all = text.str();
  const std::regex declaration(R"(KVM_API [^;(]* KVM_CALL (Kvm\w+)\()");
  std::set<std::string> names;
  for (std::sregex_iterator it(all.begin(), all.end(), declaration), end; it != end; ++it) {
    names.insert((*it)[1]);
  }
  return names;
}

TEST(KvmSymbols, LibraryExportsExactlyTheDeclaredInterface) {
  FILE* pipe = ::popen("nm -D --defined-only '" KVMDEV32_LIBRARY_PATH "'", "r");
  ASSERT_NE(pipe, nullptr);
  std::set<std::string> exported;
  char line[512];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    std::istringstream fields(line);
    std::string address, type, name;
    // Global definitions only (upper-case types); "A" marks version nodes.
    if (fields >> address >> type >> name && type.size() == 1 &&
        std::isupper(static_cast<unsigned char>(type[0])) && type != "A") {
      exported.insert(name);
    }
  }
  ASSERT_EQ(::pclose(pipe), 0);
  EXPECT_EQ(exported.size(), 37u);  // the interface's table
  EXPECT_EQ(exported, DeclaredFunctions());
}

TEST(KvmSymbols, HeaderServesCallersWrittenInC) {
  EXPECT_EQ(kvm_c_view_version(), 2);
}

}  // namespace
