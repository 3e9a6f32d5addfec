// The spreadsheet entry points: load a network from a set file, run it on a
// worksheet range and hand one output back as a cell value. A spreadsheet
// shows no last-error text, so each failure is also shown to the user; with
// no desktop to show a box on, it goes to standard error.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "checks.h"
#include "entry_point.h"
#include "frame.h"
#include "network/forward_run.h"
#include "nrx32.h"

namespace nrx {
namespace {

constexpr const char* kBoxCaption = "NRX API";
constexpr const char* kErrorBoxBody = "NRX API Error Message";
constexpr std::int32_t kLastSheetOutputType = 3;

void ShowBox(const char* caption, const char* body) {
  std::fprintf(stderr, "%s: %s\n", caption, body);
}

void ShowLastError() {
  ShowBox(LastError().text(), kErrorBoxBody);
}

// A network loaded for one call and freed on every path out of it.
class LoadedNetwork {
 public:
  LoadedNetwork(const char* file, std::int32_t number) : index_(NRXLoadNetwork(file, number)) {}
  ~LoadedNetwork() {
    if (index_ >= 0) NRXFreeNetwork(index_);
  }
  LoadedNetwork(const LoadedNetwork&) = delete;
  LoadedNetwork& operator=(const LoadedNetwork&) = delete;

  std::int32_t index() const { return index_; }
  tavrin::Network& network() const { return *Networks()[index_].network; }

 private:
  std::int32_t index_;
};

// The requested output of the network for the worksheet's inputs, or false
// after recording why there is none.
bool RunOnSheet(const LoadedNetwork& loaded, std::int32_t output_index, std::int32_t output_type,
                const std::uint16_t* rows, const std::uint16_t* columns, const double* inputs,
                double& element) {
  const tavrin::Network& network = loaded.network();
  const std::int64_t needed =
      static_cast<std::int64_t>(network.coding.no_inputs) * network.coding.steps;
  if (rows == nullptr || columns == nullptr ||
      static_cast<std::int64_t>(*rows) * *columns != needed) {
    return Refuse(kSheetInputSize);
  }
  if (output_type < 0 || output_type > kLastSheetOutputType) return Refuse(kSheetOutputType);
  const int size = tavrin::RunOutputSize(network, static_cast<tavrin::RunOutput>(output_type));
  // The element is read from what the run writes, never past it.
  if (output_index < 0 || output_index >= size) return Refuse(kSheetOutputIndex);
  std::vector<double> outputs(static_cast<std::size_t>(size));
  if (NRXRunNetwork(loaded.index(), output_type, inputs, outputs.data()) != kSuccess) return false;
  element = outputs[static_cast<std::size_t>(output_index)];
  return true;
}

// The cell text of a decoded nominal output: the name of its value, or
// nothing when the output is not a nominal value of its variable.
bool NominalText(const tavrin::Network& network, std::int32_t output_type,
                 std::int32_t output_index, double element, std::string& text) {
  if (output_type != 0) return false;
  const tavrin::VariableCoding& coding = network.coding;
  const auto& names = coding.nominals[static_cast<std::size_t>(coding.no_inputs + output_index)];
  if (!(element >= 1.0 && element <= static_cast<double>(names.size()))) return false;
  text = names[static_cast<std::size_t>(element) - 1];
  return true;
}

}  // namespace
}  // namespace nrx

NRX_API double NRX_CALL NRXExcelRunNetworkNumeric(const char* file, int32_t network,
                                                  int32_t output_index, int32_t output_type,
                                                  double default_value, const uint16_t* rows,
                                                  const uint16_t* columns, const double* inputs) {
  double result = 0.0;
  const std::int32_t status = nrx::Guarded(nrx::kFailure, tavrin::kNotEnoughMemory, [&] {
    const nrx::LoadedNetwork loaded(file, network);
    if (loaded.index() < 0) return nrx::kFailure;
    result = default_value;
    double element = 0.0;
    if (!nrx::RunOnSheet(loaded, output_index, output_type, rows, columns, inputs, element)) {
      return nrx::kFailure;
    }
    if (!tavrin::IsMissing(element)) result = element;
    return nrx::kSuccess;
  });
  if (status != nrx::kSuccess) nrx::ShowLastError();
  return result;
}

NRX_API const char* NRX_CALL NRXExcelRunNetworkText(const char* file, int32_t network,
                                                    int32_t output_index, int32_t output_type,
                                                    const char* missing_text, const uint16_t* rows,
                                                    const uint16_t* columns, const double* inputs) {
  static std::string cell;
  const std::int32_t status = nrx::Guarded(nrx::kFailure, tavrin::kNotEnoughMemory, [&] {
    const nrx::LoadedNetwork loaded(file, network);
    if (loaded.index() < 0) return nrx::kFailure;
    double element = 0.0;
    if (!nrx::RunOnSheet(loaded, output_index, output_type, rows, columns, inputs, element)) {
      return nrx::kFailure;
    }
    if (tavrin::IsMissing(element)) {
      cell = missing_text != nullptr ? missing_text : "";
    } else if (!nrx::NominalText(loaded.network(), output_type, output_index, element, cell)) {
      char number[64];
      std::snprintf(number, sizeof number, "%lg", element);
      cell = number;
    }
    return nrx::kSuccess;
  });
  if (status != nrx::kSuccess) {
    nrx::ShowLastError();
    return nullptr;
  }
  return cell.c_str();
}

NRX_API int32_t NRX_CALL NRXExcelTest(void) {
  nrx::ShowBox(nrx::kBoxCaption, "NRXExcelTest routine called");
  return -999;
}
