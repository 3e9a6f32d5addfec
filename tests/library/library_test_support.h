#pragma once

// What the library tests share: the last error as a string, a fixture that
// empties every slot after each test, a short way to create networks, and
// getters that return what they read.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "nrx32.h"

namespace nrx_test {

inline constexpr int kSlots = 64;

inline std::string ErrorText() {
  char buffer[NRX_ERROR_BUFFER_SIZE];
  EXPECT_EQ(NRXErrorMessage(buffer), 1);
  return buffer;
}

// Leaves a known text other than `expected` behind, so that a test can tell
// whether a call replaced it.
inline void MarkErrorText(std::string_view expected = "") {
  if (expected == "Network index out of range") {
    NRXFreeDataSet(-1);
  } else {
    NRXFreeNetwork(-1);
  }
}

inline void FreeAllSlots() {
  for (int i = 0; i < kSlots; ++i) {
    NRXFreeNetwork(i);
    NRXFreeDataSet(i);
  }
}

class LibraryTest : public ::testing::Test {
 protected:
  void TearDown() override { FreeAllSlots(); }
};

// Expects a call that reports success.
inline void Ok(int32_t result) {
  EXPECT_EQ(result, 1) << ErrorText();
}

// The arguments of NRXCreateNetwork; the defaults build a small MLP.
struct Design {
  int32_t design = NRX_DESIGN_MLP;
  int32_t no_inputs = 1;
  int32_t no_outputs = 1;
  std::vector<int32_t> units = {1, 1};
  std::vector<int32_t> widths{};       // empty: 1 for every layer
  std::vector<int32_t> nominals{};     // empty: passed as null
  std::vector<int32_t> conversions{};  // empty: passed as null
  int32_t steps = 1;
  int32_t lookahead = 0;

  int32_t Create() const {
    const std::vector<int32_t> w = widths.empty() ? std::vector<int32_t>(units.size(), 1) : widths;
    return NRXCreateNetwork(design, no_inputs, no_outputs, static_cast<int32_t>(units.size()),
                            lookahead, steps, nominals.empty() ? nullptr : nominals.data(),
                            conversions.empty() ? nullptr : conversions.data(),
                            units.empty() ? nullptr : units.data(), w.empty() ? nullptr : w.data());
  }
};

// What a getter delivers: Get<double>(NRXGetNetworkUnitThreshold, net, layer, unit).
template <typename T, typename Getter, typename... Args>
T Get(Getter get, Args... args) {
  T value = static_cast<T>(-77);
  EXPECT_EQ(get(args..., &value), 1) << ErrorText();
  return value;
}

// What a name getter copies out.
template <typename Getter, typename... Args>
std::string Name(Getter get, Args... args) {
  char buffer[NRX_NAME_BUFFER_SIZE] = "";
  EXPECT_EQ(get(args..., buffer), 1) << ErrorText();
  return buffer;
}

// A data set of `no_inputs` inputs and `no_outputs` outputs holding `rows`
// (one per case, every variable), all training cases.
inline int32_t MakeDataSet(int32_t no_inputs, int32_t no_outputs,
                           const std::vector<std::vector<double>>& rows) {
  const int32_t ds = NRXCreateDataSet(no_inputs, no_outputs);
  EXPECT_GE(ds, 0) << ErrorText();
  if (rows.size() > 1) Ok(NRXAddDataCases(ds, -1, static_cast<int32_t>(rows.size() - 1)));
  for (std::size_t c = 0; c < rows.size(); ++c) {
    Ok(NRXSetDataCase(ds, static_cast<int32_t>(c), rows[c].data()));
  }
  return ds;
}

}  // namespace nrx_test
