#include "search/used_formula_record.h"

#include <vector>

#include "search/record_file.h"

namespace search {

base::Status RecordUsedFormula(const std::filesystem::path& workDir, int field,
                               const std::string& formula) {
  auto file = RecordFile::Open(workDir / kUsedFormulaRecordFile, RecordFile::Mode::ReadWrite);
  if (!file.ok()) return file.error();

  // Fields are addressed by position, so find the name of the n-th column.
  auto info = Statement::Prepare(file.value(), "SELECT name FROM pragma_table_info('records')");
  if (!info.ok()) return info.error();
  std::vector<std::string> columns;
  while (sqlite3_step(info.value().get()) == SQLITE_ROW) {
    columns.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(info.value().get(), 0)));
  }
  if (columns.empty()) return base::Error{"used-formula record has no table records"};
  if (field < 1 || field > static_cast<int>(columns.size())) {
    return base::Error{"used-formula record has no field " + std::to_string(field)};
  }

  auto update =
      Statement::Prepare(file.value(), "UPDATE records SET " + QuoteIdentifier(columns[field - 1]) +
                                           " = ? WHERE rowid = (SELECT min(rowid) FROM records)");
  if (!update.ok()) return update.error();
  sqlite3_bind_text(update.value().get(), 1, formula.data(), static_cast<int>(formula.size()),
                    SQLITE_TRANSIENT);
  if (sqlite3_step(update.value().get()) != SQLITE_DONE) {
    return base::Error{"used-formula record not written: " + file.value().LastError()};
  }
  if (sqlite3_changes(file.value().handle()) == 0) {
    return base::Error{"used-formula record has no first record"};
  }
  return base::Ok{};
}

}  // namespace search
