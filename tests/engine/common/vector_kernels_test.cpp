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

// Three points (a pair and a rest) to 70 columns (two blocks and a rest):
// every distance the sum over the values in order, bit for bit.
TEST(VectorKernelsTest, DistancesToColumns) {
  constexpr int kPoints = 3, kValues = 5, kColumns = 70;
  std::vector<double> x(kPoints * kValues), columns(kValues * kColumns);
  for (std::size_t i = 0; i < x.size(); ++i) x[i] = std::sin(1.0 + i);
  for (std::size_t i = 0; i < columns.size(); ++i) columns[i] = 3.0 * std::cos(0.5 * i);
  std::vector<double> d(kPoints * kColumns);
  SquaredDistancesToColumns(x.data(), kPoints, kValues, columns.data(), kColumns, d.data());
  for (int p = 0; p < kPoints; ++p) {
    for (int r = 0; r < kColumns; ++r) {
      double sum = 0.0;
      for (int i = 0; i < kValues; ++i) {
        const double e = x[p * kValues + i] - columns[i * kColumns + r];
        sum += e * e;
      }
      ASSERT_EQ(d[p * kColumns + r], sum) << p << " " << r;
    }
  }
}

}  // namespace
}  // namespace tavrin::testing
