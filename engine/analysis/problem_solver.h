#pragma once

// The automatic design search: it makes the data set's subsets, tries
// candidate networks of the enabled architectures round-robin, keeps the good
// ones in a temporary network set of its own and at the end moves them into
// the caller's set file.
//
// The search reports progress and can be stopped: after each candidate the
// run's search_callback gets (candidates done, budget or 0), and false from
// it, or a stop request, ends the search; what was found is still moved.

#include <filesystem>

#include "analysis/problem_solver_settings.h"
#include "common/status.h"
#include "data/data_set.h"
#include "network/network_set.h"

namespace tavrin {

struct EngineState;

// Checks the settings against the data set, recording the first refusal:
// "You must have both input and output variables defined to use the wizard",
// then the budget, the hidden sizes, the temporary set's capacity and
// when-full choice, the proportions, and a search without a budget or an
// architecture.
[[nodiscard]] Status CheckProblemSolver(const DataSet& data, const ProblemSolverSettings& settings);

// Runs the search on `data` and rewrites `final_file` from `final_set` (read
// from it by the caller) with the networks found. The data set's roles, the
// training settings, the network design and the active pair are as they
// were afterwards; its subsets are changed when proportions were given. On
// a failure before the rewrite the file is unchanged.
[[nodiscard]] Status SolveProblem(EngineState& engine, DataSet& data,
                                  const ProblemSolverSettings& settings, NetworkSet& final_set,
                                  const std::filesystem::path& final_file);

}  // namespace tavrin
