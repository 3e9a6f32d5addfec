#include "program_displays.h"

#include <cmath>

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

// The variable whose values group the scatter plot's points: the first
// nominal output, else none (-1).
int GroupingVariable(const DataSet& data) {
  for (int v = 0; v < data.no_variables; ++v) {
    const bool output = v < static_cast<int>(data.is_output.size()) && data.is_output[v];
    if (output && v < static_cast<int>(data.nominals.size()) && !data.nominals[v].empty()) return v;
  }
  return -1;
}

}  // namespace

ProgramDisplays::ProgramDisplays(ProgramState& state, gui::ParameterTable& parameters,
                                 std::string legends)
    : state_(state),
      parameters_(parameters),
      training_legend_(Option(legends, 0)),
      verification_legend_(Option(legends, 1)),
      pattern_matrix_(state.data, [this] {
        state_.unsaved_data = true;
        scatter_stale_ = true;
      }) {
  net_display_.draw = [this](QPainter& painter, const QRect& area) {
    if (state_.network) DrawNetwork(painter, area, *state_.network, state_.preferences.color_units);
  };
  net_display_.rows = [this] {
    return state_.network ? NetworkRows(*state_.network) : gui::CanvasRows{};
  };
  weight_bar_ = weights_.Chart();
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
  // Rebuilt only when the data set or its cells change: a refresh runs every
  // few milliseconds during training.
  if (!scatter_stale_ && data == scatter_of_) return;
  scatter_stale_ = false;
  scatter_of_ = data;
  pattern_scatter_.clear();
  if (!data || data->no_variables < 2 || data->no_cases == 0) return;
  const int group = GroupingVariable(*data);
  const int x = 0;
  const int y = group == 1 ? 2 % data->no_variables : 1;
  const std::string axes = pattern_matrix_.ColumnLabel(x) + " / " + pattern_matrix_.ColumnLabel(y);
  const int sets = group >= 0 ? static_cast<int>(data->nominals[group].size()) : 1;
  pattern_scatter_.resize(static_cast<std::size_t>(sets));
  for (int k = 0; k < sets; ++k) {
    pattern_scatter_[k].legend = group >= 0 ? data->nominals[group][k] : axes;
  }
  for (int c = 0; c < data->no_cases; ++c) {
    const double vx = data->at(c, x), vy = data->at(c, y);
    if (IsMissing(vx) || IsMissing(vy)) continue;
    int k = 0;
    if (group >= 0) {
      const double g = data->at(c, group);
      if (IsMissing(g) || g < 0 || g >= sets) continue;
      k = static_cast<int>(g);
    }
    pattern_scatter_[k].x.push_back(vx);
    pattern_scatter_[k].y.push_back(vy);
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
}

}  // namespace tavrin::app
