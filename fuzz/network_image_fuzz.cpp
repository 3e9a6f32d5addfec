// Any bytes, read as a binary network image. The reader must refuse them
// with a message or yield a whole network; an accepted network is written
// back, read again to the same image, and run.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz_support.h"
#include "network/network_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tavrin;
  using namespace tavrin::fuzz;
  Messages().clear();
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::unique_ptr<Network> net = ReadNetworkImage(in, 0);
  if (!net) {
    Require(!Messages().last().empty(), "refusal without a message");
    return 0;
  }
  RequireWhole(*net);

  std::ostringstream first;
  Require(WriteNetworkImage(*net, first).ok(), "accepted network not written back");
  std::istringstream again(first.str());
  std::unique_ptr<Network> second = ReadNetworkImage(again, 0);
  Require(second != nullptr, "written image not read back");
  std::ostringstream second_image;
  Require(WriteNetworkImage(*second, second_image).ok(), "image read back not written");
  Require(first.str() == second_image.str(), "image changed in a round trip");

  RunOnce(*net);
  return 0;
}
