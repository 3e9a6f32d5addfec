#pragma once

// The score of a candidate input subset without training a network: a
// Gaussian kernel estimate (sigma factor 0.3) of each evaluation case's
// coded targets from the reference cases, using only the subset's coded
// inputs. Lower is better.

#include <cstdint>
#include <vector>

#include "analysis/input_mask.h"
#include "data/data_set.h"
#include "network/variable_coding.h"

namespace tavrin {

// The coding the estimator works in: as a new probabilistic network's when
// the data set has one output variable and it is nominal (then with two
// values it is coded one of N, one unit per class), else as a new regression
// network's; scale factors from the data set.
VariableCoding EstimatorCoding(const DataSet& data);

// Every case of a data set coded once, so that scoring a subset only
// gathers columns.
struct CodedCases {
  int width = 0;                // coded input values of a case
  int no_targets = 0;           // coded output values of a case
  std::vector<double> inputs;   // a row of `width` per case
  std::vector<double> targets;  // a row of `no_targets` per case
  // 0 for a case with a missing output, which is neither a reference nor
  // scored: its coded target would be the substitute, not the truth.
  std::vector<std::uint8_t> has_target;
  std::vector<int> first_value;  // per input variable, its first coded value
  std::vector<int> value_count;  // per input variable
};

// Throws std::bad_alloc when memory runs out.
CodedCases CodeCases(const DataSet& data);

struct CaseLists {
  std::vector<int> reference;
  std::vector<int> evaluation;
};

inline constexpr double kKernelFactor = 0.3;
// Reference cases at kKernelFactor d^2 beyond this weigh nothing.
inline constexpr double kKernelLimit = 100.0;
// The least penalty a selected input costs, so that of two subsets that
// estimate equally well the smaller wins.
inline constexpr double kLeastUnitPenalty = 1e-5;

// Scores masks over one set of coded cases, keeping its working arrays
// between calls.
class MaskFitness {
 public:
  explicit MaskFitness(const CodedCases& cases) : cases_(cases) {}

  // sqrt(squared error sum / (targets x scored evaluation cases)) + selected
  // inputs x max(unit_penalty, 1e-5). An evaluation case every reference
  // case is too far from takes the nearest one's targets (the kernel's
  // limit); with nothing to score the error part is 0. Throws
  // std::bad_alloc.
  double operator()(const InputMask& mask, const CaseLists& lists, double unit_penalty);

 private:
  void Gather(const InputMask& mask, const CaseLists& lists);

  const CodedCases& cases_;
  std::vector<int> columns_;
  std::vector<int> references_;
  std::vector<int> evaluations_;
  std::vector<double> reference_columns_;  // selected values, column by column
  std::vector<double> reference_targets_;  // target by target
  std::vector<double> evaluation_rows_;
  std::vector<double> distances_;
  std::vector<double> weights_;
};

}  // namespace tavrin
