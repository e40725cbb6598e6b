#include "bench/support/HostileViews.h"

#include <malloc.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "bench/support/AppSession.h"
#include "bench/support/RatioReporter.h"
#include "common/CatalogueSchema.h"

namespace bench {

namespace fs = std::filesystem;

const std::vector<png_bytes::HostilePicture>& hostilePictures() {
  static const std::vector<png_bytes::HostilePicture> pictures = {
      png_bytes::kHostilePictures[0],
      png_bytes::kHostilePictures[1],
      png_bytes::kHostilePictures[2],
      {"the largest picture taken, 1-bit grey, 1024 x 512", 1024, 512, 0, 1, 0},
  };
  return pictures;
}

namespace {

// The system number of a drawing of the demo catalogue.
std::string demoDrawing() {
  sqlite3* db = nullptr;
  std::string drawing;
  const std::string catalogue = (fs::path(demoCatalogueFolder()) / "veldo28.bgp").string();
  if (sqlite3_open_v2(catalogue.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "SELECT VELDO FROM AUTA LIMIT 1;", -1, &statement, nullptr);
    if (sqlite3_step(statement) == SQLITE_ROW) {
      drawing = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    }
    sqlite3_finalize(statement);
  }
  sqlite3_close(db);
  return drawing;
}

bool writeCatalogue(const std::string& file, const std::string& drawing) {
  std::string sql = std::string(kCatalogueSchema) +
                    "INSERT INTO AUTA (ID_UKLAD, VELDO, MKNM, TYSP, ITER, UKLADY) VALUES ('H1', '" + drawing +
                    "', 'Hostile', 'Mark', '1', 'PV');"
                    // 29 parts of 60 x 40 spread over the drawing.
                    "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 28)"
                    " INSERT INTO T_U (ID_KEY, ID_UKLAD, VISIBLE, VELDO_PIC_GRAFOS, X, Y, W, H)"
                    " SELECT 'K' || i, 'H1', '1', 'hostile', (i * 97) % 600, (i * 41) % 150, 60, 40 FROM n;";
  sqlite3* db = nullptr;
  const bool written = sqlite3_open(file.c_str(), &db) == SQLITE_OK &&
                       sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(db);
  return written;
}

bool writeFile(const fs::path& path, const png_bytes::Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

std::uint64_t statusField(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string name;
  while (status >> name) {
    std::uint64_t kilobytes = 0;
    if (name == field && status >> kilobytes) return kilobytes * 1024;
  }
  return 0;
}

}  // namespace

HostileFolder::HostileFolder(const png_bytes::HostilePicture& picture) {
  char pattern[] = "/tmp/catalog_bench_hostile_XXXXXX";
  if (mkdtemp(pattern) == nullptr) return;
  path_ = pattern;
  const fs::path folder = path_;
  const std::string drawing = demoDrawing();
  std::error_code error;
  fs::create_directories(folder / "data" / "data_b", error);
  fs::create_directories(folder / "data" / "data_r", error);
  const fs::path demo = fs::path(demoCatalogueFolder()) / "data";
  fs::create_directory_symlink(demo / "data_p", folder / "data" / "data_p", error);
  for (const char* logo : {"lg_de.dat", "lg_pl.dat"}) {
    if (!error) fs::create_symlink(demo / logo, folder / "data" / logo, error);
  }
  const png_bytes::Bytes bytes = picture.bytes();
  ready_ = !drawing.empty() && !error && writeFile(folder / "data" / "data_b" / "hostile.dat", bytes) &&
           writeFile(folder / "data" / "data_r" / "hostile.dat", bytes) &&
           writeCatalogue((folder / "veldo28.bgp").string(), drawing);
}

HostileFolder::~HostileFolder() {
  std::error_code ignored;
  if (!path_.empty()) fs::remove_all(path_, ignored);
}

std::uint64_t peakBeyondIdle(const std::function<void()>& view) {
  // Memory that earlier sessions freed would otherwise stay resident and hide what the view takes.
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
  const std::uint64_t idle = statusField("VmRSS:");
  view();
  const std::uint64_t peak = statusField("VmHWM:");
  return peak > idle ? peak - idle : 0;
}

std::map<std::string, std::uint64_t>& hostilePeaks() {
  static std::map<std::string, std::uint64_t> peaks;
  return peaks;
}

void printHostileViews(const RatioReporter& reporter, const char* view, const std::string& benchmark) {
  for (std::size_t i = 0; i < hostilePictures().size(); ++i) {
    const std::string name = benchmark + "/" + std::to_string(i);
    const auto time = reporter.seconds.find(name);
    const auto peak = hostilePeaks().find(name);
    if (time == reporter.seconds.end() || peak == hostilePeaks().end()) continue;
    std::printf("%s of 29 x %s: %.3f ms, peak %.1f MB over idle (targets under 200 ms and 100 MB)\n", view,
                hostilePictures()[i].label, time->second * 1e3, static_cast<double>(peak->second) / 1e6);
  }
}

}  // namespace bench
