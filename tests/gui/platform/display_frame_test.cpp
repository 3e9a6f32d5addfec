// The display frames on real widgets: what copy and save write, the keys
// that move a graph, and the spreadsheet's editing.

#include "display_frame.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <tuple>

#include "graph_view.h"
#include "list_control.h"
#include "matrix_view.h"

namespace tavrin::gui {
namespace {

struct Reports {
  std::vector<int> numbers;
  QStringList texts;
  DisplayHooks Hooks(ExportLabels labels, std::optional<QString> file = std::nullopt) {
    DisplayHooks hooks;
    hooks.export_labels = [labels] { return labels; };
    hooks.report = [this](int n) { numbers.push_back(n); };
    hooks.report_text = [this](const QString& t) { texts << t; };
    hooks.choose_save_file = [file](QWidget*) { return file; };
    return hooks;
  }
};

GraphData TwoLines() {
  return {{{1, 2}, {0.5, 0.25}, "Training", 0}, {{1}, {0.75}, "Verification", 1}};
}

TEST(DisplayFrameTest, CopyWritesTheExportTextOrReportsThatThereAreNoData) {
  Reports reports;
  GraphData lines = TwoLines();
  auto* view = new GraphView;
  DisplayFrame frame(view, reports.Hooks({true, false}), 130, nullptr);
  frame.resize(300, 200);
  QApplication::clipboard()->setText("before");
  view->SetData(nullptr);
  QTest::keyClick(&frame, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(reports.numbers, std::vector<int>{130});
  EXPECT_EQ(QApplication::clipboard()->text(), "before") << "no data: nothing copied";
  view->SetData(&lines);
  frame.copy_button()->click();
  EXPECT_EQ(QApplication::clipboard()->text(), "1\t0.5\t1\t0.75\n2\t0.25\t\t\n")
      << "the labels hook turned the column labels off";
  EXPECT_FALSE(frame.send_button()->isEnabled());
}

TEST(DisplayFrameTest, ArrowsScrollAZoomedGraphAndCtrlAShowsItAll) {
  Reports reports;
  GraphData lines = TwoLines();
  auto* view = new GraphView;
  DisplayFrame frame(view, reports.Hooks({}), 130, nullptr);
  view->SetData(&lines);
  QTest::keyClick(&frame, Qt::Key_Right);
  EXPECT_EQ(view->scroll_position(), kScrollAtStart - kScrollStep);
  QTest::keyClick(&frame, Qt::Key_Left);
  QTest::keyClick(&frame, Qt::Key_Left);
  EXPECT_EQ(view->scroll_position(), kScrollAtStart) << "kept within range";
  QTest::keyClick(&frame, Qt::Key_Up, Qt::ControlModifier);
  QTest::keyClick(&frame, Qt::Key_Right);
  EXPECT_EQ(view->zoom(), 2);
  QTest::keyClick(&frame, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(view->zoom(), 1);
  EXPECT_EQ(view->scroll_position(), kScrollAtStart);
}

// Writing past this many bytes fails, as on a full disk; the signal that
// would end the process is ignored while it is set.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, old_handler_);
  }

 private:
  rlimit old_{};
  void (*old_handler_)(int) = nullptr;
};

TEST(DisplayFrameTest, SaveReplacesTheFileWholeOrLeavesTheOldOne) {
  QTemporaryDir dir;
  const QString path = dir.filePath("graph.txt");
  Reports reports;
  GraphData lines = TwoLines();
  auto* view = new GraphView;
  DisplayHooks hooks = reports.Hooks({}, path);
  bool busy = true;
  hooks.busy = [&busy] { return busy; };
  DisplayFrame frame(view, hooks, 130, nullptr);
  view->SetData(&lines);
  EXPECT_FALSE(frame.Save());
  EXPECT_EQ(reports.numbers, std::vector<int>{65}) << "no saving while an operation runs";
  EXPECT_FALSE(QFile::exists(path));
  busy = false;
  ASSERT_TRUE(frame.Save());
  QFile saved(path);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll().toStdString(), GraphText(lines, true));
  saved.close();

  GraphData longer = lines;
  longer[0].x.assign(5000, 1.0);
  longer[0].y.assign(5000, 2.0);
  view->SetData(&longer);
  {
    const FileSizeLimit limit(4096);
    EXPECT_FALSE(frame.Save());
  }
  ASSERT_EQ(reports.texts.size(), 1);
  EXPECT_TRUE(reports.texts[0].startsWith(path)) << reports.texts[0].toStdString();
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll().toStdString(), GraphText(lines, true)) << "the old file is whole";
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"graph.txt"})
      << "no temporary file left behind";
}

// Whole numbers only; a refusal must not change what the cell shows.
class NumberMatrix : public MatrixModel {
 public:
  int ColumnCount() const override { return 2; }
  int RowCount() const override { return 2; }
  std::string ColumnLabel(int c) const override { return "c" + std::to_string(c); }
  std::string RowLabel(int r) const override { return "r" + std::to_string(r); }
  std::string CellToText(int i) const override { return std::to_string(cells[i]); }
  bool CellFromText(int i, std::string_view text) override {
    offered.emplace_back(text);
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) {
      return false;
    }
    cells[i] = std::stoi(std::string(text));
    return true;
  }
  int cells[4] = {1, 2, 3, 4};
  std::vector<std::string> offered;
};

void TypeIntoCell(QTableView* table, const QModelIndex& index, const QString& text) {
  table->setCurrentIndex(index);
  QTest::keyClick(table, Qt::Key_F2);
  auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_NE(editor, nullptr);
  editor->setText(text);
  QTest::keyClick(editor, Qt::Key_Return);
  QApplication::processEvents();  // the delegate commits from the event queue
}

TEST(DisplayFrameTest, TheSpreadsheetEditsThroughTheModelAndRestoresARefusedCell) {
  NumberMatrix matrix;
  auto* view = new MatrixView;
  Reports reports;
  DisplayFrame frame(view, reports.Hooks({}), 0, nullptr);
  frame.resize(300, 200);
  frame.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
  view->SetData(&matrix);
  QApplication::processEvents();
  QTableView* table = view->table();
  const QModelIndex cell = table->model()->index(1, 0);
  EXPECT_EQ(table->model()->headerData(1, Qt::Vertical).toString(), "r1");
  TypeIntoCell(table, cell, "x7");
  EXPECT_EQ(matrix.offered, std::vector<std::string>{"x7"});
  EXPECT_EQ(cell.data().toString(), "3") << "the refused text is gone";
  TypeIntoCell(table, cell, "42");
  EXPECT_EQ(matrix.cells[2], 42);
  EXPECT_EQ(cell.data().toString(), "42");
  // Pasted cells go through the model from the current cell on.
  QApplication::clipboard()->setText("5\t6\n");
  table->setCurrentIndex(table->model()->index(0, 0));
  table->setFocus();
  QTest::keySequence(table, QKeySequence::Paste);
  EXPECT_EQ(std::tuple(matrix.cells[0], matrix.cells[1]), std::tuple(5, 6));
  EXPECT_EQ(table->model()->index(0, 1).data().toString(), "6");
}

TEST(DisplayFrameTest, AListShowsItsRowsAndSelectsThroughItsHook) {
  std::vector<bool> on = {false, true, false};
  ListData data{[] { return 3; }, [](int r) { return "row" + std::to_string(r); },
                [&](int r) { return on[r]; }, [&](int r, bool b) { on[r] = b; }};
  SuParameter p{"ips_input_selection", SuDisplay{&data}, nullptr, SuType::kMultiList, nullptr};
  QWidget window;
  ListControl control(true, &window);
  control.Write(p);
  QListWidget* list = control.list();
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->item(2)->text(), "row2");
  EXPECT_TRUE(list->item(1)->isSelected());
  list->item(0)->setSelected(true);  // as a click does
  EXPECT_EQ(on, (std::vector<bool>{true, true, false}));
  on[1] = false;
  control.Write(p);
  EXPECT_FALSE(list->item(1)->isSelected());
  EXPECT_EQ(on, (std::vector<bool>{true, false, false})) << "a refresh sends nothing back";
}

}  // namespace
}  // namespace tavrin::gui
