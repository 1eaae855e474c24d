#pragma once

#include <sqlite3.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

// What a later program finds in the draw archive: SQLite's integrity verdict
// ("absent" without a file) and the issue and code of every draw.
struct ArchiveContents {
  std::string integrity;
  std::set<std::string> draws;  // "issue code"
};

inline ArchiveContents ReadArchive(const std::filesystem::path& file) {
  if (!std::filesystem::exists(file)) return {"absent", {}};
  ArchiveContents contents;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
    std::vector<std::string> rows;
    auto keep = [](void* out, int columns, char** values, char**) {
      std::string row;
      for (int i = 0; i < columns; ++i)
        row += (i ? " " : "") + std::string(values[i] ? values[i] : "");
      static_cast<std::vector<std::string>*>(out)->push_back(row);
      return 0;
    };
    sqlite3_exec(db, "PRAGMA integrity_check", keep, &rows, nullptr);
    for (const std::string& line : rows) contents.integrity += line;
    rows.clear();
    sqlite3_exec(db, "SELECT issue, code FROM draws", keep, &rows, nullptr);
    contents.draws.insert(rows.begin(), rows.end());
  }
  sqlite3_close(db);
  return contents;
}
