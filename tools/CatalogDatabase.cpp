#include "tools/CatalogDatabase.h"

#include <sqlite3.h>

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "tools/AnsiText.h"

namespace demo {
namespace {

constexpr const char* kSchema =
    "CREATE TABLE AUTA (ID_UKLAD TEXT, VELDO TEXT, MKNM TEXT, TYSP TEXT, MDNM TEXT, MDCA TEXT, CYPR TEXT,"
    " CYPR_START TEXT, CYPR_END TEXT, CUCP TEXT, CUCP_VAL TEXT, MCAT TEXT, MDIE TEXT, ITER TEXT,"
    " UKLADY TEXT, ADDI TEXT);"
    "CREATE TABLE T_U (ID_KEY TEXT PRIMARY KEY, ID_UKLAD TEXT, ID_TLUMIK TEXT, VISIBLE TEXT,"
    " VELDO_PIC_GRAFOS TEXT, X TEXT, Y TEXT, W TEXT, H TEXT, OE TEXT, VELDO TEXT);"
    "CREATE TABLE TLUMIK (ID_KEY TEXT PRIMARY KEY, ID_TLUMIK_KIND TEXT, VELDO TEXT);"
    "CREATE TABLE TLUMIK_KIND (ID_KEY TEXT PRIMARY KEY, NAME_DE TEXT, NAME_PL TEXT);"
    "CREATE TABLE T_U_ELEMENT (ID_T_U TEXT, FA TEXT, FA_PIC TEXT, X TEXT, Y TEXT, W TEXT, H TEXT,"
    " ZWIELOKROTNIENIE TEXT);";

// Built after the rows are in; they serve the selection lists and the joins of the parts queries.
constexpr const char* kIndexes =
    "CREATE INDEX AUTA_MAKE_MODEL ON AUTA (MKNM, TYSP);"
    "CREATE INDEX AUTA_ROW_KEY ON AUTA (ID_UKLAD, ITER);"
    "CREATE INDEX AUTA_VELDO ON AUTA (VELDO);"
    "CREATE INDEX T_U_SYSTEM ON T_U (ID_UKLAD);"
    "CREATE INDEX T_U_ELEMENT_PART ON T_U_ELEMENT (ID_T_U);";

class Connection {
 public:
  explicit Connection(const std::string& path) {
    if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) {
      // A failed open still hands out a handle, and the destructor does not run for an object
      // whose constructor throws.
      const std::string message = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
      sqlite3_close(db_);
      db_ = nullptr;
      throw std::runtime_error("cannot open " + path + ": " + message);
    }
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  ~Connection() { sqlite3_close(db_); }

  void exec(const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
      const std::string message = error != nullptr ? error : sqlite3_errmsg(db_);
      sqlite3_free(error);
      throw std::runtime_error("catalogue database: " + message);
    }
  }

  sqlite3* handle() const { return db_; }

  [[noreturn]] void fail(const std::string& what) const {
    throw std::runtime_error(what + ": " + (db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory"));
  }

 private:
  sqlite3* db_ = nullptr;
};

// One prepared INSERT; each insert() binds its values as text in column order.
class Insert {
 public:
  Insert(Connection& connection, const char* sql) : connection_(connection) {
    if (sqlite3_prepare_v2(connection.handle(), sql, -1, &statement_, nullptr) != SQLITE_OK) {
      connection.fail("cannot prepare an insert");
    }
  }
  Insert(const Insert&) = delete;
  Insert& operator=(const Insert&) = delete;
  ~Insert() { sqlite3_finalize(statement_); }

  void insert(const std::vector<std::string>& values) {
    sqlite3_reset(statement_);
    for (std::size_t i = 0; i < values.size(); ++i) {
      // The bytes go in as they are: 8-bit code-page text, not UTF-8.
      sqlite3_bind_text(statement_, static_cast<int>(i + 1), values[i].data(),
                        static_cast<int>(values[i].size()), SQLITE_TRANSIENT);
    }
    if (sqlite3_step(statement_) != SQLITE_DONE) connection_.fail("cannot insert a row");
  }

 private:
  Connection& connection_;
  sqlite3_stmt* statement_ = nullptr;
};

void writeKinds(Connection& db, const Catalog& catalog) {
  Insert kinds(db, "INSERT INTO TLUMIK_KIND VALUES (?, ?, ?)");
  for (const PartKind& kind : catalog.kinds) {
    kinds.insert({kind.id, toWindows1252(kind.nameDe), toWindows1250(kind.namePl)});
  }
  Insert silencers(db, "INSERT INTO TLUMIK VALUES (?, ?, ?)");
  for (const Silencer& silencer : catalog.silencers) {
    silencers.insert({silencer.id, silencer.kindId, silencer.veldo});
  }
}

void writeApplications(Insert& auta, const ExhaustSystem& system) {
  for (const Application& row : system.applications) {
    auta.insert({system.id, system.veldo, toSharedAnsi(row.make), toSharedAnsi(row.model),
                 toSharedAnsi(row.version), toSharedAnsi(row.body), row.period, std::to_string(row.startYear),
                 std::to_string(row.endYear), toSharedAnsi(row.engine), row.capacity,
                 row.catalyst ? "CAT" : "", row.diesel ? "Diesel" : "", row.iteration, system.uklady,
                 toSharedAnsi(row.additional)});
  }
}

void writeParts(Insert& parts, Insert& elements, const Catalog& catalog, const ExhaustSystem& system) {
  for (const Part& part : system.parts) {
    const Silencer& silencer = catalog.silencers[part.silencer];
    const ItemPicture& picture = pictureOf(catalog, part);
    parts.insert({part.id, system.id, silencer.id, part.visible ? "1" : "0", picture.name,
                  std::to_string(part.x), std::to_string(part.y), std::to_string(picture.width),
                  std::to_string(picture.height), silencer.oe, silencer.veldo});
    for (const Element& element : part.elements) {
      const ItemPicture& elementPicture = pictureOf(catalog, element);
      elements.insert({part.id, catalog.articles[element.article].fa, elementPicture.name,
                       std::to_string(element.x), std::to_string(element.y),
                       std::to_string(elementPicture.width), std::to_string(elementPicture.height),
                       std::to_string(element.quantity)});
    }
  }
}

}  // namespace

void writeCatalogDatabase(const Catalog& catalog, const std::string& path) {
  const std::string building = path + ".building";
  std::remove(building.c_str());
  try {
    Connection db(building);
    db.exec("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF;");
    db.exec(kSchema);
    db.exec("BEGIN");
    writeKinds(db, catalog);
    Insert auta(db, "INSERT INTO AUTA VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    Insert parts(db, "INSERT INTO T_U VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    Insert elements(db, "INSERT INTO T_U_ELEMENT VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    for (const ExhaustSystem& system : catalog.systems) {
      writeApplications(auta, system);
      writeParts(parts, elements, catalog, system);
    }
    db.exec("COMMIT");
    db.exec(kIndexes);
  } catch (...) {
    std::remove(building.c_str());
    throw;
  }
  if (std::rename(building.c_str(), path.c_str()) != 0) {
    std::remove(building.c_str());
    throw std::runtime_error("cannot move the catalogue database into place at " + path);
  }
}

}  // namespace demo
