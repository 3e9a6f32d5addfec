// The shared library exports the Kvm interface and nothing else.

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

extern "C" int kvm_c_view_version(void);

namespace {

// The functions of the interface, from its table.
const std::set<std::string> kInterface = {
    "KvmDevVersion",
    "KvmOpenFile",
    "KvmCreateFile",
    "KvmCloseFile",
    "KvmGetNVars",
    "KvmGetNCases",
    "KvmAddVars",
    "KvmDeleteVars",
    "KvmAddCases",
    "KvmDeleteCases",
    "KvmSetFileHeader",
    "KvmGetFileHeader",
    "KvmSetVarName",
    "KvmGetVarName",
    "KvmSetVarLongName",
    "KvmGetVarLongName",
    "KvmSetVarFormat",
    "KvmGetVarFormat",
    "KvmSetVarMD",
    "KvmGetVarMD",
    "KvmGetAllMD",
    "KvmSetCaseNameLength",
    "KvmGetCaseNameLength",
    "KvmSetCaseName",
    "KvmGetCaseName",
    "KvmSetData",
    "KvmGetData",
    "KvmSetCaseData",
    "KvmGetCaseData",
    "KvmGetLabelForValue",
    "KvmGetLongLabelForValue",
    "KvmGetValueForLabel",
    "KvmAddLabel",
    "KvmDeleteLabelForValue",
    "KvmDeleteLabel",
    "KvmGetNumVarLabels",
    "KvmGetVarLabelByIndex",
};

TEST(KvmSymbols, LibraryExportsExactlyTheInterface) {
  const std::string command = "nm -D --defined-only '" KVMDEV32_LIBRARY_PATH "'";
  FILE* pipe = ::popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::set<std::string> exported;
  char line[512];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    std::istringstream fields(line);
    std::string address, type, name;
    if (!(fields >> address >> type >> name)) continue;
    // Global definitions only (upper-case types); "A" marks version nodes.
    if (type.size() == 1 && std::isupper(static_cast<unsigned char>(type[0])) && type != "A") {
      exported.insert(name);
    }
  }
  ASSERT_EQ(::pclose(pipe), 0);
  EXPECT_EQ(exported.size(), 37u);
  EXPECT_EQ(exported, kInterface);
}

TEST(KvmSymbols, HeaderServesCallersWrittenInC) {
  EXPECT_EQ(kvm_c_view_version(), 2);
}

}  // namespace
