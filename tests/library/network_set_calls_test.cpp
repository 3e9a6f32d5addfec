// The network set calls through the shared object: settings and entry
// details in and out, texts within the documented buffer size, networks
// stored and loaded back by handle with their own histories, the
// spreadsheet calls, and the calls' own refusals. The file's layout, the
// policies and sorting are the engine's tests.

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "library_test_support.h"
#include "nrx32.h"

namespace nrx_test {
namespace {

using Ints = std::vector<int32_t>;

class NetworkSetCallsTest : public LibraryTest {
 protected:
  void TearDown() override {
    LibraryTest::TearDown();
    std::remove(file_.c_str());
  }
  Ints Details() {
    Ints d(5, -7);
    Ok(NRXGetNetworkSetDetails(file(), &d[0], &d[1], &d[2], &d[3], &d[4]));
    return d;
  }
  // Entry `index`'s details into ints_ and figures_.
  int32_t Entry(int32_t index, char* history = nullptr, char* comment = nullptr) {
    return NRXGetNetworkSetNetworkDetails(file(), index, &ints_[0], &ints_[1], &ints_[2], &ints_[3],
                                          &ints_[4], &ints_[5], &figures_[0], &figures_[1],
                                          &figures_[2], &figures_[3], &figures_[4], &figures_[5],
                                          history, comment);
  }
  const char* file() const { return file_.c_str(); }

  const std::string file_ =
      ::testing::TempDir() + "tavrin-set-" + std::to_string(::getpid()) + ".bnt";
  std::array<int32_t, 6> ints_{};
  std::array<double, 6> figures_{};
};

TEST_F(NetworkSetCallsTest, StoredNetworksLoadBackWithTheirDetails) {
  Ok(NRXCreateNetworkSet(file(), 2, 3, 1));
  EXPECT_EQ(Details(), (Ints{0, 2, 0, 3, 1}));
  const int32_t a = Design{}.Create(), b = Design{.no_inputs = 2, .units = {2, 3, 1}}.Create();
  Ok(NRXSetNetworkUnitThreshold(b, 1, 2, 0.625));
  Ok(NRXAddNetworkToSet(file(), a, -1));
  Ok(NRXAddNetworkToSet(file(), b, -1));

  const std::string long_text(NRX_MAX_SET_TEXT_LENGTH, 'h');
  Ok(NRXSetNetworkSetNetworkDetails(file(), 1, 1, long_text.c_str(), "kept"));
  EXPECT_EQ(NRXSetNetworkSetNetworkDetails(file(), 1, -1, (long_text + "x").c_str(), nullptr), 0);
  EXPECT_EQ(ErrorText(), "Network set text too long");
  std::vector<char> history(NRX_SET_TEXT_BUFFER_SIZE + 16, '#'),
      comment(NRX_SET_TEXT_BUFFER_SIZE, '#');
  Ok(Entry(-1, history.data(), comment.data()));
  EXPECT_EQ(ints_, (std::array<int32_t, 6>{0, 2, 3, 0, 2, 1}));
  EXPECT_EQ(std::string(history.data()), long_text);
  EXPECT_EQ(history[NRX_SET_TEXT_BUFFER_SIZE], '#');
  EXPECT_EQ(std::string(comment.data()), "kept");

  const int32_t loaded = NRXLoadNetwork(file(), -1);
  ASSERT_GE(loaded, 0) << ErrorText();
  EXPECT_EQ(Get<double>(NRXGetNetworkUnitThreshold, loaded, 1, 2), 0.625);
  Ok(NRXSetNetworkSetDetails(file(), 5, 1, 1, 0));
  EXPECT_EQ(Details(), (Ints{2, 5, 1, 1, 0}));
}

// Each network keeps the history of its own training; a data set gives the
// entry its figures, and without one they are 0 whatever ran before.
TEST_F(NetworkSetCallsTest, EntriesKeepTheirNetworksHistoryAndFigures) {
  Ok(NRXCreateNetworkSet(file(), 0, 0, 0));
  const int32_t ds = MakeDataSet(1, 1, {{0, 0.2}, {1, 0.9}, {0.5, 0.4}});
  const int32_t a = Design{}.Create(), b = Design{}.Create();
  const auto train = [&](int32_t net, int32_t epochs) {
    double errors[2];
    Ok(NRXBackPropagation(net, ds, epochs, 0, 0, 0, 0.1, 0.1, 0, 0, 0, &errors[0], &errors[1]));
  };
  train(a, 2);
  train(b, 3);
  train(a, 1);
  Ok(NRXAddNetworkToSet(file(), a, ds));
  Ok(NRXAddNetworkToSet(file(), b, -1));
  Ok(NRXAddNetworkToSet(file(), NRXCopyNetwork(a), -1));
  const auto history = [&](int32_t index) {
    std::vector<char> text(NRX_SET_TEXT_BUFFER_SIZE);
    Ok(Entry(index, text.data()));
    return std::string(text.data());
  };
  EXPECT_EQ(history(0), "BP2,BP1");
  EXPECT_GT(figures_[0], 0.0);
  EXPECT_EQ(history(1), "BP3");
  EXPECT_EQ(figures_, (std::array<double, 6>{}));
  EXPECT_EQ(history(2), "BP2,BP1");

  const int32_t loaded = NRXLoadNetwork(file(), 1);
  ASSERT_GE(loaded, 0);
  train(loaded, 1);
  Ok(NRXReplaceNetworkInSet(file(), loaded, -1, 1));
  EXPECT_EQ(history(1), "BP3,BP1");
}

// The spreadsheet calls load, run and free a stored network for each cell.
TEST_F(NetworkSetCallsTest, SpreadsheetCellsFromAStoredNetwork) {
  Ok(NRXCreateNetworkSet(file(), 0, 0, 0));
  // Conversions None, None and One-of-N.
  const int32_t net =
      Design{.no_inputs = 2, .units = {2, 2}, .nominals = {0, 0, 2}, .conversions = {5, 5, 1}}
          .Create();
  ASSERT_GE(net, 0) << ErrorText();
  Ok(NRXSetNetworkNominal(net, 2, 1, "yes"));
  for (int32_t to = 0; to < 2; ++to) {  // unit `to` follows input `to`
    Ok(NRXSetNetworkUnitThreshold(net, 1, to, 0));
    for (int32_t from = 0; from < 2; ++from) {
      Ok(NRXSetNetworkWeight(net, 0, from, 1, to, from == to ? 10 : 0));
    }
  }
  Ok(NRXAddNetworkToSet(file(), net, -1));
  Ok(NRXFreeNetwork(net));

  const uint16_t one = 1, two = 2;
  const double second[] = {-1, 1}, unclear[] = {0, 0};
  EXPECT_STREQ(NRXExcelRunNetworkText(file(), 0, 0, 0, "?", &one, &two, second), "yes");
  EXPECT_STREQ(NRXExcelRunNetworkText(file(), 0, 0, 0, "?", &two, &one, unclear), "?");
  EXPECT_EQ(NRXExcelRunNetworkNumeric(file(), 0, 0, 0, -5, &one, &two, unclear), -5.0);
  EXPECT_EQ(NRXExcelRunNetworkNumeric(file(), 0, 0, 0, -5, &one, &two, second), 2.0);
  const std::string cell = NRXExcelRunNetworkText(file(), 0, 1, 1, "?", &one, &two, second);
  EXPECT_NEAR(std::stod(cell), 1.0 / (1.0 + std::exp(-10.0)), 1e-5);

  ::testing::internal::CaptureStderr();
  EXPECT_EQ(NRXExcelRunNetworkNumeric(file(), 0, 0, 0, -5, &one, &one, second), -5.0);
  EXPECT_EQ(ErrorText(), "Input array wrong size for network");
  EXPECT_EQ(NRXExcelRunNetworkText(file(), 0, 0, 4, "?", &one, &two, second), nullptr);
  EXPECT_EQ(ErrorText(), "Parameter type is out of range");
  EXPECT_EQ(NRXExcelRunNetworkNumeric(file(), 0, 1, 0, -5, &one, &two, second), -5.0);
  EXPECT_EQ(ErrorText(), "Output index out of range");
  EXPECT_EQ(NRXExcelRunNetworkNumeric((file_ + "x").c_str(), 0, 0, 0, -5, &one, &two, second), 0.0);
  EXPECT_EQ(NRXExcelTest(), -999);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "Input array wrong size for network: NRX API Error Message\n"
            "Parameter type is out of range: NRX API Error Message\n"
            "Output index out of range: NRX API Error Message\n"
            "Could not open network file for reading: NRX API Error Message\n"
            "NRX API: NRXExcelTest routine called\n");
  EXPECT_EQ(Design{}.Create(), 0);  // every loaded network was freed again
}

TEST_F(NetworkSetCallsTest, RefusalsNameTheirCause) {
  const auto refused = [](int32_t result, int32_t failure, const char* text) {
    EXPECT_EQ(result, failure) << text;
    EXPECT_EQ(ErrorText(), text);
  };
  refused(NRXLoadNetwork(file(), 0), -1, "Could not open network file for reading");
  Ok(NRXCreateNetworkSet(file(), 0, 0, 0));
  const int32_t net = Design{}.Create();
  Ok(NRXAddNetworkToSet(file(), net, -1));
  refused(NRXLoadNetwork(file(), -2), -1, "Network number must be at least -1");
  refused(NRXLoadNetwork(file(), 1), -1,
          "Network number greater than number of networks in network set");
  refused(Entry(1), 0, "Network number is greater than number of networks in the network set");
  refused(NRXSetNetworkSetNetworkDetails(file(), 0, 2, nullptr, nullptr), 0,
          "is_locked flag out of range");
  refused(NRXSetNetworkSetNetworkDetails(file(), 1, 0, nullptr, nullptr), 0,
          "Network index number out of range");
  refused(NRXAddNetworkToSet(file(), net, 5), 0, "No data set loaded with this index");
  refused(NRXSortNetworkSet(file(), 1, 11), 0, "Criterion out of range");
  Ok(NRXDeleteNetworksFromSet(file(), 0, -1));
  refused(NRXLoadNetwork(file(), 0), -1, "Network Set is empty");
  refused(Entry(0), 0, "Network Set contains no networks");
}

}  // namespace
}  // namespace nrx_test
