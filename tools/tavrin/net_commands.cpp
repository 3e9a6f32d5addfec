#include "net_commands.h"

#include <memory>

#include "common/file_access.h"
#include "common/messages.h"
#include "common/safe_file_writer.h"
#include "common/status.h"
#include "network/network_file.h"
#include "network/network_image.h"
#include "network_summary.h"

namespace tavrin::tool {
namespace {

constexpr std::string_view kCannotOpenForWriting = "Cannot open network file for writing";
constexpr std::string_view kCannotWrite = "Cannot write network file";

}  // namespace

int NetDump(const std::string& path, std::ostream& out) {
  bool text = false;
  const std::unique_ptr<Network> net = ReadNetworkFileOrImage(path, &text);
  if (!net) return 1;
  out << "File: " << path << " (" << (text ? "text network file" : "binary network image") << ")\n";
  DescribeNetwork(*net, out);
  return 0;
}

int NetImage(const std::string& in_path, const std::string& out_path) {
  const std::unique_ptr<Network> net = ReadNetworkFile(std::filesystem::path(in_path));
  if (!net) return 1;
  SafeFileWriter file;
  if (!file.Open(out_path, kCannotOpenForWriting)) return 1;
  if (!WriteNetworkImage(*net, file.stream())) return 1;
  return file.Commit(kCannotWrite) ? 0 : 1;
}

int NetText(const std::string& in_path, const std::string& out_path) {
  const std::unique_ptr<std::istream> in = OpenSizedForReading(in_path, kCannotOpenNetworkFile);
  if (!in) return 1;
  const std::unique_ptr<Network> net = ReadNetworkImage(*in, 0);
  if (!net) return 1;
  return WriteNetworkFile(*net, std::filesystem::path(out_path)) ? 0 : 1;
}

}  // namespace tavrin::tool
