#include "app/support/StatementLog.h"

#include <sqlite3.h>

#include <cassert>

namespace {

StatementLog* activeLog = nullptr;

bool startsWith(const std::string& text, const std::string& prefix) {
  return !prefix.empty() && text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

// The callbacks that SQLite calls; a friend of the log, so they reach its records.
struct StatementLogHooks {
  static int trace(unsigned type, void*, void*, void* text) {
    if (type != SQLITE_TRACE_STMT || activeLog == nullptr || text == nullptr) return 0;
    const std::string sql = static_cast<const char*>(text);
    // The schema is read with statements of SQLite's own (and trigger comments start with "--").
    if (sql.find("sqlite_master") != std::string::npos || startsWith(sql, "--")) {
      activeLog->failing_ = false;
      return 0;
    }
    activeLog->statements_.push_back(sql);
    activeLog->failing_ = startsWith(sql, activeLog->failPrefix_);
    if (activeLog->onStatement) activeLog->onStatement(sql);
    return 0;
  }

  // Asked between the steps of every statement; a non-zero answer ends it with SQLITE_INTERRUPT.
  static int progress(void*) { return activeLog != nullptr && activeLog->failing_ ? 1 : 0; }

  static int onOpen(sqlite3* db, const char**, const sqlite3_api_routines*) {
    if (activeLog == nullptr) return SQLITE_OK;
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, &StatementLogHooks::trace, nullptr);
    sqlite3_progress_handler(db, 1, &StatementLogHooks::progress, nullptr);
    return SQLITE_OK;
  }

  using EntryPoint = void (*)();
  static EntryPoint entryPoint() { return reinterpret_cast<EntryPoint>(&StatementLogHooks::onOpen); }
};

StatementLog::StatementLog() {
  assert(activeLog == nullptr);
  activeLog = this;
  sqlite3_auto_extension(StatementLogHooks::entryPoint());
}

StatementLog::~StatementLog() {
  sqlite3_cancel_auto_extension(StatementLogHooks::entryPoint());
  activeLog = nullptr;
}

std::vector<std::string> StatementLog::startingWith(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& sql : statements_) {
    if (startsWith(sql, prefix)) found.push_back(sql);
  }
  return found;
}
