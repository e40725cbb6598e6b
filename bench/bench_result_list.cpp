// The result list on the large catalogue, beside SQLite alone: the whole getSystemList (query,
// status line, list fill, row keys, the list painted once) against sqlite3_get_table of the same
// SQL text, for a model of about 8,000 rows and for the largest model; and the model change
// (result list, year list and capacity list, the list painted once) against its three queries.
// Goals: the result list within 1.5 times its bare query, the model change within 1.3 times.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QWidget>
#include <cstdio>
#include <string>
#include <vector>

#include "app/Queries.h"
#include "app/Unit1.h"
#include "bench/support/AppSession.h"
#include "bench/support/RatioReporter.h"

namespace {

struct Model {
  const char* label;
  const char* make;
  const char* model;
};

const Model kAbout8000 = {"8090 rows", "Renault", "Clio"};
const Model kLargest = {"22160 rows", "Volkswagen", "Golf"};

// Chooses the make and the model in the main window, as the user's choices leave them; the
// model change's own queries are run once here and not measured.
bool chooseModel(const Model& model) {
  const int make = Form1->ComboBox1->Items()->IndexOf(model.make);
  if (make < 0) return false;
  Form1->ComboBox1->SetItemIndex(make);
  Form1->ComboBox1Change(Form1->ComboBox1);
  const int index = Form1->ComboBox2->Items()->IndexOf(model.model);
  if (index < 0) return false;
  Form1->ComboBox2->SetItemIndex(index);
  Form1->ComboBox2Change(Form1->ComboBox2);
  return true;
}

// The same catalogue through a connection of its own, for the bare queries.
class BareConnection {
 public:
  BareConnection() {
    if (sqlite3_open((bench::scaleCatalogueFolder() + "/veldo28.bgp").c_str(), &db_) != SQLITE_OK) {
      sqlite3_close(db_);
      db_ = nullptr;
    }
  }
  BareConnection(const BareConnection&) = delete;
  BareConnection& operator=(const BareConnection&) = delete;
  ~BareConnection() { sqlite3_close(db_); }

  bool open() const { return db_ != nullptr; }

  // Runs the SQL into a result table and frees it; returns the number of rows, -1 on failure.
  int getTable(const AnsiString& sql) const {
    char** results = nullptr;
    int rows = 0;
    int columns = 0;
    char* error = nullptr;
    const int code = sqlite3_get_table(db_, sql.c_str(), &results, &rows, &columns, &error);
    sqlite3_free(error);
    sqlite3_free_table(results);
    return code == SQLITE_OK ? rows : -1;
  }

 private:
  sqlite3* db_ = nullptr;
};

void paintList() { benchmark::DoNotOptimize(Form1->ListView1->Widget()->grab()); }

void resultList(benchmark::State& state, const Model& model) {
  bench::AppSession session(bench::scaleCatalogueFolder());
  if (!chooseModel(model)) {
    state.SkipWithError("model not in the catalogue");
    return;
  }
  for (auto _ : state) {
    Form1->getSystemList(Form1);
    paintList();
  }
  if (session.boxCount() > 0) state.SkipWithError("a box was shown");
  state.counters["rows"] = Form1->ListView1->Items()->Count();
}

void bareResultQuery(benchmark::State& state, const Model& model) {
  const BareConnection db;
  const AnsiString sql =
      selectionQuery(model.make, model.model, SqlClause(), SqlClause(), SqlClause(), SqlClause());
  if (!db.open() || db.getTable(sql) <= 0) {
    state.SkipWithError("query failed");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(db.getTable(sql));
}

void modelChange(benchmark::State& state, const Model& model) {
  bench::AppSession session(bench::scaleCatalogueFolder());
  if (!chooseModel(model)) {
    state.SkipWithError("model not in the catalogue");
    return;
  }
  for (auto _ : state) {
    Form1->ComboBox2Change(Form1->ComboBox2);
    paintList();
  }
  if (session.boxCount() > 0) state.SkipWithError("a box was shown");
}

void bareModelQueries(benchmark::State& state, const Model& model) {
  const BareConnection db;
  const AnsiString queries[] = {
      selectionQuery(model.make, model.model, SqlClause(), SqlClause(), SqlClause(), SqlClause()),
      yearListQuery(model.make, model.model),
      capacityListQuery(model.make, model.model),
  };
  if (!db.open()) {
    state.SkipWithError("catalogue not opened");
    return;
  }
  for (auto _ : state) {
    for (const AnsiString& sql : queries) benchmark::DoNotOptimize(db.getTable(sql));
  }
}

std::string name(const char* what, const Model& model) { return std::string(what) + "/" + model.label; }

}  // namespace

int main(int argc, char** argv) {
  for (const Model* model : {&kAbout8000, &kLargest}) {
    benchmark::RegisterBenchmark(name("getSystemList", *model).c_str(), resultList, *model)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(name("bare result query", *model).c_str(), bareResultQuery, *model)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RegisterBenchmark(name("model change", kLargest).c_str(), modelChange, kLargest)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(name("bare model queries", kLargest).c_str(), bareModelQueries, kLargest)
      ->Unit(benchmark::kMillisecond);

  return bench::runAppBenchmarks(argc, argv, [](const bench::RatioReporter& reporter) {
    for (const Model* model : {&kAbout8000, &kLargest}) {
      const std::string label = std::string("getSystemList / bare query, ") + model->label;
      reporter.printRatio(label.c_str(), name("getSystemList", *model), name("bare result query", *model),
                          1.5);
    }
    reporter.printRatio("model change / its three bare queries, 22160 rows", name("model change", kLargest),
                        name("bare model queries", kLargest), 1.3);
  });
}
