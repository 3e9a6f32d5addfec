#include "export_text.h"

#include <algorithm>
#include <string_view>

#include "c_number.h"

namespace tavrin::gui {
namespace {

// Significant digits of "%.5g" and of "%g" / "%lg".
constexpr int kCopyDigits = 5;
constexpr int kDefaultDigits = 6;

void AppendCellText(std::string& text, std::string_view cell) {
  for (const char c : cell) text += (c == '\t' || c == '\n' || c == '\r') ? ' ' : c;
}

template <typename Series>
std::size_t LongestOf(const std::vector<Series>& all) {
  std::size_t longest = 0;
  for (const Series& series : all) longest = std::max(longest, series.size());
  return longest;
}

}  // namespace

bool ExportsLabels(int option_index) {
  return option_index != 2;
}

ExportLabels ExportLabelsFromOptions(int row_option, int column_option) {
  return {ExportsLabels(row_option), ExportsLabels(column_option)};
}

std::string GraphText(const GraphData& lines, bool column_labels) {
  std::string text;
  if (column_labels && !lines.empty()) {
    for (std::size_t j = 0; j < lines.size(); ++j) {
      if (j > 0) text += '\t';
      AppendCellText(text, lines[j].legend);
      text += ",X\t";
      AppendCellText(text, lines[j].legend);
      text += ",Y";
    }
    text += '\n';
  }
  const std::size_t rows = LongestOf(lines);
  for (std::size_t i = 0; i < rows; ++i) {
    for (std::size_t j = 0; j < lines.size(); ++j) {
      if (j > 0) text += '\t';
      const GraphLine& line = lines[j];
      if (i < line.size()) {
        text += CNumber(line.x[i], kCopyDigits) + '\t' + CNumber(line.y[i], kCopyDigits);
      } else {
        text += '\t';
      }
    }
    text += '\n';
  }
  return text;
}

std::string ScatterText(const ScatterData& sets, bool column_labels) {
  std::string text;
  if (column_labels && !sets.empty()) {
    for (const ScatterSet& set : sets) {
      AppendCellText(text, set.legend);
      text += " (x)\t";
      AppendCellText(text, set.legend);
      text += " (y)\t";
    }
    text += '\n';
  }
  const std::size_t rows = LongestOf(sets);
  for (std::size_t i = 0; i < rows; ++i) {
    for (const ScatterSet& set : sets) {
      if (i < set.size()) {
        text += CNumber(set.x[i], kCopyDigits) + '\t' + CNumber(set.y[i], kCopyDigits) + '\t';
      } else {
        text += "\t\t";
      }
    }
    text += '\n';
  }
  return text;
}

std::string BarChartText(const BarChartData& chart, bool row_labels) {
  std::string text;
  if (!chart.height) return text;
  for (int i = 0; i < chart.count; ++i) {
    if (row_labels) text += CNumber(chart.start + i * chart.bar_width, kDefaultDigits) + '\t';
    text += CNumber(chart.height(i), kDefaultDigits) + '\n';
  }
  return text;
}

std::string MatrixText(const MatrixModel& model, ExportLabels labels) {
  const int columns = std::max(model.ColumnCount(), 0);
  const int rows = std::max(model.RowCount(), 0);
  std::string text;
  if (labels.columns) {
    if (labels.rows) text += '\t';
    for (int c = 0; c < columns; ++c) {
      if (c > 0) text += '\t';
      AppendCellText(text, model.ColumnLabel(c));
    }
    text += '\n';
  }
  for (int r = 0; r < rows; ++r) {
    if (labels.rows) {
      AppendCellText(text, model.RowLabel(r));
      text += '\t';
    }
    for (int c = 0; c < columns; ++c) {
      if (c > 0) text += '\t';
      AppendCellText(text, model.CellToText(r * columns + c));
    }
    text += '\n';
  }
  return text;
}

std::string CanvasText(const CanvasRows& rows) {
  std::string text;
  for (const std::vector<double>& row : rows) {
    for (std::size_t k = 0; k < row.size(); ++k) {
      if (k > 0) text += '\t';
      text += CNumber(row[k], kDefaultDigits);
    }
    text += '\n';
  }
  return text;
}

}  // namespace tavrin::gui
