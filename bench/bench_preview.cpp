// One preview of a system with 29 items (the most a system draws) and its drawing, beside the 30
// bare decodes of the same picture files in the same run. The preview adds the copy of the
// pixels into bitmaps, one picture control per item and its queries to the decoding; it should
// stay within 1.3 times the decodes. Two parts of the preview are measured on their own as well,
// to show where the time goes: the pictures into images without the queries, and the queries
// without the pictures. The system is made from the demo catalogue's own pictures, in a temporary
// working folder that links to the demo's picture folders.
//
// The hostile previews: one preview, painted, of 29 items that all show one crafted picture, with
// the most memory that one such preview takes beyond the program's idle size; goals under 0.2 s
// and within 100 MB.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/Queries.h"
#include "app/ShowPng.h"
#include "app/Unit1.h"
#include "bench/support/AppSession.h"
#include "bench/support/HostileViews.h"
#include "bench/support/RatioReporter.h"
#include "common/CatalogueSchema.h"
#include "picture/PngDib.h"

namespace {

namespace fs = std::filesystem;

constexpr int kItems = 29;

struct Placed {
  std::string picture;
  int width = 0;
  int height = 0;
};

// The benchmark's working folder: the demo's pictures, and a catalogue of one system that draws
// 29 items from them (parts, each followed by its elements).
class PreviewFolder {
 public:
  PreviewFolder() {
    char pattern[] = "/tmp/catalog_bench_preview_XXXXXX";
    if (mkdtemp(pattern) == nullptr) return;
    path_ = pattern;
    const fs::path demo = bench::demoCatalogueFolder();
    fs::create_directory_symlink(demo / "data", fs::path(path_) / "data");
    readDemoPictures((demo / "veldo28.bgp").string());
    writeCatalogue();
  }
  PreviewFolder(const PreviewFolder&) = delete;
  PreviewFolder& operator=(const PreviewFolder&) = delete;
  ~PreviewFolder() {
    std::error_code ignored;
    if (!path_.empty()) fs::remove_all(path_, ignored);
  }

  bool ready() const { return !drawing_.empty() && static_cast<int>(items_.size()) == kItems; }
  const std::string& path() const { return path_; }
  // The 30 picture files of one preview, relative to the folder: the drawing first.
  std::vector<std::string> files() const {
    std::vector<std::string> paths = {"data/data_p/" + drawing_ + ".dat"};
    for (const Placed& item : items_) paths.push_back("data/data_b/" + item.picture + ".dat");
    return paths;
  }

 private:
  // The system number of a demo drawing and 29 distinct part and element pictures with their sizes.
  void readDemoPictures(const std::string& demoCatalogue) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(demoCatalogue.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
      sqlite3_close(db);
      return;
    }
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT VELDO FROM AUTA WHERE ID_UKLAD = (SELECT ID_UKLAD FROM T_U LIMIT 1) LIMIT 1;",
                       -1, &statement, nullptr);
    if (sqlite3_step(statement) == SQLITE_ROW)
      drawing_ = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    sqlite3_prepare_v2(db,
                       "SELECT P, W, H FROM (SELECT VELDO_PIC_GRAFOS AS P, W, H FROM T_U UNION "
                       "SELECT FA_PIC AS P, W, H FROM T_U_ELEMENT) GROUP BY P ORDER BY P LIMIT 29;",
                       -1, &statement, nullptr);
    while (sqlite3_step(statement) == SQLITE_ROW) {
      items_.push_back({reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)),
                        sqlite3_column_int(statement, 1), sqlite3_column_int(statement, 2)});
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
  }

  void writeCatalogue() {
    std::string sql = std::string(kCatalogueSchema) +
                      "INSERT INTO AUTA (ID_UKLAD, VELDO, MKNM, TYSP, ITER, UKLADY) VALUES ('B1', '" +
                      drawing_ + "', 'Bench', 'Mark', '1', 'PV');";
    // Parts with two elements each until the items are used up; spread over the drawing.
    std::string partKey;
    for (int n = 0; n < static_cast<int>(items_.size()); ++n) {
      const Placed& item = items_[n];
      const std::string x = std::to_string((n * 97) % 600);
      const std::string y = std::to_string((n * 41) % 150);
      const std::string place = "'" + x + "', '" + y + "', '" + std::to_string(item.width) + "', '" +
                                std::to_string(item.height) + "'";
      if (n % 3 == 0) {
        partKey = "K" + std::to_string(n);
        sql += "INSERT INTO T_U (ID_KEY, ID_UKLAD, VISIBLE, VELDO_PIC_GRAFOS, X, Y, W, H) VALUES ('" +
               partKey + "', 'B1', '1', '" + item.picture + "', " + place + ");";
      } else {
        sql += "INSERT INTO T_U_ELEMENT (ID_T_U, FA, FA_PIC, X, Y, W, H, ZWIELOKROTNIENIE) VALUES ('" +
               partKey + "', 'FA', '" + item.picture + "', " + place + ", '1');";
      }
    }
    sqlite3* db = nullptr;
    if (sqlite3_open((path_ + "/veldo28.bgp").c_str(), &db) == SQLITE_OK) {
      sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    }
    sqlite3_close(db);
  }

  std::string path_;
  std::string drawing_;
  std::vector<Placed> items_;
};

PreviewFolder& folder() {
  static PreviewFolder made;
  return made;
}

void BM_Preview29Items(benchmark::State& state) {
  if (!folder().ready()) {
    state.SkipWithError("the demo catalogue has too few pictures");
    return;
  }
  bench::AppSession session(folder().path());
  Form1->Edit1->SetText("PV");
  Form1->getSystemList(Form1);
  Form1->ListView1->SetItemIndex(0);
  for (auto _ : state) {
    Form1->ListView1SelectItem(Form1->ListView1, Form1->ListView1->Selected(), true);
  }
  if (previewItemCount != kItems || session.boxCount() != 0)
    state.SkipWithError("the preview did not draw 29 items");
}
BENCHMARK(BM_Preview29Items)->Unit(benchmark::kMillisecond);

// The pictures of one preview into new images, without the queries: where the picture chain's
// share of the preview ends.
void BM_Show30Files(benchmark::State& state) {
  if (!folder().ready()) {
    state.SkipWithError("the demo catalogue has too few pictures");
    return;
  }
  bench::AppSession session(folder().path());
  const std::vector<std::string> files = folder().files();
  for (auto _ : state) {
    for (const std::string& file : files) {
      auto* image = new TImage(Form1);
      image->SetParent(Form1);
      image->SetTransparent(true);
      showPngInImage(image, file.c_str());
      delete image;
    }
  }
}
BENCHMARK(BM_Show30Files)->Unit(benchmark::kMillisecond);

// The queries of one preview alone: the parts of the system, then the elements of every part row.
void BM_PreviewQueries(benchmark::State& state) {
  if (!folder().ready()) {
    state.SkipWithError("the demo catalogue has too few pictures");
    return;
  }
  bench::AppSession session(folder().path());
  for (auto _ : state) {
    SqlTable parts = catalogDb.queryTable(previewPartsQuery("B1", "1").c_str());
    for (int row = 0; row < parts.rowCount(); ++row) {
      parts.selectRow(row);
      SqlTable elements = catalogDb.queryTable(elementsQuery(parts.valueAt(1)).c_str());
      benchmark::DoNotOptimize(elements.rowCount());
    }
  }
}
BENCHMARK(BM_PreviewQueries)->Unit(benchmark::kMillisecond);

void BM_Decode30Files(benchmark::State& state) {
  if (!folder().ready()) {
    state.SkipWithError("the demo catalogue has too few pictures");
    return;
  }
  const fs::path previous = fs::current_path();
  fs::current_path(folder().path());
  const std::vector<std::string> files = folder().files();
  int failures = 0;
  for (auto _ : state) {
    for (const std::string& file : files) {
      PngDibRequest request{};
      request.size = sizeof request;
      request.path = file.c_str();
      if (loadPngDib(&request) == pngDibOk) {
        benchmark::DoNotOptimize(request.bits[0]);
        GlobalFree(request.block);
      } else {
        ++failures;
      }
    }
  }
  fs::current_path(previous);
  if (failures != 0) state.SkipWithError("a picture could not be decoded");
}
BENCHMARK(BM_Decode30Files)->Unit(benchmark::kMillisecond);

void BM_HostilePreview(benchmark::State& state) {
  const auto& picture = bench::hostilePictures().at(static_cast<std::size_t>(state.range(0)));
  const bench::HostileFolder folder(picture);
  if (!folder.ready()) {
    state.SkipWithError("cannot write the hostile folder");
    return;
  }
  bench::AppSession session(folder.path());
  Form1->Edit1->SetText("PV");
  Form1->getSystemList(Form1);
  Form1->ListView1->SetItemIndex(0);
  const auto preview = [] {
    Form1->ListView1SelectItem(Form1->ListView1, Form1->ListView1->Selected(), true);
    QApplication::processEvents();
  };
  bench::hostilePeaks()["BM_HostilePreview/" + std::to_string(state.range(0))] =
      bench::peakBeyondIdle(preview);
  for (auto _ : state) preview();
  state.SetLabel(picture.label);
  if (previewItemCount != kItems || session.boxCount() != 0)
    state.SkipWithError("the preview did not draw 29 items");
}
BENCHMARK(BM_HostilePreview)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// Prints one measured part of the preview beside the decodes, with no target of its own.
void printPart(const bench::RatioReporter& reporter, const char* label, const std::string& part) {
  const auto measured = reporter.seconds.find(part);
  const auto decodes = reporter.seconds.find("BM_Decode30Files");
  if (measured == reporter.seconds.end() || decodes == reporter.seconds.end() || decodes->second <= 0) return;
  std::printf("%s: %.3f ms = %.2f x the decodes\n", label, measured->second * 1e3,
              measured->second / decodes->second);
}

}  // namespace

int main(int argc, char** argv) {
  return bench::runAppBenchmarks(argc, argv, [](const bench::RatioReporter& reporter) {
    reporter.printRatio("one preview of 29 items / 30 bare decodes", "BM_Preview29Items", "BM_Decode30Files",
                        1.3);
    printPart(reporter, "of which the pictures into images", "BM_Show30Files");
    printPart(reporter, "of which the queries", "BM_PreviewQueries");
    bench::printHostileViews(reporter, "one preview", "BM_HostilePreview");
  });
}
