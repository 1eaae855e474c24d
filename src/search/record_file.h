#pragma once

#include <sqlite3.h>

#include <filesystem>
#include <memory>
#include <string>

#include "base/result.h"

namespace search {

// An existing SQLite record file. Opening never creates a file: a missing
// library or record is the user's choice, not ours to invent.
class RecordFile {
 public:
  enum class Mode { ReadOnly, ReadWrite };

  // Fails for a missing file and for one that is not a database.
  static base::Result<RecordFile> Open(const std::filesystem::path& path, Mode mode);

  sqlite3* handle() const { return db_.get(); }
  // The last error SQLite reported, for messages.
  std::string LastError() const;

 private:
  struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
  };
  explicit RecordFile(sqlite3* db) : db_(db) {}

  std::unique_ptr<sqlite3, Closer> db_;
};

// A prepared statement finalized when it goes out of scope.
class Statement {
 public:
  static base::Result<Statement> Prepare(const RecordFile& file, const std::string& sql);

  sqlite3_stmt* get() const { return stmt_.get(); }

 private:
  struct Finalizer {
    void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
  };
  explicit Statement(sqlite3_stmt* stmt) : stmt_(stmt) {}

  std::unique_ptr<sqlite3_stmt, Finalizer> stmt_;
};

// Quotes an identifier for SQL ("定位公式" stays readable, embedded quotes are doubled).
std::string QuoteIdentifier(const std::string& name);

}  // namespace search
