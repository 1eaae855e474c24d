#pragma once

#include <filesystem>
#include <string>

#include "base/result.h"

namespace search {

// "jhgsj.dll" in the working directory: table `records`, whose first record
// (lowest rowid) keeps the last formula used per kind in its first three
// columns (1 position, 2 two-star, 3 three-star).
inline constexpr const char* kUsedFormulaRecordFile = "jhgsj.dll";

// Writes `formula` into column `field` (1-based) of the first record, leaving
// the other columns alone. Neither the file nor the record is created: a
// missing file, table, column or first record is an error and changes nothing.
base::Status RecordUsedFormula(const std::filesystem::path& workDir, int field,
                               const std::string& formula);

}  // namespace search
