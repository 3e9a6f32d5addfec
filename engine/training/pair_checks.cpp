#include "training/pair_checks.h"

#include "common/messages.h"
#include "network/scale_factors.h"
#include "training/case_source.h"

namespace tavrin {

Status CheckTrainingPair(const Network* net, const DataSet* data, bool outputs) {
  if (!net) return Fail(kNoActiveNetwork);
  if (!data) return Fail(kNoActiveDataSet);
  if (CountCasesFrom(*data, net->coding.history(), Subset::kTraining) == 0) {
    return Fail(kNoTrainingCases);
  }
  if (!VariablesAgree(net->coding, *data, outputs)) {
    return Fail(outputs ? kDataMismatch : kInputMismatch);
  }
  return Status::Ok();
}

}  // namespace tavrin
