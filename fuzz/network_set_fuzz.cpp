// Any bytes, read as a network set file. The reader must refuse them with a
// message or yield a set within its own bounds, which is written back and read
// again to the same bytes; every stored image it holds is then loaded, and a
// loaded network must be whole.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz_support.h"
#include "network/network_set.h"
#include "network/network_set_file.h"

namespace {

std::string Written(const tavrin::NetworkSet& set) {
  std::ostringstream out;
  tavrin::fuzz::Require(tavrin::WriteNetworkSet(set, out).ok(), "accepted set not written back");
  return out.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tavrin;
  using namespace tavrin::fuzz;
  Messages().clear();
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  NetworkSet set;
  if (!ReadNetworkSet(in, set)) {
    Require(!Messages().last().empty(), "refusal without a message");
    return 0;
  }
  Require(set.network_count() <= set.max_networks, "more networks than the capacity");
  Require(set.current_network >= 0 && set.current_network <= set.network_count(),
          "current network out of range");

  const std::string first = Written(set);
  std::istringstream again(first);
  NetworkSet reread;
  Require(ReadNetworkSet(again, reread).ok(), "written set not read back");
  Require(Written(reread) == first, "set changed in a round trip");

  for (std::int32_t i = 0; i < set.network_count(); ++i) {
    Messages().clear();
    std::unique_ptr<Network> net = LoadSetNetwork(set, i);
    if (net) {
      RequireWhole(*net);
    } else {
      Require(!Messages().last().empty(), "image refused without a message");
    }
  }
  SortEntries(set, 10, false);
  DeleteEntries(set, 0, 0);
  Require(set.current_network <= set.network_count(), "current network lost by a delete");
  return 0;
}
