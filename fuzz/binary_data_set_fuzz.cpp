// Any bytes, read as a binary data set file. Refused with a message, or a
// whole data set that writes back to a file that reads back the same.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "data/data_set_files.h"
#include "data_set_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tavrin;
  using namespace tavrin::fuzz;
  Messages().clear();
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::unique_ptr<DataSet> set = ReadBinaryDataSet(in);
  if (!set) {
    Require(!Messages().last().empty(), "refusal without a message");
    return 0;
  }
  RequireWholeDataSet(*set);
  std::ostringstream first;
  Require(WriteBinaryDataSet(*set, first).ok(), "accepted data set not written back");
  std::istringstream again(first.str());
  std::unique_ptr<DataSet> second = ReadBinaryDataSet(again);
  Require(second != nullptr, "written data set not read back");
  std::ostringstream second_file;
  Require(WriteBinaryDataSet(*second, second_file).ok(), "data set read back not written");
  Require(first.str() == second_file.str(), "data set changed in a round trip");
  return 0;
}
