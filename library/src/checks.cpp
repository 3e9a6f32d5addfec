#include "checks.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "common/checked_size.h"
#include "common/status.h"
#include "entry_point.h"
#include "network/network_design.h"
#include "nrx32.h"

namespace nrx {

NetworkSlot* CheckNetworkIndex(std::int32_t index, std::string_view no_network_message) {
  if (index < 0 || index >= kNetworkSlotCount) {
    tavrin::RecordError(kNetworkIndexOutOfRange);
    return nullptr;
  }
  NetworkSlot& slot = Networks()[index];
  if (slot.empty()) {
    tavrin::RecordError(no_network_message);
    return nullptr;
  }
  return &slot;
}

tavrin::DataSet* CheckDataSetIndex(std::int32_t index, std::string_view out_of_range,
                                   std::string_view no_data_set) {
  if (index < 0 || index >= kDataSetSlotCount) {
    tavrin::RecordError(out_of_range);
    return nullptr;
  }
  tavrin::DataSet* data = DataSets()[index].get();
  if (data == nullptr) tavrin::RecordError(no_data_set);
  return data;
}

NetworkAndDataSet CheckNetworkAndDataSet(std::int32_t net, std::int32_t ds) {
  NetworkSlot* network = CheckNetworkIndex(net, kNoNetworkCapital);
  if (network == nullptr) return {};
  tavrin::DataSet* data = CheckDataSetIndex(ds);
  if (data == nullptr) return {};
  return {network, data};
}

std::int32_t TruncateToInt32(double value) {
  if (std::isnan(value)) return 0;
  const double t = std::trunc(value);
  if (t <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
    return std::numeric_limits<std::int32_t>::min();
  }
  if (t >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
    return std::numeric_limits<std::int32_t>::max();
  }
  return static_cast<std::int32_t>(t);
}

void CopyName(const std::string& name, char* buffer) {
  const std::size_t length = std::min<std::size_t>(name.size(), NRX_MAX_NAME_LENGTH);
  std::memcpy(buffer, name.data(), length);
  buffer[length] = '\0';
}

bool TakeName(const char* text, std::string& name) {
  if (text == nullptr) {
    name.clear();
    return true;
  }
  // Counting stops past the limit, so an overlong text is refused without
  // reading all of it.
  std::size_t length = 0;
  while (length <= NRX_MAX_NAME_LENGTH && text[length] != '\0') ++length;
  if (length > NRX_MAX_NAME_LENGTH) return Refuse(kNameTooLong);
  name.assign(text, length);
  return true;
}

}  // namespace nrx
