#include "common/python_peer.h"

#include <cstdio>

namespace tavrin::bench {

std::string RunPythonPeer(const std::string& arguments) {
  for (const char* python : {"/usr/bin/python3", "python3"}) {
    const std::string command =
        std::string("OMP_NUM_THREADS=1 OPENBLAS_NUM_THREADS=1 MKL_NUM_THREADS=1 ") + python + " " +
        arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) continue;
    std::string output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    if (pclose(pipe) == 0 && !output.empty()) return output;
  }
  return {};
}

}  // namespace tavrin::bench
