#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace drawd {

using LocalSeconds = std::chrono::local_time<std::chrono::seconds>;

// One draw the mirror serves.
struct Draw {
  std::chrono::year_month_day date;
  int sequence = 0;  // 1..120
  std::string code;  // five digits
};

inline constexpr int kDrawsPerDay = 120;

// When draw `sequence` of `date` is drawn on the Chongqing schedule: 001-023
// every 5 minutes from 00:05, 024-096 every 10 minutes from 10:00, 097-120
// every 5 minutes from 22:05 (120 at midnight, the start of the next day).
LocalSeconds DrawTime(std::chrono::year_month_day date, int sequence);

// The code of a simulated draw: the same for the same date and sequence on
// every run.
std::string SimulatedCode(std::chrono::year_month_day date, int sequence);

// "YYYYMMDD-NNN".
std::string IssueOf(const Draw& draw);

// Every draw of a draw file, in file order, read as the archive reads its
// imports (archive/draw_line.h): "issue,code", tab- or blank-separated, the
// issue dashed or as 11 digits. Blank lines and lines starting with '#' are
// ignored; other lines are counted as malformed.
std::vector<Draw> ParseDrawFile(std::string_view content, int* malformedLines);

// "YYYY-MM-DD" of a query value, nullopt when it is not a real date.
std::optional<std::chrono::year_month_day> ParseDashedDate(std::string_view text);

}  // namespace drawd
