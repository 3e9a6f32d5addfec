#include "analysis/mask_fitness.h"

#include <algorithm>
#include <cmath>

#include "common/missing.h"
#include "common/vector_kernels.h"
#include "network/coding.h"
#include "network/network_design.h"
#include "network/scale_factors.h"

namespace tavrin {
namespace {

// Evaluation cases whose distances are measured together; bounds the
// distance block at this many rows of reference cases.
constexpr int kEvaluationBlock = 16;

std::vector<int> ColumnsWithRole(const DataSet& data, bool outputs) {
  std::vector<int> columns;
  for (int v = 0; v < data.no_variables; ++v) {
    if (outputs ? data.is_output[v] : data.is_input[v]) columns.push_back(v);
  }
  return columns;
}

}  // namespace

VariableCoding EstimatorCoding(const DataSet& data) {
  const std::vector<int> inputs = ColumnsWithRole(data, false);
  const std::vector<int> outputs = ColumnsWithRole(data, true);
  VariableCoding coding =
      MakeDefaultCoding(static_cast<int>(inputs.size()), static_cast<int>(outputs.size()));
  for (int k = 0; k < coding.no_variables(); ++k) {
    const int v = k < coding.no_inputs ? inputs[k] : outputs[k - coding.no_inputs];
    coding.nominals[k] = data.nominals[v];
    coding.conversion[k] = DefaultConversion(data.nominals[v].size());
  }
  if (coding.no_outputs == 1 && coding.is_nominal(coding.no_inputs)) {
    coding.conversion[coding.no_inputs] = static_cast<double>(ConversionFunction::kOneOfN);
  }
  coding.RecountUnits();
  coding.substitutes.assign(
      static_cast<std::size_t>(coding.no_normed_inputs) + coding.no_normed_outputs, 0.0);
  CalculateScaleFactors(coding, data);
  return coding;
}

CodedCases CodeCases(const DataSet& data) {
  const VariableCoding coding = EstimatorCoding(data);
  const std::vector<int> inputs = ColumnsWithRole(data, false);
  const std::vector<int> outputs = ColumnsWithRole(data, true);
  CodedCases coded;
  coded.width = coding.no_normed_inputs;
  coded.no_targets = coding.no_normed_outputs;
  const auto cases = static_cast<std::size_t>(data.no_cases);
  coded.inputs.resize(cases * coded.width);
  coded.targets.resize(cases * coded.no_targets);
  coded.has_target.resize(cases);
  for (int v = 0; v < coding.no_inputs; ++v) {
    coded.first_value.push_back(coding.UnitPosition(v));
    coded.value_count.push_back(coding.UnitCount(v));
  }
  std::vector<double> raw_inputs(inputs.size());
  std::vector<double> raw_outputs(outputs.size());
  for (std::size_t c = 0; c < cases; ++c) {
    const double* row = data.row(static_cast<int>(c));
    for (std::size_t k = 0; k < inputs.size(); ++k) raw_inputs[k] = row[inputs[k]];
    bool present = true;
    for (std::size_t k = 0; k < outputs.size(); ++k) {
      raw_outputs[k] = row[outputs[k]];
      present = present && !IsMissing(raw_outputs[k]);
    }
    CodeInputs(coding, raw_inputs.data(), coded.inputs.data() + c * coded.width);
    CodeOutputs(coding, raw_outputs.data(), coded.targets.data() + c * coded.no_targets);
    coded.has_target[c] = present ? 1 : 0;
  }
  return coded;
}

void MaskFitness::Gather(const InputMask& mask, const CaseLists& lists) {
  columns_.clear();
  for (int v = 0; v < mask.size(); ++v) {
    if (!mask.test(v)) continue;
    for (int k = 0; k < cases_.value_count[v]; ++k) columns_.push_back(cases_.first_value[v] + k);
  }
  const auto scored = [&](const std::vector<int>& list, std::vector<int>& out) {
    out.clear();
    for (int c : list) {
      if (cases_.has_target[c]) out.push_back(c);
    }
  };
  scored(lists.reference, references_);
  scored(lists.evaluation, evaluations_);

  const std::size_t m = columns_.size();
  const std::size_t r_count = references_.size();
  const auto t_count = static_cast<std::size_t>(cases_.no_targets);
  reference_columns_.resize(m * r_count);
  reference_targets_.resize(t_count * r_count);
  for (std::size_t r = 0; r < r_count; ++r) {
    const std::size_t c = references_[r];
    const double* x = cases_.inputs.data() + c * cases_.width;
    for (std::size_t j = 0; j < m; ++j) reference_columns_[j * r_count + r] = x[columns_[j]];
    const double* y = cases_.targets.data() + c * t_count;
    for (std::size_t t = 0; t < t_count; ++t) reference_targets_[t * r_count + r] = y[t];
  }
  evaluation_rows_.resize(evaluations_.size() * m);
  for (std::size_t e = 0; e < evaluations_.size(); ++e) {
    const double* x =
        cases_.inputs.data() + static_cast<std::size_t>(evaluations_[e]) * cases_.width;
    for (std::size_t j = 0; j < m; ++j) evaluation_rows_[e * m + j] = x[columns_[j]];
  }
}

double MaskFitness::operator()(const InputMask& mask, const CaseLists& lists, double unit_penalty) {
  Gather(mask, lists);
  const int m = static_cast<int>(columns_.size());
  const int r_count = static_cast<int>(references_.size());
  const int e_count = r_count > 0 ? static_cast<int>(evaluations_.size()) : 0;
  const int t_count = cases_.no_targets;
  distances_.resize(static_cast<std::size_t>(kEvaluationBlock) * r_count);
  weights_.resize(r_count);
  double sum = 0.0;
  for (int first = 0; first < e_count; first += kEvaluationBlock) {
    const int block = std::min(kEvaluationBlock, e_count - first);
    SquaredDistancesToColumns(evaluation_rows_.data() + static_cast<std::size_t>(first) * m, block,
                              m, reference_columns_.data(), r_count, distances_.data());
    for (int b = 0; b < block; ++b) {
      const double* d = distances_.data() + static_cast<std::size_t>(b) * r_count;
      const double total = KernelWeights(d, r_count, kKernelFactor, kKernelLimit, weights_.data());
      const double* y =
          cases_.targets.data() + static_cast<std::size_t>(evaluations_[first + b]) * t_count;
      // Every reference too far: the kernel's limit as the width shrinks.
      const std::size_t nearest =
          total > 0.0 ? 0 : static_cast<std::size_t>(std::min_element(d, d + r_count) - d);
      for (int t = 0; t < t_count; ++t) {
        const double* column = reference_targets_.data() + static_cast<std::size_t>(t) * r_count;
        const double estimate =
            total > 0.0 ? Dot(weights_.data(), column, r_count) / total : column[nearest];
        sum += (y[t] - estimate) * (y[t] - estimate);
      }
    }
  }
  const double error =
      e_count > 0 && t_count > 0 ? std::sqrt(sum / (double{1} * t_count * e_count)) : 0.0;
  const double p = unit_penalty >= kLeastUnitPenalty ? unit_penalty : kLeastUnitPenalty;
  return error + mask.count() * p;
}

}  // namespace tavrin
