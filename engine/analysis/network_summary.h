#pragma once

// The summary a network set keeps of a network: its structure and, when a
// data set is given, the figures of a run over it.

#include "common/status.h"
#include "data/data_set.h"
#include "network/network.h"
#include "network/network_set.h"

namespace tavrin {

struct EngineState;

// Without a data set every figure is 0 ("not available"), never an earlier
// network's. With one, the pair is made active and run over (RunAll): the
// errors are the subset errors; each performance is the proportion
// classified correctly when the first output is nominal, else that output's
// S.D. ratio, and 0 when the data set holds no targets for the network.
// Refused with RunAll's messages when the inputs do not match.
[[nodiscard]] Status SummariseNetwork(EngineState& engine, Network& network, DataSet* data,
                                      NetworkSummary& summary);

}  // namespace tavrin
