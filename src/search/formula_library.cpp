#include "search/formula_library.h"

#include <string_view>

#include "base/codepage.h"
#include "search/record_file.h"

namespace search {

base::Result<std::vector<std::string>> ReadFormulaLibrary(const std::filesystem::path& dataDir,
                                                          int count) {
  auto file = RecordFile::Open(dataDir / kFormulaLibraryFile, RecordFile::Mode::ReadOnly);
  if (!file.ok()) return file.error();
  auto select = Statement::Prepare(file.value(), "SELECT " + QuoteIdentifier("定位公式") +
                                                     " FROM records ORDER BY rowid LIMIT ?");
  if (!select.ok()) return base::Error{"formula library unreadable: " + select.error().message};
  sqlite3_stmt* stmt = select.value().get();
  sqlite3_bind_int(stmt, 1, count);

  std::vector<std::string> formulas;
  formulas.reserve(count > 0 ? count : 0);
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt, 0));
    const int size = sqlite3_column_bytes(stmt, 0);
    // Libraries written by older tools hold GBK; ours hold UTF-8.
    formulas.push_back(bytes ? base::DecodeGbkOrUtf8(std::string_view(bytes, size)) : "");
  }
  if (rc != SQLITE_DONE) {
    return base::Error{"formula library unreadable: " + file.value().LastError()};
  }
  // Records past the end of the library are no candidates: padding them
  // with empty formulas would list blanks and save them over presets.
  return formulas;
}

}  // namespace search
