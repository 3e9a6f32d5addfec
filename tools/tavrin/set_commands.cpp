#include "set_commands.h"

#include <filesystem>
#include <memory>
#include <string_view>

#include "common/status.h"
#include "network/network_file.h"
#include "network/network_set.h"
#include "network/network_set_file.h"

namespace tavrin::tool {
namespace {

constexpr std::string_view kPolicyNames[] = {"replace by trade-off", "replace the oldest",
                                             "replace the worst", "enlarge"};
constexpr std::string_view kBadNumber = "The network number is not a network of this set";

// Quoted, with quotes, backslashes and control bytes escaped: a stored text
// must not be able to forge lines of the dump or drive the terminal.
void DescribeText(std::string_view label, const std::string& text, std::ostream& out) {
  if (text.empty()) return;
  out << "    " << label << ": \"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out << '\\' << c;
    } else if (byte < 0x20 || byte == 0x7f) {
      const char digits[] = "0123456789abcdef";
      out << "\\x" << digits[byte >> 4] << digits[byte & 15];
    } else {
      out << c;
    }
  }
  out << "\"\n";
}

void DescribeEntry(const NetworkSet& set, std::int32_t index, std::ostream& out) {
  const NetworkSetEntry& e = set.entries[index];
  const NetworkSummary& s = e.summary;
  out << "Network " << index + 1 << " (id " << e.id << (e.is_locked ? ", locked" : "") << ")\n";
  // The kind is the stored image's own; the summary's type code may differ
  // in a damaged set, so both are shown.
  const std::unique_ptr<Network> net = LoadSetNetwork(set, index);
  out << "    kind: "
      << (net ? NetworkTypeName(net->type) : std::string_view("image cannot be read"))
      << " (type code " << s.type << ")\n";
  out << "    inputs " << s.inputs << ", hidden " << s.hidden1 << " and " << s.hidden2 << "\n";
  out << "    errors: training " << s.training_error << ", verification " << s.verification_error
      << ", test " << s.test_error << "\n";
  out << "    performance: training " << s.training_performance << ", verification "
      << s.verification_performance << ", test " << s.test_performance << "\n";
  out << "    image: " << e.image.size() << " bytes\n";
  DescribeText("history", e.history, out);
  DescribeText("comment", e.comment, out);
}

}  // namespace

int SetDump(const std::string& path, std::ostream& out) {
  NetworkSet set;
  if (!ReadNetworkSetFile(path, set)) return 1;
  out << "Network set: " << set.network_count() << " of " << set.max_networks
      << " networks, current " << set.current_network << ", next id " << set.next_id << "\n";
  out << "When full: " << kPolicyNames[set.when_full]
      << (set.inform_when_full ? ", informing the user" : "") << "\n";
  for (std::int32_t i = 0; i < set.network_count(); ++i) DescribeEntry(set, i, out);
  return 0;
}

int SetExtract(const std::string& path, const std::string& number, const std::string& out_path) {
  NetworkSet set;
  if (!ReadNetworkSetFile(path, set)) return 1;
  std::int32_t n = 0;
  try {
    std::size_t used = 0;
    n = std::stoi(number, &used);
    if (used != number.size()) n = 0;
  } catch (const std::exception&) {
    n = 0;
  }
  if (n < 1 || n > set.network_count()) {
    RecordError(kBadNumber);
    return 1;
  }
  const std::unique_ptr<Network> net = LoadSetNetwork(set, n - 1);
  if (!net) return 1;
  return WriteNetworkFile(*net, std::filesystem::path(out_path)) ? 0 : 1;
}

}  // namespace tavrin::tool
