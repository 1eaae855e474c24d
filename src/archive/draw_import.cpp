#include "archive/draw_import.h"

namespace archive {

base::Result<ImportReport> ImportDrawFile(DrawStore& store, const std::filesystem::path& file,
                                          std::string_view source, std::chrono::local_seconds now) {
  ImportReport report;
  std::int64_t refused = 0;
  auto scan = ReadDrawFile(
      file, store.lottery(),
      [&](std::span<const lottery::Draw> draws) -> base::Status {
        auto counts = store.Store(draws, source, now);
        if (!counts) {
          return base::Error{"import stopped after " + std::to_string(report.imported) +
                             " new draws: " + counts.error().message};
        }
        report.imported += counts.value().added;
        report.unchanged += counts.value().unchanged;
        report.conflicts += counts.value().conflicts;
        refused += counts.value().rejected;
        return base::Ok{};
      },
      kImportBatch);
  if (!scan) return scan.error();
  report.rejected = scan.value().rejected + refused;
  report.firstRejects = std::move(scan.value().firstRejects);
  return report;
}

std::string ImportSummaryLine(const ImportReport& report) {
  return "imported " + std::to_string(report.imported) + ", unchanged " +
         std::to_string(report.unchanged) + ", conflicts " + std::to_string(report.conflicts) +
         ", rejected " + std::to_string(report.rejected);
}

std::string FormatImportReport(const ImportReport& report) {
  std::string text = ImportSummaryLine(report) + "\n";
  for (const RejectedLine& rejected : report.firstRejects) {
    text += "line " + std::to_string(rejected.line) + ": " + rejected.reason + "\n";
  }
  const auto more = report.rejected - static_cast<std::int64_t>(report.firstRejects.size());
  if (more > 0) text += "and " + std::to_string(more) + " more rejected lines\n";
  return text;
}

}  // namespace archive
