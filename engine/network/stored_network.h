#pragma once

// What the network file and the network image share: the refusals both
// readers give, the limits that keep a hostile file from allocating without
// bound, the checks that a read network is one the engine can run, and the
// check that a network in memory is whole before it is written.

#include <cstdint>
#include <string>
#include <string_view>

#include "common/messages.h"
#include "common/status.h"
#include "network/network.h"

namespace tavrin {

// The most layers a stored network may have. Every layer holds one weight
// block record per layer, so the count is bounded before anything is
// allocated; the builders stop far below it (128).
inline constexpr int kMaxStoredLayers = 1024;

// Per-layer refusals, "%d" being the 1-based layer number.
std::string NoUnitsNotPositive(int layer);   // "... no_units in layer %d zero or negative"
std::string WidthNotPositive(int layer);     // "... width in layer %d zero or negative"
std::string UnknownActivationIn(int layer);  // "... unrecognised activation function in layer %d"
std::string UnknownPspIn(int layer);         // "... unrecognised psp function in layer %d"

// Replaces the first "%d" of a message with the number (a 1-based layer or
// variable number).
std::string WithNumber(std::string_view message, int number);

// Checks a coding just read: the codes name entries of their tables, the
// arrays match the counts, the unit counts match the variables, and steps
// and lookahead are ones the engine can run. Records the refusal.
[[nodiscard]] Status CheckReadCoding(const VariableCoding& coding);

// Checks that every layer has its per-unit arrays and a block record per
// layer, and that each weight block matches the units of the layers it joins.
[[nodiscard]] bool HasConsistentLayers(const Network& network);

// Before writing: the network is whole (arrays match their counts, every
// function is in its table). Records an internal error when not.
[[nodiscard]] Status CheckWritable(const Network& network);

}  // namespace tavrin
