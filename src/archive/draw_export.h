#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "archive/draw_store.h"
#include "base/result.h"

namespace archive {

// Writes every stored draw oldest first as "issue,code" CSV with that header,
// LF line ends, replacing the file atomically. The number of draws written.
base::Result<std::int64_t> ExportDrawFile(const DrawStore& store,
                                          const std::filesystem::path& file);

// "exported N"
std::string FormatExportReport(std::int64_t exported);

}  // namespace archive
