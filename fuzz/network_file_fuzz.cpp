// Any text, read as a network file. The reader must refuse it with a message
// or yield a whole network; an accepted network is written back (or refused
// as a name the format cannot carry), and what is written reads back to the
// same text and the same numbers. It also goes through the binary image and is run.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz_support.h"
#include "network/network_file.h"
#include "network/network_image.h"

namespace {

// Writes the network as text; false when the writer refused one of its names.
bool WriteText(const tavrin::Network& net, std::string& text) {
  using namespace tavrin::fuzz;
  std::ostringstream out;
  if (!tavrin::WriteNetworkFile(net, out).ok()) {
    Require(StartsWith(Messages().last(), "Cannot save network: "), "text written back failed");
    return false;
  }
  text = out.str();
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tavrin;
  using namespace tavrin::fuzz;
  Messages().clear();
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  std::unique_ptr<Network> net = ReadNetworkFile(in);
  if (!net) {
    Require(!Messages().last().empty(), "refusal without a message");
    return 0;
  }
  RequireWhole(*net);

  std::string first;
  if (WriteText(*net, first)) {
    std::istringstream again(first);
    std::unique_ptr<Network> second = ReadNetworkFile(again);
    Require(second != nullptr, "written text not read back");
    std::string second_text;
    Require(WriteText(*second, second_text), "text read back not written");
    Require(first == second_text, "text changed in a round trip");
    Require(SameNumbers(*net, *second), "a number changed through the text");
  }

  std::ostringstream image;
  Require(WriteNetworkImage(*net, image).ok(), "accepted network not written as an image");
  std::istringstream image_in(image.str());
  Require(ReadNetworkImage(image_in, 0) != nullptr, "image of a text network not read back");

  RunOnce(*net);
  return 0;
}
