#include "storage/sqlite_db.h"

#include <cstring>
#include <system_error>

namespace storage {

base::Result<Database> Database::OpenWith(const std::filesystem::path& file, int flags) {
  sqlite3* raw = nullptr;
  // A connection is used by one thread at a time: SQLite need not lock each call.
  const int rc = sqlite3_open_v2(file.c_str(), &raw, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  Database db(raw);
  if (rc != SQLITE_OK) return base::Error{"cannot open " + file.string() + ": " + db.LastError()};
  sqlite3_extended_result_codes(raw, 0);
  sqlite3_busy_timeout(raw, 2000);
  // Double-quoted strings read as literals hide misspelt column names: a
  // library without "定位公式" would yield its name.
  sqlite3_db_config(raw, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
  sqlite3_db_config(raw, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
  return db;
}

base::Result<Database> Database::Open(const std::filesystem::path& file) {
  return OpenWith(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

base::Result<Database> Database::OpenExisting(const std::filesystem::path& file, Access access) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) {
    return base::Error{"no record file at " + file.string()};
  }
  auto db =
      OpenWith(file, access == Access::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE);
  if (!db) return db.error();
  // SQLite reads the header lazily; ask now so a file that is not a database
  // fails here and not halfway through a search.
  auto probe = Statement::Prepare(db.value(), "SELECT count(*) FROM sqlite_schema");
  if (!probe) return probe.error();
  if (probe.value().Step() != SQLITE_ROW) {
    return base::Error{file.string() + " is not a record file: " + db.value().LastError()};
  }
  return db;
}

base::Status Database::Exec(const char* sql) const {
  if (sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
    return base::Error{LastError()};
  }
  return base::Ok{};
}

std::string Database::LastError() const {
  if (!db_) return "out of memory";
  std::string message = sqlite3_errmsg(db_.get());
  // "disk I/O error" alone does not say why; a write cut short by a full
  // disk or a file size limit leaves no system error behind.
  const int code = LastCode();
  if (code != SQLITE_IOERR && code != SQLITE_FULL) return message;
  if (const int systemError = sqlite3_system_errno(db_.get()); systemError != 0) {
    message += " (" + std::string(std::strerror(systemError)) + ")";
  } else if (sqlite3_extended_errcode(db_.get()) == SQLITE_IOERR_WRITE) {
    message += " (a write failed: the disk may be full)";
  }
  return message;
}

int Database::LastCode() const { return db_ ? sqlite3_errcode(db_.get()) & 0xff : SQLITE_NOMEM; }

std::int64_t Database::Changes() const { return sqlite3_changes64(db_.get()); }

base::Result<Statement> Statement::Prepare(const Database& db, std::string_view sql) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db.get(), sql.data(), static_cast<int>(sql.size()), &raw, nullptr) !=
      SQLITE_OK) {
    sqlite3_finalize(raw);
    return base::Error{db.LastError()};
  }
  return Statement(raw);
}

void Statement::Bind(int index, std::string_view text) {
  sqlite3_bind_text(stmt_.get(), index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
}

void Statement::Bind(int index, std::int64_t value) {
  sqlite3_bind_int64(stmt_.get(), index, value);
}

int Statement::Step() { return sqlite3_step(stmt_.get()); }

void Statement::Reset() { sqlite3_reset(stmt_.get()); }

std::string_view Statement::Text(int column) const {
  const auto* text = sqlite3_column_text(stmt_.get(), column);
  if (!text) return {};
  return {reinterpret_cast<const char*>(text),
          static_cast<std::size_t>(sqlite3_column_bytes(stmt_.get(), column))};
}

std::string_view Statement::Blob(int column) const {
  const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt_.get(), column));
  if (!bytes) return {};
  return {bytes, static_cast<std::size_t>(sqlite3_column_bytes(stmt_.get(), column))};
}

std::int64_t Statement::Int(int column) const { return sqlite3_column_int64(stmt_.get(), column); }

base::Result<Transaction> Transaction::Begin(const Database& db) {
  if (auto begun = db.Exec("BEGIN IMMEDIATE"); !begun) return begun.error();
  return Transaction(&db);
}

Transaction::~Transaction() {
  // A destructor has no one to tell; a transaction a failed ROLLBACK leaves
  // open ends with the connection.
  if (db_) (void)db_->Exec("ROLLBACK");
}

base::Status Transaction::Commit() {
  auto committed = db_->Exec("COMMIT");
  if (committed) db_ = nullptr;
  return committed;
}

std::string QuoteIdentifier(std::string_view name) {
  std::string quoted = "\"";
  for (char c : name) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

}  // namespace storage
