#pragma once

// What a caller could read of a network or a data set slot, as the engine's
// complete images of them (a network image leaves out the activations, so
// they follow it), and which slots are filled: a test compares them to show
// that a refused call changed nothing. Needs the library's objects.

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "data/data_set_files.h"
#include "frame.h"
#include "library_test_support.h"
#include "network/network_image.h"

namespace nrx_test {

inline std::string NetworkSnapshot(int32_t net) {
  const tavrin::Network& network = *nrx::Networks()[net].network;
  std::ostringstream image;
  EXPECT_TRUE(tavrin::WriteNetworkImage(network, image).ok());
  for (const tavrin::Layer& layer : network.layers) {
    for (double activation : layer.activations) image << ' ' << activation;
  }
  return image.str();
}

inline std::string DataSetSnapshot(int32_t ds) {
  std::ostringstream image;
  EXPECT_TRUE(tavrin::WriteBinaryDataSet(*nrx::DataSets()[ds], image).ok());
  return image.str();
}

// The filled network slots, then the filled data set slots (numbered from 64).
inline std::vector<int32_t> FilledSlots() {
  std::vector<int32_t> filled;
  for (int32_t i = 0; i < kSlots; ++i) {
    if (!nrx::Networks()[i].empty()) filled.push_back(i);
    if (nrx::DataSets()[i] != nullptr) filled.push_back(kSlots + i);
  }
  return filled;
}

}  // namespace nrx_test
