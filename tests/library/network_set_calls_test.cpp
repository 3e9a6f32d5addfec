// The network set calls through the shared object: settings taken or kept,
// networks stored and loaded back by handle, entry details and their texts
// within the documented buffer size, and the calls' own refusals. The file's
// layout, the policies and sorting are the engine's tests.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "library_test_support.h"
#include "nrx32.h"

namespace nrx_test {
namespace {

class NetworkSetCallsTest : public LibraryTest {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("tavrin-set-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
    file_ = (dir_ / "set.bnt").string();
  }
  void TearDown() override {
    LibraryTest::TearDown();
    std::filesystem::remove_all(dir_);
  }
  std::vector<int32_t> Details() {
    std::vector<int32_t> d(5, -7);
    Ok(NRXGetNetworkSetDetails(file_.c_str(), &d[0], &d[1], &d[2], &d[3], &d[4]));
    return d;
  }

  std::filesystem::path dir_;
  std::string file_;
};

TEST_F(NetworkSetCallsTest, SettingsAreTakenOnlyWhenAcceptable) {
  Ok(NRXCreateNetworkSet(file_.c_str(), -4, 4, 3));
  EXPECT_EQ(Details(), (std::vector<int32_t>{0, 30, 0, 0, 0}));
  EXPECT_EQ(std::filesystem::file_size(file_), 260u);
  Ok(NRXCreateNetworkSet(file_.c_str(), 2, 3, 1));
  EXPECT_EQ(Details(), (std::vector<int32_t>{0, 2, 0, 3, 1}));

  const int32_t net = Design{}.Create();
  Ok(NRXAddNetworkToSet(file_.c_str(), net, -1));
  Ok(NRXAddNetworkToSet(file_.c_str(), net, -1));
  Ok(NRXSetNetworkSetDetails(file_.c_str(), 2, 1, 4, 2));  // capacity equal to the count
  EXPECT_EQ(Details(), (std::vector<int32_t>{2, 2, 1, 3, 1}));
  Ok(NRXSetNetworkSetDetails(file_.c_str(), 5, 3, 1, 0));  // current beyond the count
  EXPECT_EQ(Details(), (std::vector<int32_t>{2, 5, 1, 1, 0}));
}

TEST_F(NetworkSetCallsTest, StoredNetworksLoadBackWithTheirDetails) {
  Ok(NRXCreateNetworkSet(file_.c_str(), 0, 0, 0));
  Design small;
  Design bigger;
  bigger.no_inputs = 2;
  bigger.units = {2, 3, 1};
  const int32_t a = small.Create(), b = bigger.Create();
  Ok(NRXSetNetworkUnitThreshold(b, 1, 2, 0.625));
  Ok(NRXAddNetworkToSet(file_.c_str(), a, -1));
  Ok(NRXAddNetworkToSet(file_.c_str(), b, -1));

  const std::string long_text(NRX_MAX_SET_TEXT_LENGTH, 'h');
  Ok(NRXSetNetworkSetNetworkDetails(file_.c_str(), 1, 1, long_text.c_str(), "kept"));
  EXPECT_EQ(
      NRXSetNetworkSetNetworkDetails(file_.c_str(), 1, -1, (long_text + "x").c_str(), nullptr), 0);
  EXPECT_EQ(ErrorText(), "Network set text too long");

  int32_t ints[6];
  double figures[6];
  std::vector<char> history(NRX_SET_TEXT_BUFFER_SIZE + 16, '#'),
      comment(NRX_SET_TEXT_BUFFER_SIZE, '#');
  Ok(NRXGetNetworkSetNetworkDetails(file_.c_str(), -1, &ints[0], &ints[1], &ints[2], &ints[3],
                                    &ints[4], &ints[5], &figures[0], &figures[1], &figures[2],
                                    &figures[3], &figures[4], &figures[5], history.data(),
                                    comment.data()));
  EXPECT_EQ(std::vector<int32_t>(ints, ints + 6), (std::vector<int32_t>{0, 2, 3, 0, 2, 1}));
  EXPECT_EQ(std::vector<double>(figures, figures + 6), std::vector<double>(6, 0.0));
  EXPECT_EQ(std::string(history.data()), long_text);
  EXPECT_EQ(history[NRX_SET_TEXT_BUFFER_SIZE], '#');
  EXPECT_EQ(std::string(comment.data()), "kept");

  const int32_t loaded = NRXLoadNetwork(file_.c_str(), -1);
  ASSERT_GE(loaded, 0) << ErrorText();
  EXPECT_EQ(Get<double>(NRXGetNetworkUnitThreshold, loaded, 1, 2), 0.625);
  EXPECT_EQ(NRXLoadNetwork(file_.c_str(), -2), -1);
  EXPECT_EQ(ErrorText(), "Network number must be at least -1");
  EXPECT_EQ(NRXLoadNetwork(file_.c_str(), 2), -1);
  EXPECT_EQ(ErrorText(), "Network number greater than number of networks in network set");
}

// Each network keeps the history of its own training; a data set gives the
// entry its figures, and without one they are 0 whatever ran before.
TEST_F(NetworkSetCallsTest, EntriesKeepTheirNetworksHistoryAndFigures) {
  Ok(NRXCreateNetworkSet(file_.c_str(), 0, 0, 0));
  const int32_t ds = MakeDataSet(1, 1, {{0, 0.2}, {1, 0.9}, {0.5, 0.4}});
  const int32_t a = Design{}.Create(), b = Design{}.Create();
  double errors[2];
  const auto train = [&](int32_t net, int32_t epochs) {
    Ok(NRXBackPropagation(net, ds, epochs, 0, 0, 0, 0.1, 0.1, 0, 0, 0, &errors[0], &errors[1]));
  };
  train(a, 2);
  train(b, 3);
  train(a, 1);
  Ok(NRXAddNetworkToSet(file_.c_str(), a, ds));
  Ok(NRXAddNetworkToSet(file_.c_str(), b, -1));
  const int32_t copy = NRXCopyNetwork(a);
  Ok(NRXAddNetworkToSet(file_.c_str(), copy, -1));

  int32_t ints[6];
  double figures[6];
  std::vector<char> history(NRX_SET_TEXT_BUFFER_SIZE);
  const auto entry = [&](int32_t index) {
    Ok(NRXGetNetworkSetNetworkDetails(file_.c_str(), index, &ints[0], &ints[1], &ints[2], &ints[3],
                                      &ints[4], &ints[5], &figures[0], &figures[1], &figures[2],
                                      &figures[3], &figures[4], &figures[5], history.data(),
                                      nullptr));
    return std::string(history.data());
  };
  EXPECT_EQ(entry(0), "BP2,BP1");
  EXPECT_GT(figures[0], 0.0);
  EXPECT_GT(figures[3], 0.0);  // the S.D. ratio of a numeric output
  EXPECT_EQ(figures[1], 0.0);  // no verification cases
  EXPECT_EQ(entry(1), "BP3");
  EXPECT_EQ(std::vector<double>(figures, figures + 6), std::vector<double>(6, 0.0));
  EXPECT_EQ(entry(2), "BP2,BP1");

  const int32_t loaded = NRXLoadNetwork(file_.c_str(), 1);
  ASSERT_GE(loaded, 0);
  train(loaded, 1);
  Ok(NRXReplaceNetworkInSet(file_.c_str(), loaded, -1, 1));
  EXPECT_EQ(entry(1), "BP3,BP1");
}

// The spreadsheet calls load, run and free a stored network for each cell.
TEST_F(NetworkSetCallsTest, SpreadsheetCellsFromAStoredNetwork) {
  Ok(NRXCreateNetworkSet(file_.c_str(), 0, 0, 0));
  Design classifier;
  classifier.no_inputs = 2;
  classifier.units = {2, 2};
  classifier.nominals = {0, 0, 2};
  classifier.conversions = {5, 5, 1};  // None, None, One-of-N
  const int32_t net = classifier.Create();
  ASSERT_GE(net, 0) << ErrorText();
  Ok(NRXSetNetworkNominal(net, 2, 1, "yes"));
  for (int32_t to = 0; to < 2; ++to) {  // unit `to` follows input `to`
    Ok(NRXSetNetworkUnitThreshold(net, 1, to, 0));
    for (int32_t from = 0; from < 2; ++from) {
      Ok(NRXSetNetworkWeight(net, 0, from, 1, to, from == to ? 10 : 0));
    }
  }
  Ok(NRXAddNetworkToSet(file_.c_str(), net, -1));
  Ok(NRXFreeNetwork(net));

  const uint16_t one = 1, two = 2;
  const double second[] = {-1, 1}, unclear[] = {0, 0};
  EXPECT_STREQ(NRXExcelRunNetworkText(file_.c_str(), 0, 0, 0, "?", &one, &two, second), "yes");
  EXPECT_STREQ(NRXExcelRunNetworkText(file_.c_str(), 0, 0, 0, "?", &two, &one, unclear), "?");
  EXPECT_EQ(NRXExcelRunNetworkNumeric(file_.c_str(), 0, 0, 0, -5, &one, &two, unclear), -5.0);
  EXPECT_EQ(NRXExcelRunNetworkNumeric(file_.c_str(), 0, 0, 0, -5, &one, &two, second), 2.0);
  const std::string cell = NRXExcelRunNetworkText(file_.c_str(), 0, 1, 1, "?", &one, &two, second);
  EXPECT_NEAR(std::stod(cell), 1.0 / (1.0 + std::exp(-10.0)), 1e-5);

  ::testing::internal::CaptureStderr();
  EXPECT_EQ(NRXExcelRunNetworkNumeric(file_.c_str(), 0, 0, 0, -5, &one, &one, second), -5.0);
  EXPECT_EQ(ErrorText(), "Input array wrong size for network");
  EXPECT_EQ(NRXExcelRunNetworkText(file_.c_str(), 0, 0, 4, "?", &one, &two, second), nullptr);
  EXPECT_EQ(ErrorText(), "Parameter type is out of range");
  EXPECT_EQ(NRXExcelRunNetworkNumeric(file_.c_str(), 0, 1, 0, -5, &one, &two, second), -5.0);
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
  EXPECT_EQ(NRXLoadNetwork(file_.c_str(), 0), -1);
  EXPECT_EQ(ErrorText(), "Could not open network file for reading");
  Ok(NRXCreateNetworkSet(file_.c_str(), 0, 0, 0));
  EXPECT_EQ(NRXLoadNetwork(file_.c_str(), 0), -1);
  EXPECT_EQ(ErrorText(), "Network Set is empty");
  int32_t i;
  double d;
  EXPECT_EQ(NRXGetNetworkSetNetworkDetails(file_.c_str(), 0, &i, &i, &i, &i, &i, &i, &d, &d, &d, &d,
                                           &d, &d, nullptr, nullptr),
            0);
  EXPECT_EQ(ErrorText(), "Network Set contains no networks");
  const int32_t net = Design{}.Create();
  Ok(NRXAddNetworkToSet(file_.c_str(), net, -1));
  EXPECT_EQ(NRXGetNetworkSetNetworkDetails(file_.c_str(), 1, &i, &i, &i, &i, &i, &i, &d, &d, &d, &d,
                                           &d, &d, nullptr, nullptr),
            0);
  EXPECT_EQ(ErrorText(), "Network number is greater than number of networks in the network set");
  EXPECT_EQ(NRXSetNetworkSetNetworkDetails(file_.c_str(), 0, 2, nullptr, nullptr), 0);
  EXPECT_EQ(ErrorText(), "is_locked flag out of range");
  EXPECT_EQ(NRXSetNetworkSetNetworkDetails(file_.c_str(), 1, 0, nullptr, nullptr), 0);
  EXPECT_EQ(ErrorText(), "Network index number out of range");
  EXPECT_EQ(NRXAddNetworkToSet(file_.c_str(), net, 5), 0);
  EXPECT_EQ(ErrorText(), "No data set loaded with this index");
  EXPECT_EQ(NRXSortNetworkSet(file_.c_str(), 1, 11), 0);
  EXPECT_EQ(ErrorText(), "Criterion out of range");
}

}  // namespace
}  // namespace nrx_test
