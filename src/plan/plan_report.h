#pragma once

#include <string>
#include <string_view>

#include "plan/plan_settings.h"

namespace plan {

enum class PlanState { Hit, Missed, Pending };

struct PlanLineParts {
  std::string_view firstSequence;
  std::string_view lastSequence;
  std::string_view title;
  std::string_view shown;           // the middle part between the marks
  std::string_view judgedSequence;  // hit and missed lines
  std::string_view judgedDigits;    // hit and missed lines
  int pendingIndex = 0;             // pending lines: 1-based issue still awaited
};

// One report line, without its line end.
std::string FormatPlanLine(PlanKind kind, PlanState state, const PlanLineParts& parts,
                           const ReportTexts& texts);
// The same line appended to out.
void AppendPlanLine(std::string& out, PlanKind kind, PlanState state, const PlanLineParts& parts,
                    const ReportTexts& texts);

struct Accuracy {
  std::string summary;     // 一共3期计划 对2期 错1期 准确率 66%
  std::string percentage;  // 66%
  int percent = 0;
};

// The percentage is the integer part of hits * 100 / (hits + misses), computed
// in integers; 0 when nothing was judged.
Accuracy AccuracySummary(int hits, int misses);

}  // namespace plan
