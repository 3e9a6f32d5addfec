// Kernels against the one-value functions they stand for, bit for bit.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "common/bounded_exp.h"
#include "common/vector_kernels.h"

namespace tavrin::testing {
namespace {

// Two whole stretches and a rest, apart and in place: values across the
// range, either side of the clamps, signed zeros, extremes and a NaN.
TEST(VectorKernelsTest, LogisticLayerIsLogisticValueByValue) {
  std::vector<double> x;
  for (int i = 0; i < 135; ++i) x.push_back((i - 67) * 1.61803);
  const double special[] = {100.0,  -100.0, std::nextafter(100.0, 101.0),
                            -0.0,   0.0,    1e300,
                            -1e300, 1e-310, std::numeric_limits<double>::quiet_NaN()};
  for (std::size_t i = 0; i < std::size(special); ++i) x[3 + 15 * i] = special[i];
  std::vector<double> y(x.size());
  std::vector<double> in_place = x;
  LogisticLayer(x.data(), y.data(), static_cast<int>(x.size()));
  LogisticLayer(in_place.data(), in_place.data(), static_cast<int>(x.size()));
  for (std::size_t i = 0; i < x.size(); ++i) {
    const double expected = Logistic(x[i]);
    if (std::isnan(expected)) {
      EXPECT_TRUE(std::isnan(y[i]) && std::isnan(in_place[i])) << i;
      continue;
    }
    EXPECT_EQ(std::memcmp(&y[i], &expected, sizeof expected), 0) << x[i];
    EXPECT_EQ(std::memcmp(&in_place[i], &expected, sizeof expected), 0) << x[i];
  }
}

}  // namespace
}  // namespace tavrin::testing
