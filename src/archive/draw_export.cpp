#include "archive/draw_export.h"

#include "base/atomic_file.h"

namespace archive {

base::Result<std::int64_t> ExportDrawFile(const DrawStore& store,
                                          const std::filesystem::path& file) {
  auto summary = store.Summary();
  if (!summary) return summary.error();
  constexpr std::size_t kLineBytes = sizeof "20160116-023,13579\n" - 1;
  std::string text = "issue,code\n";
  text.reserve(text.size() + static_cast<std::size_t>(summary.value().count) * kLineBytes);
  std::int64_t exported = 0;
  auto visited = store.VisitOldestFirst([&](std::string_view issue, std::string_view code) {
    text.append(issue).append(1, ',').append(code).append(1, '\n');
    ++exported;
  });
  if (!visited) return visited.error();
  if (auto written = base::WriteFileAtomically(file, text); !written) return written.error();
  return exported;
}

std::string FormatExportReport(std::int64_t exported) {
  return "exported " + std::to_string(exported);
}

}  // namespace archive
