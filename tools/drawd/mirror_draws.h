#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lottery/draw.h"
#include "lottery/issue.h"
#include "lottery/lottery.h"

namespace drawd {

using LocalSeconds = std::chrono::local_seconds;

// The lottery whose sources the mirror stands in for.
const lottery::Lottery& MirroredLottery();

// The issue of a draw the mirror serves. Every such draw passed the door of
// the mirrored lottery: simulated ones and those read from a draw file alike.
lottery::Issue IssueOf(const lottery::Draw& draw);

// When the draw of `issue` is drawn on the mirrored lottery's schedule.
LocalSeconds DrawTime(const lottery::Issue& issue);

// The code of a simulated draw: the same for the same date and sequence on
// every run.
std::string SimulatedCode(std::chrono::year_month_day date, int sequence);
lottery::Draw SimulatedDraw(const lottery::Issue& issue);

// Every draw of a draw file, in file order, read as the archive reads its
// imports (archive/draw_line.h): "issue,code", tab- or blank-separated, the
// issue dashed or as 11 digits. Blank lines and lines starting with '#' are
// ignored; other lines are counted as malformed.
std::vector<lottery::Draw> ParseDrawFile(std::string_view content, int* malformedLines);

// "YYYY-MM-DD" of a query value, nullopt when it is not a real date.
std::optional<std::chrono::year_month_day> ParseDashedDate(std::string_view text);

}  // namespace drawd
