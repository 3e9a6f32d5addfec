// Result statistics over a network and a data set.

#include <algorithm>
#include <cstdint>

#include "analysis/sensitivity.h"
#include "checks.h"
#include "entry_point.h"
#include "nrx32.h"

NRX_API int32_t NRX_CALL NRXSensitivityAnalysis(int32_t net, int32_t ds, int32_t* training_ranks,
                                                int32_t* verification_ranks,
                                                double* training_base_error,
                                                double* verification_base_error,
                                                double* training_errors,
                                                double* verification_errors) {
  return nrx::OnPair(net, ds, tavrin::kNotEnoughMemory, [&](nrx::NetworkSlot&, tavrin::DataSet&) {
    if (training_ranks == nullptr || verification_ranks == nullptr ||
        training_base_error == nullptr || verification_base_error == nullptr ||
        training_errors == nullptr || verification_errors == nullptr) {
      return nrx::Refuse(nrx::kNullOutput);
    }
    tavrin::SensitivityResults r;
    if (!tavrin::AnalyseSensitivity(tavrin::Engine(), &r)) return false;
    std::copy(r.training.ranks.begin(), r.training.ranks.end(), training_ranks);
    std::copy(r.verification.ranks.begin(), r.verification.ranks.end(), verification_ranks);
    std::copy(r.training.errors.begin(), r.training.errors.end(), training_errors);
    std::copy(r.verification.errors.begin(), r.verification.errors.end(), verification_errors);
    *training_base_error = r.training.base_error;
    *verification_base_error = r.verification.base_error;
    return true;
  });
}
