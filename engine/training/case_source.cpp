#include "training/case_source.h"

#include <algorithm>
#include <new>

#include "common/vector_kernels.h"
#include "network/coding.h"
#include "network/scale_factors.h"

namespace tavrin {
namespace {

// Beyond this many doubles the cache is not attempted; cases are then
// prepared as they are loaded.
constexpr std::size_t kMaxCacheValues = std::size_t{1} << 28;

bool IsIdentity(const VariableCoding& c, int v) {
  const double conversion = c.conversion[v];
  const bool linear = conversion == static_cast<double>(ConversionFunction::kMinimax) ||
                      conversion == static_cast<double>(ConversionFunction::kMeanSd) ||
                      conversion == static_cast<double>(ConversionFunction::kExplicit) ||
                      conversion == static_cast<double>(ConversionFunction::kNone);
  return linear && c.scale[v] == 1.0 && c.shift[v] == 0.0 && c.UnitCount(v) == 1;
}

}  // namespace

int CountCasesFrom(const DataSet& data, std::int64_t first, Subset subset) {
  int n = 0;
  for (std::int64_t c = std::max<std::int64_t>(first, 0); c < data.no_cases; ++c) {
    if (data.subset[c] == static_cast<std::int32_t>(subset)) ++n;
  }
  return n;
}

namespace {

// NeedsNoPreprocessing but for missing values.
bool RowsServe(const Network& net, const DataSet& data, bool with_targets) {
  const VariableCoding& c = net.coding;
  if (c.steps != 1 || c.lookahead != 0 || c.input_normalisation != 0) return false;
  const int used = with_targets ? c.no_variables() : c.no_inputs;
  if (with_targets ? data.no_variables != used : data.no_variables < used) return false;
  for (int v = 0; v < used; ++v) {
    if (!IsIdentity(c, v)) return false;
    const bool input = v < c.no_inputs;
    if (input ? (!data.is_input[v] || data.is_output[v])
              : (data.is_input[v] || !data.is_output[v])) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool NeedsNoPreprocessing(const Network& net, const DataSet& data, bool with_targets) {
  // Missing values need the coding's substitutes.
  return RowsServe(net, data, with_targets) &&
         !AnyMissingOrNaN(data.entries.data(), data.entries.size());
}

Status CaseSource::PrepareScaled(Network& net, const DataSet& data, bool scale_outputs) {
  VariableCoding before = net.coding;
  CalculateScaleFactors(net.coding, data, scale_outputs);
  if (Prepare(net, data, true)) return Status::Ok();
  net.coding = std::move(before);
  return Status::Failed();
}

Status CaseSource::Start(const Network& net, const DataSet& data, bool with_targets) {
  data_ = &data;
  coding_ = &net.coding;
  with_targets_ = with_targets;
  input_size_ = net.coding.no_normed_inputs * net.coding.steps;
  target_size_ = with_targets ? net.coding.no_normed_outputs : 0;
  first_case_ = static_cast<int>(std::min<std::int64_t>(net.coding.history(), data.no_cases));
  cached_ = false;
  try {
    raw_inputs_.assign(static_cast<std::size_t>(net.coding.no_inputs) * net.coding.steps, 0.0);
    raw_targets_.assign(net.coding.no_outputs, 0.0);
    // Room for one case, prepared as it is loaded when there is no cache.
    cache_.assign(static_cast<std::size_t>(input_size_) + target_size_, 0.0);
  } catch (const std::bad_alloc&) {
    return Fail(kNotEnoughMemory);
  }
  return Status::Ok();
}

Status CaseSource::PrepareOnePass(const Network& net, const DataSet& data, bool with_targets) {
  if (!Start(net, data, with_targets)) return Status::Failed();
  direct_ = RowsServe(net, data, with_targets);
  return Status::Ok();
}

Status CaseSource::Prepare(const Network& net, const DataSet& data, bool with_targets) {
  if (!Start(net, data, with_targets)) return Status::Failed();
  direct_ = NeedsNoPreprocessing(net, data, with_targets);
  const std::size_t width = static_cast<std::size_t>(input_size_) + target_size_;
  const std::size_t cases = static_cast<std::size_t>(data.no_cases);
  if (direct_ || width == 0 || cases > kMaxCacheValues / width) return Status::Ok();
  try {
    std::vector<double> all(cases * width, 0.0);
    for (int c = first_case_; c < data.no_cases; ++c) PrepareCase(c, all.data() + c * width);
    cache_.swap(all);
    cached_ = true;
  } catch (const std::bad_alloc&) {
    // Cases are then prepared as they are loaded, in the one case's room.
  }
  return Status::Ok();
}

void CaseSource::PrepareCase(int c, double* out) {
  ReadWindow(*data_, c, *coding_, raw_inputs_.data());
  CodeInputs(*coding_, raw_inputs_.data(), out);
  if (!with_targets_) return;
  int i = 0;
  for (int v = 0; v < data_->no_variables && i < coding_->no_outputs; ++v) {
    if (data_->is_output[v]) raw_targets_[i++] = data_->at(c, v);
  }
  for (; i < coding_->no_outputs; ++i) raw_targets_[i] = MISSING;
  CodeOutputs(*coding_, raw_targets_.data(), out + input_size_);
}

const double* CaseSource::Load(int c) {
  if (c < first_case_) return nullptr;
  if (direct_) return data_->row(c);
  const std::size_t width = static_cast<std::size_t>(input_size_) + target_size_;
  if (cached_) return cache_.data() + c * width;
  PrepareCase(c, cache_.data());
  return cache_.data();
}

}  // namespace tavrin
