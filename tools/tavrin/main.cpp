// tavrin: looks into and converts the engine's files from the command line.
// A thin layer over the engine: every failure is reported with the engine's
// own message.

#include <exception>
#include <iostream>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "code_commands.h"
#include "common/error_sink.h"
#include "common/status.h"
#include "data_commands.h"
#include "engine_state.h"
#include "net_commands.h"
#include "set_commands.h"

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
    "  net-code NETFILE OUT [--prefix NAME] [--cpp] [--harness] [--template FILE]\n"
    "                     Write the network as C source (C++ with --cpp) whose\n"
    "                     names start with NAME (default net_), with a main()\n"
    "                     that runs rows of standard input with --harness.\n"
    "  net-run NETFILE [--output-type N]\n"
    "                     Run the network on each row of standard input (values\n"
    "                     separated by commas or blanks, ? for a missing value)\n"
    "                     and print each row's results as \"%.17g\" separated by\n"
    "                     blanks. N: 0 the output variables (default), 1 the\n"
    "                     output units, 2 the winning output unit's weights, 3 the\n"
    "                     number of layer 1's winning unit, 4 its activation.\n"
    "  set-dump FILE      Print a network set file: its settings, and for each\n"
    "                     network its summary and the kind of network stored.\n"
    "  set-extract FILE N OUT\n"
    "                     Write network N (counted from 1) of the network set\n"
    "                     FILE as a text network file to OUT.\n"
    "  data-dump FILE     Print a data set's variables with their roles and nominal\n"
    "                     values, its case and subset counts and its first cases.\n"
    "                     The format follows the name (.csv .txt .tsv: text, .pat:\n"
    "                     pattern, .kvm .sta: host, else binary) unless --format\n"
    "                     F says; --rows N shows N cases (default 5).\n"
    "  data-convert IN OUT --from F --to F\n"
    "                     Convert a data set file between the formats host\n"
    "                     (the host package's data file), binary (binary data\n"
    "                     set), text (delimited text) and pattern (text pattern\n"
    "                     file).\n"
    "  Options of delimited text (data-dump and data-convert):\n"
    "    --separator C    the field separator (default ','; 'tab' for a tab)\n"
    "    --from-separator C, --to-separator C\n"
    "                     the separator of the input or of the output alone\n"
    "    --header, --no-header\n"
    "                     whether the first row holds the names (default yes)\n"
    "    --case-names     the first column holds case names\n"
    "    --subsets        (writing) a column NNTYPE of TRAIN, VERIFY, TEST, IGNORE\n"
    "    --missing TEXT   (reading) a field beginning with TEXT is missing (default ?)\n"
    "  --help, -h         Show this text.\n"
    "\n"
    "An output file is replaced only once it has been written whole; a pipe\n"
    "or a device (such as /dev/stdout) is written into.\n"
    "Warnings go to standard error as the work goes on.\n"
    "On failure the engine's message goes to standard error and the exit\n"
    "status is 1.\n";

// Keeps the last error for the closing line and shows warnings as they come.
class ToolSink : public tavrin::LastMessageSink {
 public:
  void Warn(std::string_view message) override {
    std::cerr << "tavrin: warning: " << message << "\n";
  }
};

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
  if (command == "set-dump") {
    if (operands != 1) return UsageError("set-dump takes one file");
    return tavrin::tool::SetDump(args[1], std::cout);
  }
  if (command == "set-extract") {
    if (operands != 3)
      return UsageError("set-extract takes a set file, a number and an output file");
    return tavrin::tool::SetExtract(args[1], args[2], args[3]);
  }
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (command == "net-code") return tavrin::tool::NetCode(rest);
  if (command == "net-run") return tavrin::tool::NetRun(rest, std::cin, std::cout);
  if (command == "data-convert") return tavrin::tool::DataConvert(rest, std::cerr);
  if (command == "data-dump") return tavrin::tool::DataDump(rest, std::cout, std::cerr);
  return UsageError("unknown command '" + command + "'");
}

}  // namespace

int main(int argc, char** argv) {
  ToolSink sink;
  tavrin::Engine().error_sink = &sink;
  int status = 1;
  try {
    status = Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::bad_alloc&) {
    tavrin::RecordError(tavrin::kNotEnoughMemory);
    status = 1;
  } catch (const std::exception& e) {
    // Nothing may end the tool without a word; a stream or file-system fault
    // that slipped past a reader is reported as what it is.
    tavrin::RecordError(std::string("tavrin: ") + e.what());
    status = 1;
  } catch (...) {
    tavrin::RecordError("tavrin: internal error");
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
