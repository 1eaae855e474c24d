#include "plan/plan_report.h"

#include <cstdint>

namespace plan {

void AppendPlanLine(std::string& out, PlanKind kind, PlanState state, const PlanLineParts& parts,
                    const ReportTexts& texts) {
  out.append(parts.firstSequence).append("—").append(parts.lastSequence);
  out.append(texts.name).append(parts.title);
  out.append(texts.left).append(parts.shown).append(texts.right);
  if (state == PlanState::Pending) {
    out.append(texts.pending).append("【").append(std::to_string(parts.pendingIndex)).append("】");
    return;
  }
  out.append(parts.judgedSequence);
  out.append(kind == PlanKind::Position ? "期 开 " : "期 开");
  out.append(parts.judgedDigits);
  out.append(state == PlanState::Hit ? texts.hit : texts.miss);
}

std::string FormatPlanLine(PlanKind kind, PlanState state, const PlanLineParts& parts,
                           const ReportTexts& texts) {
  std::string line;
  AppendPlanLine(line, kind, state, parts, texts);
  return line;
}

Accuracy AccuracySummary(int hits, int misses) {
  std::int64_t total = static_cast<std::int64_t>(hits) + misses;
  Accuracy accuracy;
  accuracy.percent =
      total == 0 ? 0 : static_cast<int>(static_cast<std::int64_t>(hits) * 100 / total);
  accuracy.percentage = std::to_string(accuracy.percent) + "%";
  accuracy.summary = "一共" + std::to_string(total) + "期计划 对" + std::to_string(hits) + "期 错" +
                     std::to_string(misses) + "期 准确率 " + accuracy.percentage;
  return accuracy;
}

}  // namespace plan
