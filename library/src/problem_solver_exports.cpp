// The automatic design search: the set file and the data set handle checked,
// then the engine's search, which rewrites the set file.

#include "analysis/problem_solver.h"
#include "entry_point.h"
#include "network/network_set_file.h"
#include "nrx32.h"

NRX_API int32_t NRX_CALL NRXIntelligentProblemSolver(
    const char* file, int32_t ds, int32_t steps, int32_t regularise, int32_t linear,
    int32_t bayesian, int32_t rbf, int32_t mlp3, int32_t mlp4, int32_t hidden1, int32_t hidden2,
    int32_t budget, int32_t temporary_capacity, int32_t temporary_when_full, int32_t no_enlarge,
    double training_proportion, double verification_proportion, double accept, double reject) {
  return nrx::Guarded(nrx::kFailure, tavrin::kNotEnoughMemory, [&]() -> std::int32_t {
    tavrin::NetworkSet set;
    if (file == nullptr) {
      tavrin::RecordError(nrx::kSetNullFile);
      return nrx::kFailure;
    }
    if (!tavrin::ReadNetworkSetFile(file, set)) return nrx::kFailure;
    tavrin::DataSet* data = nrx::CheckDataSetIndex(ds);
    if (data == nullptr) return nrx::kFailure;
    tavrin::ProblemSolverSettings s;
    s.steps = steps;
    s.regularise = regularise != 0;
    s.kinds = {mlp3 != 0, mlp4 != 0, rbf != 0, linear != 0, bayesian != 0};
    s.hidden1 = hidden1;
    s.hidden2 = hidden2;
    s.budget = budget;
    s.temporary_capacity = temporary_capacity;
    s.temporary_when_full = temporary_when_full;
    s.no_enlarge = no_enlarge != 0;
    s.training_proportion = training_proportion;
    s.verification_proportion = verification_proportion;
    s.accept = accept;
    s.reject = reject;
    return tavrin::SolveProblem(tavrin::Engine(), *data, s, set, file).ok() ? nrx::kSuccess
                                                                            : nrx::kFailure;
  });
}
