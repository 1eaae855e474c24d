#pragma once

#include <string>
#include <string_view>

namespace output {

// True for the closing line of a plan report:
// "一共<t>期计划 对<h>期 错<e>期 准确率 <d>%".
bool IsSummaryLine(std::string_view line);

// The block a plan kind puts into the collection: the last `rows` plan lines
// of the report in its result box, blank lines and the summary line left out,
// each ended by CR LF. The box may give its lines ended by CR LF or LF alone.
// `rows` of 0 or less gives the empty block.
std::string PlanBlock(std::string_view report, int rows);

// The line count typed into a row box: its number truncated toward zero,
// 0 for anything that is not a positive number.
int RowCount(std::string_view text);

}  // namespace output
