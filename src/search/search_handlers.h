#pragma once

#include "base/result.h"
#include "core/context.h"
#include "search/candidate_score.h"

namespace search {

// 按钮_搜开始 (and the smart filter): runs the search of the checked kind.
// Refused while a search runs; the start button and the smart filter are
// disabled meanwhile and enabled again at its end.
void StartFormulaSearch(core::Context& ctx);
// 按钮_搜停止: the running search ends before its next candidate.
void StopFormulaSearch(core::Context& ctx);

// The three searches: read the 搜公式 tab, score the library's candidates
// over the draw list and list those reaching the threshold. An error, in
// words for 标签_搜索提示, when the formula library cannot be read.
base::Status SearchPosition(core::Context& ctx);
base::Status SearchTwoStar(core::Context& ctx);
base::Status SearchThreeStar(core::Context& ctx);

// 单选框_搜定位 / 单选框_搜二星 / 单选框_搜三星: the kind's boxes, plays and defaults.
void SelectSearchKind(core::Context& ctx, plan::PlanKind kind);
// 按钮_搜公式排序: sorts by rate and saves the best ten as presets of the kind
// on show in 高级选择夹_那星.
void SortSearchResults(core::Context& ctx);
// 按钮_搜使用公式 and row activation: records the formula and runs the plan of
// its kind with the search's settings.
void UseSearchFormula(core::Context& ctx);
// 超级按钮_智能筛选: search and sort for the kind on show in 高级选择夹_那星.
void SmartFilter(core::Context& ctx);

void BindSearchHandlers(core::Context& ctx);

}  // namespace search
