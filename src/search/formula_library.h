#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "base/result.h"

namespace search {

// The candidates the search scores: table `records`, text column "定位公式",
// in rowid order, in the file "gssjj.dll" of the data directory.
inline constexpr const char* kFormulaLibraryFile = "gssjj.dll";

// The first `count` formula texts, fewer when the library holds fewer
// records (a record whose text is empty or NULL gives an empty text), or an
// error when the file is missing, is not a database or lacks the table or
// the column.
base::Result<std::vector<std::string>> ReadFormulaLibrary(const std::filesystem::path& dataDir,
                                                          int count);

}  // namespace search
