#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "base/result.h"

namespace storage {

// An SQLite connection, closed when it goes out of scope. One thread at a
// time: SQLite need not lock each call.
class Database {
 public:
  // Opens read-write, creating a missing file. SQLite reads nothing yet.
  static base::Result<Database> Open(const std::filesystem::path& file);

  enum class Access { ReadOnly, ReadWrite };
  // Opens a file that is already there and already a database: a missing
  // file is an error, never an empty database made in its place, and a file
  // that is not a database fails here rather than at its first statement.
  static base::Result<Database> OpenExisting(const std::filesystem::path& file, Access access);

  sqlite3* get() const { return db_.get(); }
  base::Status Exec(const char* sql) const;
  std::string LastError() const;
  // The primary result code of the last failure (SQLITE_NOTADB, ...).
  int LastCode() const;
  // Rows the last INSERT, UPDATE or DELETE changed.
  std::int64_t Changes() const;

 private:
  struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
  };
  explicit Database(sqlite3* db) : db_(db) {}
  static base::Result<Database> OpenWith(const std::filesystem::path& file, int flags);

  std::unique_ptr<sqlite3, Closer> db_;
};

// A prepared statement. Bound texts are not copied: they must outlive the
// next Step.
class Statement {
 public:
  static base::Result<Statement> Prepare(const Database& db, std::string_view sql);

  void Bind(int index, std::string_view text);
  void Bind(int index, std::int64_t value);
  // SQLITE_ROW, SQLITE_DONE or an error code.
  int Step();
  void Reset();

  std::string_view Text(int column) const;
  // The column's bytes as stored, without conversion to UTF-8.
  std::string_view Blob(int column) const;
  std::int64_t Int(int column) const;

 private:
  struct Finalizer {
    void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
  };
  explicit Statement(sqlite3_stmt* stmt) : stmt_(stmt) {}

  std::unique_ptr<sqlite3_stmt, Finalizer> stmt_;
};

// BEGIN IMMEDIATE now, ROLLBACK unless committed.
class Transaction {
 public:
  static base::Result<Transaction> Begin(const Database& db);
  Transaction(Transaction&& other) noexcept : db_(other.db_) { other.db_ = nullptr; }
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  ~Transaction();

  base::Status Commit();

 private:
  explicit Transaction(const Database* db) : db_(db) {}

  const Database* db_;
};

// Quotes an identifier for SQL ("定位公式" stays readable, embedded quotes
// are doubled).
std::string QuoteIdentifier(std::string_view name);

}  // namespace storage
