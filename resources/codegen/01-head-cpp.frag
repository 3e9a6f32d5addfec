// $00: a network written as C++ source by Tavrin.
//
//   void $00Run(const double *inputs, double *outputs);
//
//   inputs:  $01 values: each input variable's $07 value(s) in turn, oldest
//            first. $00MISSING (or a NaN) marks a missing value.
//   outputs: $02 values, one per output variable; $00MISSING where a class is
//            rejected or unknown.
//
// The units keep their activations from call to call (a recurrent network
// feeds them back), so the code runs one network, one case at a time.
// The outputs are those of Tavrin's own run, bit for bit, when the file is
// compiled without fused multiply-add (-ffp-contract=off where the processor
// has it) and without -ffast-math.

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using std::exp;
using std::fprintf;
using std::floor;
using std::free;
using std::getchar;
using std::malloc;
using std::memcpy;
using std::memset;
using std::printf;
using std::putchar;
using std::realloc;
using std::sin;
using std::sqrt;
using std::strcmp;
using std::strtod;
using std::trunc;
using std::uint64_t;
