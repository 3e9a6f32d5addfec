#include <string>

#include "common/file_access.h"
#include "common/messages.h"
#include "network/network_file.h"
#include "network/network_image.h"

namespace tavrin {
namespace {

// Text network files start with their header line; images have no mark.
bool IsTextNetworkFile(std::istream& in) {
  constexpr std::string_view kStart = "# Tavrin v";
  std::string start(kStart.size(), '\0');
  in.read(start.data(), static_cast<std::streamsize>(start.size()));
  const bool text = in.gcount() == static_cast<std::streamsize>(start.size()) && start == kStart;
  in.clear();
  in.seekg(0);
  return text;
}

}  // namespace

std::unique_ptr<Network> ReadNetworkFileOrImage(const std::filesystem::path& path, bool* text) {
  const std::unique_ptr<std::istream> in = OpenSizedForReading(path, kCannotOpenNetworkFile);
  if (!in) return nullptr;
  const bool is_text = IsTextNetworkFile(*in);
  if (text != nullptr) *text = is_text;
  return is_text ? ReadNetworkFile(*in) : ReadNetworkImage(*in, 0);
}

}  // namespace tavrin
