#pragma once

// The peers that live in Python (scikit-learn, numpy) run as a python3
// process of their own, on one thread like Tavrin.

#include <string>

namespace tavrin::bench {

// The standard output of `python3 ARGUMENTS` with every math library held to
// one thread: Debian's /usr/bin/python3 first (where python3-sklearn and
// python3-numpy install), then the python3 on PATH. Empty when neither ran
// to a successful exit.
std::string RunPythonPeer(const std::string& arguments);

}  // namespace tavrin::bench
