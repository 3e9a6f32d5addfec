#pragma once

// The binary network image: one whole network with its coding, as network
// set files store it back to back. It holds no magic and no length; the set
// file's directory says where each image starts.
//
// Numbers are little-endian: int32 is 4 bytes, double is 8 bytes IEEE 754.
// A block is 32 int32 words; words not listed are written as -1 and ignored
// when read. A text array of n entries is n int32 lengths (0 for an absent
// or empty text) followed by the bytes of each text whose length is above 0,
// without terminators. Function choices are stored as their table codes.
// V = no_inputs + no_outputs, U = no_normed_inputs + no_normed_outputs.
//
//   #   size                      content
//   1   block                     word 0 type, word 1 error function code
//   2   block                     words 0..8: no_inputs, no_outputs,
//                                 no_normed_inputs, no_normed_outputs,
//                                 classify_by, steps, lookahead, input and
//                                 output normalisation codes
//   3   2 doubles                 accept, reject
//   4-9 6 x V doubles             conversion codes, missing-value codes,
//                                 min_mean, max_sd, shift, scale
//   10  U doubles                 substitutes
//   11  text array of V           variable names
//   12  V int32                   nominal value counts (0 = numeric)
//   13  text array per nominal    the value names of each variable with a
//       variable, in order        count above 0
//   14  block                     word 0 no_layers
//   15  per layer: block, then    block words 0..3: no_units, width,
//       no_units doubles          activation code, PSP code; then the
//       thresholds, no_units      thresholds, the classes and the unit names
//       doubles classes, text
//       array of no_units names
//   16  no_layers^2 int32         connection map, destination major: entry
//                                 L * no_layers + j describes the weights from
//                                 layer j into layer L: 0 none, 1 fixed,
//                                 2 trainable
//   17  doubles                   for each L, each j whose entry is not 0,
//                                 each unit u of layer L: the no_units of
//                                 layer j weights into u
//
// Activations are not stored (read back as 0); derivatives, layer functions
// and the output delta follow from the stored function codes.

#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>

#include "common/status.h"
#include "network/network.h"

namespace tavrin {

// Writes the image at the stream's position. Fails, with the message
// recorded, when the network is not whole or the stream did not take every
// byte, so that a caller never records an entry over a partial image.
[[nodiscard]] Status WriteNetworkImage(const Network& network, std::ostream& out);

// Reads the image that starts `offset` bytes into the stream. Every count in
// it is checked against the bytes that follow before anything is allocated.
// Yields none, with the message recorded, for a short or damaged image.
std::unique_ptr<Network> ReadNetworkImage(std::istream& in, std::int64_t offset);

}  // namespace tavrin
