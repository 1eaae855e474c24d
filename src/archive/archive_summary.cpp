#include "archive/archive_summary.h"

namespace archive {

std::string FormatArchiveSummary(const ArchiveSummary& summary) {
  if (summary.count == 0) return "号码库：空";
  return "号码库：" + std::to_string(summary.count) + " 期，" + summary.first + " 至 " +
         summary.last;
}

}  // namespace archive
