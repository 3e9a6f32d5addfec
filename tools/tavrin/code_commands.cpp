#include "code_commands.h"

#include <cstdio>
#include <filesystem>
#include <istream>
#include <memory>
#include <ostream>
#include <system_error>

#include "codegen/code_generator.h"
#include "common/real_text.h"
#include "common/status.h"
#include "network/forward_run.h"
#include "network/network_file.h"

namespace tavrin::tool {
namespace {

constexpr std::string_view kTemplateName = "ctemplate.bin";

// Beside the tool in a build tree, else where the tree installs it.
std::filesystem::path DefaultTemplate() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return kTemplateName;
  const std::filesystem::path beside = self.parent_path() / kTemplateName;
  if (std::filesystem::exists(beside, error)) return beside;
  return self.parent_path().parent_path() / "share" / "tavrin" / kTemplateName;
}

int Failed(const std::string& message) {
  RecordError(message);
  return 1;
}

bool IsSeparator(char c) {
  return c == ',' || c == ' ' || c == '\t' || c == '\r';
}

// The values of one row, or a refusal naming the row.
bool ParseRow(const std::string& line, long number, std::vector<double>& values) {
  values.clear();
  std::size_t i = 0;
  while (true) {
    while (i < line.size() && IsSeparator(line[i])) ++i;
    if (i == line.size()) return true;
    std::size_t end = i;
    while (end < line.size() && !IsSeparator(line[end])) ++end;
    const std::string_view token(line.data() + i, end - i);
    const std::optional<double> value = ParseReal(token);
    if (!value) {
      return Refuse("line " + std::to_string(number) + ": not a number: " + std::string(token));
    }
    values.push_back(*value);
    i = end;
  }
}

}  // namespace

int NetCode(const std::vector<std::string>& args) {
  CodeOptions options;
  options.prefix = "net_";
  options.template_file = DefaultTemplate();
  std::vector<std::string> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--cpp") {
      options.cpp = true;
    } else if (a == "--harness") {
      options.harness = true;
    } else if ((a == "--prefix" || a == "--template") && i + 1 < args.size()) {
      if (a == "--prefix") {
        options.prefix = args[++i];
      } else {
        options.template_file = args[++i];
      }
    } else if (a.starts_with("--")) {
      return Failed("net-code: unknown or incomplete option " + a);
    } else {
      files.push_back(a);
    }
  }
  if (files.size() != 2) return Failed("net-code takes a network file and an output file");
  options.output = files[1];
  const std::unique_ptr<Network> net = ReadNetworkFileOrImage(files[0]);
  if (!net) return 1;
  return GenerateCode(net.get(), options) ? 0 : 1;
}

int NetRun(const std::vector<std::string>& args, std::istream& in, std::ostream& out) {
  std::string path;
  int type = 0;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--output-type" && i + 1 < args.size()) {
      const std::optional<std::int32_t> n = ParseInt32(args[++i]);
      if (!n || *n < 0 || *n > 4) return Failed("net-run: the output type is 0 to 4");
      type = *n;
    } else if (path.empty() && !args[i].starts_with("--")) {
      path = args[i];
    } else {
      return Failed("net-run: unexpected argument " + args[i]);
    }
  }
  if (path.empty()) return Failed("net-run takes a network file");
  const std::unique_ptr<Network> net = ReadNetworkFileOrImage(path);
  if (!net) return 1;

  const RunOutput output = static_cast<RunOutput>(type);
  const std::size_t expected = static_cast<std::size_t>(net->coding.no_inputs) * net->coding.steps;
  std::vector<double> raw;
  std::vector<double> results(static_cast<std::size_t>(RunOutputSize(*net, output)));
  std::string line;
  char text[32];
  for (long number = 1; std::getline(in, line); ++number) {
    if (!ParseRow(line, number, raw)) return 1;
    if (raw.empty()) continue;
    if (raw.size() != expected) {
      return Failed("line " + std::to_string(number) + ": " + std::to_string(raw.size()) +
                    " values, expected " + std::to_string(expected));
    }
    RunForwardAs(*net, raw.data(), output, results.data());
    for (std::size_t i = 0; i < results.size(); ++i) {
      std::snprintf(text, sizeof text, "%.17g", results[i]);
      out << (i == 0 ? "" : " ") << text;
    }
    out << '\n';
  }
  return 0;
}

}  // namespace tavrin::tool
