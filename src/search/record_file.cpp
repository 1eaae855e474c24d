#include "search/record_file.h"

namespace search {

base::Result<RecordFile> RecordFile::Open(const std::filesystem::path& path, Mode mode) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    return base::Error{"no record file at " + path.string()};
  }
  sqlite3* raw = nullptr;
  const int flags = mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
  const int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
  RecordFile file(raw);
  if (rc != SQLITE_OK) {
    return base::Error{"cannot open " + path.string() + ": " + file.LastError()};
  }
  sqlite3_busy_timeout(raw, 2000);
  // Without this SQLite reads a quoted column name that does not exist as a
  // string literal, and a library without "定位公式" would yield its name.
  sqlite3_db_config(raw, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
  sqlite3_db_config(raw, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
  // SQLite reads the header lazily; ask now so a file that is not a database
  // fails here and not halfway through a search.
  auto probe = Statement::Prepare(file, "SELECT count(*) FROM sqlite_schema");
  if (!probe.ok()) return probe.error();
  if (sqlite3_step(probe.value().get()) != SQLITE_ROW) {
    return base::Error{path.string() + " is not a record file: " + file.LastError()};
  }
  return file;
}

std::string RecordFile::LastError() const {
  return db_ ? sqlite3_errmsg(db_.get()) : "out of memory";
}

base::Result<Statement> Statement::Prepare(const RecordFile& file, const std::string& sql) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(file.handle(), sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr) !=
      SQLITE_OK) {
    sqlite3_finalize(raw);
    return base::Error{file.LastError()};
  }
  return Statement(raw);
}

std::string QuoteIdentifier(const std::string& name) {
  std::string quoted = "\"";
  for (char c : name) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

}  // namespace search
