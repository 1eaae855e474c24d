#include "search/used_formula_record.h"

#include <vector>

#include "storage/sqlite_db.h"

namespace search {

using storage::Database;
using storage::Statement;

base::Status RecordUsedFormula(const std::filesystem::path& workDir, int field,
                               const std::string& formula) {
  auto file = Database::OpenExisting(workDir / kUsedFormulaRecordFile, Database::Access::ReadWrite);
  if (!file.ok()) return file.error();

  // Fields are addressed by position, so find the name of the n-th column.
  auto info = Statement::Prepare(file.value(), "SELECT name FROM pragma_table_info('records')");
  if (!info.ok()) return info.error();
  std::vector<std::string> columns;
  while (info.value().Step() == SQLITE_ROW) columns.emplace_back(info.value().Text(0));
  if (columns.empty()) return base::Error{"used-formula record has no table records"};
  if (field < 1 || field > static_cast<int>(columns.size())) {
    return base::Error{"used-formula record has no field " + std::to_string(field)};
  }

  auto update = Statement::Prepare(
      file.value(), "UPDATE records SET " + storage::QuoteIdentifier(columns[field - 1]) +
                        " = ? WHERE rowid = (SELECT min(rowid) FROM records)");
  if (!update.ok()) return update.error();
  update.value().Bind(1, formula);
  if (update.value().Step() != SQLITE_DONE) {
    return base::Error{"used-formula record not written: " + file.value().LastError()};
  }
  if (file.value().Changes() == 0) {
    return base::Error{"used-formula record has no first record"};
  }
  return base::Ok{};
}

}  // namespace search
