#pragma once

// The text network file: one network in a line-oriented text, as the
// desktop program loads and saves it.
//
//   # Tavrin v1.0 Network          header; versions up to 2.1 are read
//                                  (empty line)
//   type MLP                       kind name, the rest of the line
//   error_fn "Sum-squared"
//   no_layers 3 (2,3,1)            count and each layer's units
//   per layer:                     (empty line)
//     layer 1                      1-based
//     no_units 2 / width 1
//     act_fn "Logistic" / psp_fn "Linear"
//     one line per unit            threshold, then an optional quoted label:
//                                  "name", "name:class" or ":class"
//     weights 1 / fixed_weights 1  per block, by 1-based source layer: a row
//                                  of source values per unit, 8 a line
//   (empty line)                   ends the last layer's blocks
//   normalisation
//   classify_by confidence|error, accept 0.95, reject 0.05, steps 1,
//   lookahead 0, input_normalisation "None", output_normalisation "None",
//   no_inputs, no_outputs, no_normed_inputs, no_normed_outputs
//   attributes                     a line per variable: its name, and for a
//                                  nominal one ={value,value,...}
//   factors                        a line per variable: conversion, missing
//                                  function, min_mean, max_sd, shift, scale,
//                                  separated by tabs
//   missing values                 a substitute per line
//
// Reals are written as "%lg" would (six significant digits) and the missing
// value marker as "?". Lines beginning with "#" after the header are
// comments. Reading takes lines in pieces of at most 1023 characters;
// writing keeps every line within that: a nominal value list or a layer
// list too long for one line continues on the next (the pieces join until
// the closing "}" or ")"). Names the format cannot carry are refused when
// writing, never written into a file that would read back differently.
//
// The reader also accepts the earlier short normalisation layout (shift and
// scale per unit after the normalisation functions).

#include <filesystem>
#include <istream>
#include <memory>
#include <ostream>

#include "common/status.h"
#include "network/network.h"

namespace tavrin {

// Reads a network from the stream. Yields none, with the message recorded,
// for a file that is not a network file, is of a later version or is
// damaged; nothing it holds is allocated before the lines that carry it
// have been read.
std::unique_ptr<Network> ReadNetworkFile(std::istream& in);

// Opens and reads the file ("Cannot open network file for reading").
std::unique_ptr<Network> ReadNetworkFile(const std::filesystem::path& path);

// Reads a text network file or a binary network image, told apart by the
// text file's first line; `text`, when given, says which it was. Records
// "Cannot open network file for reading" or the reader's message and yields
// none on failure.
std::unique_ptr<Network> ReadNetworkFileOrImage(const std::filesystem::path& path,
                                                bool* text = nullptr);

// Writes the network. Fails, with the message recorded and before anything is
// written, when a name cannot be carried by the format; fails when the stream
// did not take every byte.
[[nodiscard]] Status WriteNetworkFile(const Network& network, std::ostream& out);

// Writes the file whole or not at all: a temporary file in the same
// directory, renamed over the target once written.
[[nodiscard]] Status WriteNetworkFile(const Network& network, const std::filesystem::path& path);

}  // namespace tavrin
