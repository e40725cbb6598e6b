// Filling the report list with a full result (8,000 rows of 8 columns) and painting it once,
// beside a plain QTreeView that does the same work with nothing of the framework in between: a
// minimal table model keeps the 8-bit texts as they come and converts a cell from the code page
// only when the view paints it, and the view draws the same grid lines. Prints the ratio of the
// two; the list should stay within 1.5 times the plain view.
#include <benchmark/benchmark.h>

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QTreeView>
#include <QWidget>
#include <array>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/support/RatioReporter.h"
#include "platform/CodePage.h"
#include "platform/ComCtrls.h"

namespace {

constexpr int kRows = 8000;
constexpr int kColumns = 8;
constexpr int kWidths[kColumns] = {80, 100, 120, 110, 90, 140, 35, 75};

using SourceRow = std::array<std::string, kColumns>;

// Texts shaped like a result: a system number, make, model, body, years, engine, capacity, note.
const std::vector<SourceRow>& sourceRows() {
  static const std::vector<SourceRow> rows = [] {
    std::vector<SourceRow> made;
    made.reserve(kRows);
    for (int r = 0; r < kRows; ++r) {
      made.push_back({std::to_string(100000 + r), "Volkswagen " + std::to_string(r % 40),
                      "Golf IV Variant " + std::to_string(r % 300), "Kombi 5-t\xfcrig",
                      std::to_string(1990 + r % 25) + "-" + std::to_string(2000 + r % 20),
                      "1.9 TDI 81kW " + std::to_string(r % 7), std::to_string(1000 + r % 2000),
                      r % 3 == 0 ? "mit Katalysator" : ""});
    }
    return made;
  }();
  return rows;
}

void placeInWindow(QWidget* widget, QWidget* window) {
  widget->setParent(window);
  widget->setGeometry(10, 112, 770, 191);
  widget->show();
}

void BM_ReportListView(benchmark::State& state) {
  QWidget window;
  window.resize(790, 560);
  TListView list(nullptr);
  placeInWindow(list.Widget(), &window);
  list.SetViewStyle(vsReport);
  list.SetRowSelect(true);
  list.SetGridLines(true);
  list.SetReadOnly(true);
  list.SetColumnClick(false);
  for (int width : kWidths) list.Columns()->Add()->SetWidth(width);
  window.show();
  const std::vector<SourceRow>& rows = sourceRows();

  for (auto _ : state) {
    list.Clear();
    for (const SourceRow& row : rows) {
      TListItem* item = list.Items()->Add();
      item->SetCaption(row[0].c_str());
      for (int c = 1; c < kColumns; ++c) item->SubItems()->Add(row[c].c_str());
    }
    benchmark::DoNotOptimize(list.Widget()->grab());
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_ReportListView)->Unit(benchmark::kMillisecond);

// The plain view's model: the texts as they come, announced with one reset, each converted to a
// QString when the view asks for it.
class PlainModel : public QAbstractTableModel {
 public:
  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
  }
  int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kColumns; }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    const std::string& text =
        rows_[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())];
    return QString::fromStdString(platform::ansiToUtf8(text));
  }

  void Fill(const std::vector<SourceRow>& source) {
    beginResetModel();
    // Row by row into an emptied table, as a result reaches the list: every text is copied anew.
    rows_.clear();
    for (const SourceRow& row : source) rows_.push_back(row);
    endResetModel();
  }

 private:
  std::vector<SourceRow> rows_;
};

// The plain view with grid lines: along the right edge of every column and the bottom of every
// row, as the report list draws them.
class PlainTreeView : public QTreeView {
 protected:
  void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
    QTreeView::drawRow(painter, option, index);
    const QHeaderView* head = header();
    painter->save();
    painter->setPen(QColor(0xC0, 0xC0, 0xC0));
    const int top = option.rect.top();
    const int bottom = option.rect.bottom();
    for (int logical = 0; logical < head->count(); ++logical) {
      const int x = head->sectionViewportPosition(logical) + head->sectionSize(logical) - 1;
      painter->drawLine(x, top, x, bottom);
    }
    painter->drawLine(option.rect.left(), bottom, head->length() - head->offset() - 1, bottom);
    painter->restore();
  }
};

void BM_PlainTreeView(benchmark::State& state) {
  QWidget window;
  window.resize(790, 560);
  PlainModel model;
  auto* view = new PlainTreeView;
  placeInWindow(view, &window);
  view->setRootIsDecorated(false);
  view->setUniformRowHeights(true);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setAllColumnsShowFocus(true);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->header()->setStretchLastSection(false);
  view->setModel(&model);
  for (int c = 0; c < kColumns; ++c) view->header()->resizeSection(c, kWidths[c]);
  window.show();
  const std::vector<SourceRow>& rows = sourceRows();

  for (auto _ : state) {
    model.Fill(rows);
    benchmark::DoNotOptimize(view->grab());
  }
  state.SetItemsProcessed(state.iterations() * kRows);
  view->setModel(nullptr);
}
BENCHMARK(BM_PlainTreeView)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  platform::setAnsiCodePage(1252);  // the German program's, which the texts are written in
  benchmark::Initialize(&argc, argv);
  bench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatio("report list / plain view", "BM_ReportListView", "BM_PlainTreeView", 1.5);
  benchmark::Shutdown();
  return 0;
}
