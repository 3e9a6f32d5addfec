#include "program_displays.h"

#include <cmath>

#include "engine_state.h"
#include "network_drawing.h"

namespace tavrin::app {
namespace {

std::string Option(const std::string& options, int k) {
  std::size_t start = 0;
  for (int i = 0; i < k; ++i) {
    start = options.find('|', start);
    if (start == std::string::npos) return {};
    ++start;
  }
  return options.substr(start, options.find('|', start) - start);
}

gui::GraphLine Line(const std::vector<std::pair<double, double>>& points, std::string legend,
                    int pen) {
  gui::GraphLine line;
  line.legend = std::move(legend);
  line.pen = pen;
  line.x.reserve(points.size());
  line.y.reserve(points.size());
  for (const auto& [x, y] : points) {
    line.x.push_back(x);
    line.y.push_back(y);
  }
  return line;
}

// The set a case's point joins, or -1 to leave it out, and the sets'
// legends, as cluster_grouptype chooses: none, subset, a nominal variable
// (cluster_groupby) or the class (the first nominal output).
struct Grouping {
  std::vector<std::string> legends;
  std::function<int(int)> set_of;
};

Grouping GroupingOf(const DataSet& data, int type, int variable, const std::string& subsets) {
  enum { kNone, kSubset, kNominal, kClass };
  if (type == kSubset) {
    return {{Option(subsets, 0), Option(subsets, 1), Option(subsets, 2)},
            [&data](int c) { return data.subset[c] < 3 ? data.subset[c] : -1; }};
  }
  if (type == kClass) {
    variable = -1;
    for (int v = 0; v < data.no_variables && variable < 0; ++v) {
      if (data.is_output[v] && !data.nominals[v].empty()) variable = v;
    }
  }
  const bool nominal = (type == kNominal || type == kClass) && variable >= 0 &&
                       variable < data.no_variables && !data.nominals[variable].empty();
  if (!nominal) return {{}, [](int) { return 0; }};
  const int names = static_cast<int>(data.nominals[variable].size());
  return {data.nominals[variable], [&data, variable, names](int c) {
            const double k = data.at(c, variable);  // value numbers count from 1
            return !IsMissing(k) && k >= 1 && k <= names ? static_cast<int>(k) - 1 : -1;
          }};
}

}  // namespace

ProgramDisplays::ProgramDisplays(ProgramState& state, gui::ParameterTable& parameters,
                                 std::string legends)
    : state_(state),
      parameters_(parameters),
      subset_legends_(legends),
      training_legend_(Option(legends, 0)),
      verification_legend_(Option(legends, 1)),
      pattern_matrix_(state.data,
                      [this] {
                        state_.unsaved_data = true;
                        scatter_stale_ = true;
                      }),
      matrices_(state, Engine(), [this] { state_.unsaved_network = true; }) {
  net_display_.draw = [this](QPainter& painter, const QRect& area) {
    if (state_.network) DrawNetwork(painter, area, *state_.network, state_.preferences.color_units);
  };
  net_display_.rows = [this] {
    return state_.network ? NetworkRows(*state_.network) : gui::CanvasRows{};
  };
  weight_bar_ = weights_.Chart();
  // Each case's error from the last run over every case or training epoch;
  // a case not run has none.
  pattern_bar_.height = [](int c) {
    const std::vector<double>& errors = Engine().training.case_errors;
    const double e = static_cast<std::size_t>(c) < errors.size() ? errors[c] : MISSING;
    return IsMissing(e) ? 0.0 : e;
  };
}

void ProgramDisplays::Point(const char* name, void* data) {
  if (gui::SuParameter* p = parameters_.Find(name)) {
    if (std::holds_alternative<gui::SuDisplay>(p->value)) p->value = gui::SuDisplay{data};
  }
}

void ProgramDisplays::UpdateTrainingGraph() {
  training_graph_.clear();
  if (!state_.training_line.empty()) {
    training_graph_.push_back(Line(state_.training_line, training_legend_, 0));
  }
  if (!state_.verification_line.empty()) {
    training_graph_.push_back(Line(state_.verification_line, verification_legend_, 1));
  }
}

void ProgramDisplays::UpdateScatter() {
  const DataSet* data = state_.data.get();
  const DataEditingValues& v = state_.values.data;
  const ScatterChoice choice{
      data,        data ? data->no_cases : 0, data ? data->no_variables : 0, v.cluster_x,
      v.cluster_y, v.cluster_groupby,         v.cluster_grouptype.current};
  // Rebuilt only when something it shows changed: a refresh runs every few
  // milliseconds during training.
  if (!scatter_stale_ && choice == scatter_choice_) return;
  scatter_stale_ = false;
  scatter_choice_ = choice;
  pattern_scatter_.clear();
  const int x = v.cluster_x - 1, y = v.cluster_y - 1;  // the window counts from 1
  if (!data || x < 0 || y < 0 || x >= data->no_variables || y >= data->no_variables) return;
  const Grouping grouping =
      GroupingOf(*data, choice.group_type, v.cluster_groupby - 1, subset_legends_);
  const std::string axes = pattern_matrix_.ColumnLabel(x) + " / " + pattern_matrix_.ColumnLabel(y);
  pattern_scatter_.resize(std::max<std::size_t>(grouping.legends.size(), 1));
  for (std::size_t k = 0; k < pattern_scatter_.size(); ++k) {
    pattern_scatter_[k].legend = grouping.legends.empty() ? axes : grouping.legends[k];
  }
  for (int c = 0; c < data->no_cases; ++c) {
    const double vx = data->at(c, x), vy = data->at(c, y);
    const int k = grouping.set_of(c);
    if (IsMissing(vx) || IsMissing(vy) || k < 0) continue;
    pattern_scatter_[static_cast<std::size_t>(k)].x.push_back(vx);
    pattern_scatter_[static_cast<std::size_t>(k)].y.push_back(vy);
  }
}

void ProgramDisplays::Update() {
  UpdateTrainingGraph();
  UpdateScatter();
  weights_.Clear();
  if (state_.network) {
    for (const Layer& layer : state_.network->layers) {
      for (const Connection& c : layer.connections) weights_.Add(c.weights);
    }
  }
  Point("training_graph", &training_graph_);
  Point("pattern_matrix", state_.data ? &pattern_matrix_ : nullptr);
  Point("pattern_scatter", &pattern_scatter_);
  Point("net_display", state_.network ? &net_display_ : nullptr);
  Point("weight_bar", state_.network ? &weight_bar_ : nullptr);
  pattern_bar_.count = static_cast<int>(Engine().training.case_errors.size());
  Point("pattern_bar", state_.network ? &pattern_bar_ : nullptr);
  for (const std::string& name : matrices_.Names()) Point(name.c_str(), matrices_.Shown(name));
}

}  // namespace tavrin::app
