#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "archive/draw_file.h"
#include "archive/draw_store.h"
#include "base/result.h"

namespace archive {

// Draws per transaction: a killed import loses at most this many.
inline constexpr std::size_t kImportBatch = 10000;

struct ImportReport {
  std::int64_t imported = 0;
  std::int64_t unchanged = 0;
  std::int64_t conflicts = 0;
  std::int64_t rejected = 0;
  std::vector<RejectedLine> firstRejects;  // at most kKeptRejects
};

// Adds the draws of a draw file (any form ParseDrawLine reads) to the store,
// never changing one already stored. Fails when the file cannot be read or
// is not a text file; draws of batches committed before a store failure stay.
base::Result<ImportReport> ImportDrawFile(DrawStore& store, const std::filesystem::path& file,
                                          std::string_view source, std::chrono::local_seconds now);

// "imported N, unchanged U, conflicts C, rejected R"
std::string ImportSummaryLine(const ImportReport& report);
// The summary line, then "line K: <why>" for each kept reject, then how many
// more were rejected; lines end with LF.
std::string FormatImportReport(const ImportReport& report);

}  // namespace archive
