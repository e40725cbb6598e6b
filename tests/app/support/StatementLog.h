// The SQL that reaches SQLite, seen from the library's side: while a StatementLog lives, every
// connection opened in the process (the program's catalogDb among them) reports each statement
// that it starts, with the statement's own text, in the build's code page. Queries are thus
// checked as SQLite receives them, a text of two statements as two, without the program's
// database layer knowing of it.
//
// The log can also make chosen statements fail as SQLite fails a statement it cannot finish
// (SQLITE_INTERRUPT, "interrupted"), so that one query of a handler fails while the others run.
//
// One log at a time. Connections opened while it lives report to it until it is destroyed and
// stay quiet afterwards; connections opened before it report nothing.
#pragma once

#include <functional>
#include <string>
#include <vector>

class StatementLog {
 public:
  StatementLog();
  StatementLog(const StatementLog&) = delete;
  StatementLog& operator=(const StatementLog&) = delete;
  ~StatementLog();

  // The statements started so far, oldest first. SQLite's reads of its own schema are left out.
  const std::vector<std::string>& statements() const { return statements_; }
  // Those that begin with `prefix`.
  std::vector<std::string> startingWith(const std::string& prefix) const;
  void clear() { statements_.clear(); }

  // From now on every statement that begins with `prefix` fails; an empty prefix stops that.
  void failStatementsStartingWith(const std::string& prefix) { failPrefix_ = prefix; }

  // Called as each statement starts, before it reads anything: to look at the program then.
  std::function<void(const std::string& sql)> onStatement;

 private:
  friend struct StatementLogHooks;

  std::vector<std::string> statements_;
  std::string failPrefix_;
  bool failing_ = false;  // the running statement is one to fail
};
