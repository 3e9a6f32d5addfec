// The network set calls through the shared object: settings taken or kept,
// networks stored and loaded back by handle, entry details and their texts
// within the documented buffer size, and the calls' own refusals. The file's
// layout, the policies and sorting are the engine's tests.

#include <gtest/gtest.h>
#include <unistd.h>

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
  EXPECT_EQ(ErrorText(), "No Data Set loaded with this index");
  EXPECT_EQ(NRXSortNetworkSet(file_.c_str(), 1, 11), 0);
  EXPECT_EQ(ErrorText(), "Criterion out of range");
}

}  // namespace
}  // namespace nrx_test
