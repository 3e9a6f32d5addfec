#pragma once

// Running a network over a block of cases at once: each layer holds its
// values for several cases side by side, so the dot products vectorise
// across cases. Each case's activations are bit for bit PropagateForward's.

#include <cstddef>
#include <vector>

#include "network/network.h"

namespace tavrin {

class BlockedForward {
 public:
  // Whether the network runs this way: every layer from 1 takes the Linear PSP
  // of the layer before it, and no feedback reaches layer 0. Others are run
  // case by case.
  static bool Handles(const Network& network);

  // Makes room for up to `cases` cases ahead, so that running them allocates
  // nothing (throws std::bad_alloc).
  void Reserve(const Network& network, int cases);

  // Room for `cases` cases; the last panel's spare places hold the network's
  // present input activations.
  void Begin(const Network& network, int cases);

  // Case b's prepared inputs, as many as layer 0 takes (as LoadCase copies);
  // the units beyond them keep the network's present input activations.
  void SetInputs(const Network& network, int b, const double* inputs, int count);

  // SetInputs for the kPanelCases cases of panel p at once, from rows that
  // stay put; a spare place may repeat another case's row.
  void SetPanelInputs(const Network& network, int p, const double* const* inputs, int count);

  void Propagate(const Network& network);

  // Puts case b's activations into the network's layers from 1 on, and into
  // layer 0 too when `inputs`, leaving them as a case-by-case run of that case
  // would.
  void Restore(Network& network, int b, bool inputs) const;

  // Case b's activation of unit 0 of a layer; unit u's is u * kPanelCases on.
  const double* Values(const Network& network, int layer, int b) const;

 private:
  // Unit u of case b in a layer of `units`, laid out in panels of cases.
  static std::size_t At(int units, int u, int b);

  int panels_ = 0;
  std::vector<std::vector<double>> layers_;
  std::vector<double> column_;
};

}  // namespace tavrin
