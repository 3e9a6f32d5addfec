// Whole data sets: create, copy, free, their counts, shuffling and sorting.

#include <cstdint>
#include <memory>
#include <utility>

#include "checks.h"
#include "data/data_set.h"
#include "entry_point.h"
#include "nrx32.h"

namespace nrx {
namespace {

using tavrin::DataSet;

constexpr std::int32_t kLastShuffleMode = 4;

bool CheckDataSetSize(std::int32_t no_inputs, std::int32_t no_outputs) {
  if (no_inputs < 0) return Refuse(kInputsOutOfBounds);
  if (no_outputs < 0) return Refuse(kOutputsOutOfBounds);
  if (no_inputs == 0 && no_outputs == 0) return Refuse(kNoDataSetVariables);
  return true;
}

std::int32_t CreateDataSet(std::int32_t no_inputs, std::int32_t no_outputs) {
  const int index = FindFreeDataSetSlot();
  if (index < 0) {
    tavrin::RecordError(kTooManyDataSets);
    return kNoSlot;
  }
  if (!CheckDataSetSize(no_inputs, no_outputs)) return kNoSlot;
  std::unique_ptr<DataSet> data = tavrin::CreateDataSet(no_inputs, no_outputs);
  if (!data) return kNoSlot;
  DataSets()[index] = std::move(data);
  return index;
}

// A count getter: the out value is 0 on any failure, so a caller who ignores
// the result reads no stale count.
template <typename Count>
std::int32_t GetCount(std::int32_t ds, std::int32_t* out, Count count) {
  if (out != nullptr) *out = 0;
  return OnDataSet(ds, [&](DataSet& data) { return Deliver(out, count(data)); });
}

}  // namespace
}  // namespace nrx

using nrx::Refuse;
using tavrin::DataSet;

NRX_API int32_t NRX_CALL NRXCreateDataSet(int32_t no_inputs, int32_t no_outputs) {
  return nrx::Guarded(nrx::kNoSlot, tavrin::kNotEnoughMemory,
                      [&] { return nrx::CreateDataSet(no_inputs, no_outputs); });
}

NRX_API int32_t NRX_CALL NRXCopyDataSet(int32_t ds) {
  return nrx::Guarded(nrx::kNoSlot, tavrin::kNotEnoughMemory, [&]() -> std::int32_t {
    const int index = nrx::FindFreeDataSetSlot();
    const DataSet* source = nrx::CheckDataSetIndex(ds);
    if (source == nullptr) return nrx::kNoSlot;
    if (index < 0) {
      tavrin::RecordError(nrx::kTooManyDataSets);
      return nrx::kNoSlot;
    }
    std::unique_ptr<DataSet> copy = tavrin::CopyDataSet(*source);
    if (!copy) return nrx::kNoSlot;
    nrx::DataSets()[index] = std::move(copy);
    return index;
  });
}

NRX_API int32_t NRX_CALL NRXFreeDataSet(int32_t ds) {
  return nrx::OnDataSet(ds, [&](DataSet& data) {
    // Shuffle mode 2 reads the active network; other engine operations the
    // active data set. Neither may be left pointing at freed memory.
    tavrin::EngineState& engine = tavrin::Engine();
    if (engine.active_data_set == &data) engine.active_data_set = nullptr;
    nrx::DataSets()[ds].reset();
    return true;
  });
}

NRX_API int32_t NRX_CALL NRXGetDataNoVariables(int32_t ds, int32_t* count) {
  return nrx::GetCount(ds, count, [](const DataSet& d) { return d.no_variables; });
}

NRX_API int32_t NRX_CALL NRXGetDataNoInputs(int32_t ds, int32_t* count) {
  return nrx::GetCount(ds, count, [](const DataSet& d) { return d.no_inputs; });
}

NRX_API int32_t NRX_CALL NRXGetDataNoOutputs(int32_t ds, int32_t* count) {
  return nrx::GetCount(ds, count, [](const DataSet& d) { return d.no_outputs; });
}

NRX_API int32_t NRX_CALL NRXGetDataNoCases(int32_t ds, int32_t* count) {
  return nrx::GetCount(ds, count, [](const DataSet& d) { return d.no_cases; });
}

NRX_API int32_t NRX_CALL NRXGetDataNoTraining(int32_t ds, int32_t* count) {
  return nrx::GetCount(ds, count, [](const DataSet& d) { return d.no_training; });
}

NRX_API int32_t NRX_CALL NRXGetDataNoVerification(int32_t ds, int32_t* count) {
  return nrx::GetCount(ds, count, [](const DataSet& d) { return d.no_verification; });
}

NRX_API int32_t NRX_CALL NRXGetDataNoTest(int32_t ds, int32_t* count) {
  return nrx::GetCount(ds, count, [](const DataSet& d) { return d.no_test; });
}

NRX_API int32_t NRX_CALL NRXShuffleDataSet(int32_t ds, int32_t mode) {
  return nrx::OnDataSet(ds, [&](DataSet& data) {
    if (mode < 0 || mode > nrx::kLastShuffleMode) return Refuse(nrx::kShuffleModeOutOfRange);
    tavrin::EngineState& engine = tavrin::Engine();
    const tavrin::Network* net = engine.active_network;
    return tavrin::ShuffleSubsets(data, mode, engine.random, net ? net->coding.history() : 0).ok();
  });
}

NRX_API int32_t NRX_CALL NRXSortDataSet(int32_t ds, int32_t variable, int32_t ascending) {
  return nrx::OnDataSet(ds, [&](DataSet& data) {
    // The one message this export has always given for a bad column.
    if (variable < 0 || variable >= data.no_variables) {
      return Refuse(nrx::kDataSetIndexOutOfRange);
    }
    return tavrin::SortCases(data, variable, ascending != 0).ok();
  });
}
