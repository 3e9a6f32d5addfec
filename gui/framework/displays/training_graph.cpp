#include "training_graph.h"

#include <algorithm>

namespace tavrin::gui {
namespace {

std::string Legend(std::string_view label, const std::string& standard_name) {
  if (label.empty()) return standard_name;
  if (standard_name.empty()) return std::string(label);
  return standard_name.substr(0, 1) + ". " + std::string(label);
}

void AddPoint(GraphData& lines, int line, double x, double y) {
  if (line < 0) return;
  lines[static_cast<std::size_t>(line)].x.push_back(x);
  lines[static_cast<std::size_t>(line)].y.push_back(y);
}

}  // namespace

void TrainingGraph::StartRun(std::string_view label, const StandardNames& names,
                             bool has_verification) {
  const auto add_line = [&](const std::string& name) {
    const int pen = static_cast<int>(lines_.size());
    lines_.push_back({{}, {}, Legend(label, name), pen});
    return pen;
  };
  training_line_ = add_line(names.training);
  verification_line_ = has_verification ? add_line(names.verification) : -1;
}

bool TrainingGraph::EpochDone(double training_error, double verification_error) {
  ++epoch_;
  if (epoch_ % interval_ != 0 || training_line_ < 0) return false;
  const double x = static_cast<double>(epoch_);
  AddPoint(lines_, training_line_, x, training_error);
  AddPoint(lines_, verification_line_, x, verification_error);
  return true;
}

void TrainingGraph::SetInterval(int requested) {
  interval_ = std::max(requested, 1);
  epoch_ = 0;
}

void TrainingGraph::Clear() {
  lines_.clear();
  training_line_ = -1;
  verification_line_ = -1;
  epoch_ = 0;
}

}  // namespace tavrin::gui
