#include "search/formula_library.h"

#include <cstdint>

#include "base/codepage.h"
#include "storage/sqlite_db.h"

namespace search {

base::Result<std::vector<std::string>> ReadFormulaLibrary(const std::filesystem::path& dataDir,
                                                          int count) {
  using storage::Database;
  auto file = Database::OpenExisting(dataDir / kFormulaLibraryFile, Database::Access::ReadOnly);
  if (!file.ok()) return file.error();
  auto select =
      storage::Statement::Prepare(file.value(), "SELECT " + storage::QuoteIdentifier("定位公式") +
                                                    " FROM records ORDER BY rowid LIMIT ?");
  if (!select.ok()) return base::Error{"formula library unreadable: " + select.error().message};
  storage::Statement& statement = select.value();
  statement.Bind(1, std::int64_t{count});

  std::vector<std::string> formulas;
  formulas.reserve(count > 0 ? count : 0);
  int rc;
  while ((rc = statement.Step()) == SQLITE_ROW) {
    // Libraries written by older tools hold GBK; ours hold UTF-8.
    formulas.push_back(base::DecodeGbkOrUtf8(statement.Blob(0)));
  }
  if (rc != SQLITE_DONE) {
    return base::Error{"formula library unreadable: " + file.value().LastError()};
  }
  // Records past the end of the library are no candidates: padding them
  // with empty formulas would list blanks and save them over presets.
  return formulas;
}

}  // namespace search
