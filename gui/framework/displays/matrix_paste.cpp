#include "matrix_paste.h"

#include <utility>
#include <vector>

namespace tavrin::gui {
namespace {

std::vector<std::string_view> Cells(std::string_view line) {
  std::vector<std::string_view> cells;
  if (line.find('\t') != std::string_view::npos) {
    for (std::size_t start = 0;;) {
      const std::size_t tab = line.find('\t', start);
      cells.push_back(line.substr(start, tab - start));
      if (tab == std::string_view::npos) return cells;
      start = tab + 1;
    }
  }
  for (std::size_t start = line.find_first_not_of(' '); start != std::string_view::npos;) {
    const std::size_t end = line.find(' ', start);
    cells.push_back(line.substr(start, end - start));
    start = line.find_first_not_of(' ', end);
  }
  return cells;
}

}  // namespace

ImportLabels ImportLabelsFromOptions(int row_option, int column_option) {
  return {row_option == 0, column_option == 0};
}

PasteResult PasteIntoMatrix(MatrixModel& matrix, std::string_view text, int row, int column,
                            ImportLabels labels) {
  PasteResult result;
  bool first_line = true;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (std::exchange(first_line, false) && labels.columns) continue;
    const std::vector<std::string_view> cells = Cells(line);
    for (std::size_t k = labels.rows ? 1 : 0; k < cells.size(); ++k) {
      const int c = column + static_cast<int>(k) - (labels.rows ? 1 : 0);
      const bool inside = row >= 0 && c >= 0 && row < matrix.RowCount() && c < matrix.ColumnCount();
      if (inside && matrix.CellFromText(row * matrix.ColumnCount() + c, cells[k])) {
        ++result.taken;
      } else {
        ++result.refused;
      }
    }
    ++row;
  }
  return result;
}

}  // namespace tavrin::gui
