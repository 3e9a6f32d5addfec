// Input selection over a data set slot.

#include <cstdint>

#include "analysis/input_selection.h"
#include "entry_point.h"
#include "nrx32.h"

NRX_API int32_t NRX_CALL NRXInputSelection(int32_t ds, int32_t method, int32_t population,
                                           int32_t generations, double mutation_rate,
                                           double crossover_rate, double unit_penalty,
                                           double smoothing, double sampling_rate) {
  return nrx::OnDataSet(ds, [&](tavrin::DataSet& data) {
    tavrin::EngineState& engine = tavrin::Engine();
    tavrin::InputSelectionSettings s = engine.input_selection.settings;
    s.method = method;
    s.population = population;
    s.generations = generations;
    s.mutation_rate = mutation_rate;
    s.crossover_rate = crossover_rate;
    s.unit_penalty = unit_penalty;
    s.sampling_rate = sampling_rate;
    engine.active_data_set = &data;
    if (!tavrin::SearchInputs(engine, s)) return false;
    engine.algorithms.smoothing = smoothing;
    return engine.input_selection.stopped || tavrin::ApplyInputMask(engine).ok();
  });
}
