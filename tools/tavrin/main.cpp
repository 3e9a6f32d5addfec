// tavrin: looks into and converts the engine's files from the command line.
// A thin layer over the engine: every failure is reported with the engine's
// own message.

#include <iostream>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "common/error_sink.h"
#include "common/status.h"
#include "engine_state.h"
#include "net_commands.h"

namespace {

constexpr std::string_view kUsage =
    "Usage: tavrin COMMAND ARGUMENTS\n"
    "\n"
    "Commands:\n"
    "  net-dump FILE      Print a summary of a network: its kind, error function,\n"
    "                     layers with their functions and weight blocks, variables\n"
    "                     with their coding, and the missing-value substitutes.\n"
    "                     FILE is a text network file or a binary network image.\n"
    "  net-image IN OUT   Read the text network file IN and write its binary\n"
    "                     network image to OUT.\n"
    "  net-text IN OUT    Read the binary network image IN and write it as a text\n"
    "                     network file to OUT.\n"
    "  --help, -h         Show this text.\n"
    "\n"
    "An output file is replaced only once it has been written whole.\n"
    "On failure the engine's message goes to standard error and the exit\n"
    "status is 1.\n";

int UsageError(std::string_view problem) {
  std::cerr << "tavrin: " << problem << " (see tavrin --help)\n";
  return 1;
}

int Run(const std::vector<std::string>& args) {
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h" || a == "help") {
      std::cout << kUsage;
      return 0;
    }
  }
  if (args.empty()) return UsageError("no command given");
  const std::string& command = args[0];
  const std::size_t operands = args.size() - 1;
  if (command == "net-dump") {
    if (operands != 1) return UsageError("net-dump takes one file");
    return tavrin::tool::NetDump(args[1], std::cout);
  }
  if (command == "net-image" || command == "net-text") {
    if (operands != 2) return UsageError(command + " takes an input and an output file");
    return command == "net-image" ? tavrin::tool::NetImage(args[1], args[2])
                                  : tavrin::tool::NetText(args[1], args[2]);
  }
  return UsageError("unknown command '" + command + "'");
}

}  // namespace

int main(int argc, char** argv) {
  tavrin::LastMessageSink sink;
  tavrin::Engine().error_sink = &sink;
  int status = 1;
  try {
    status = Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::bad_alloc&) {
    tavrin::RecordError(tavrin::kNotEnoughMemory);
    status = 1;
  }
  if (status != 0 && !sink.last().empty()) std::cerr << sink.last() << "\n";
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "tavrin: cannot write to standard output\n";
    status = 1;
  }
  tavrin::Engine().error_sink = nullptr;
  return status;
}
