#include "plan/plan_report.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <initializer_list>

namespace plan {

namespace {

// Reports run to thousands of lines: one resize per line instead of one
// growth check per piece.
void AppendAll(std::string& out, std::initializer_list<std::string_view> pieces) {
  std::size_t size = 0;
  for (auto piece : pieces) size += piece.size();
  std::size_t at = out.size();
  out.resize(at + size);
  for (auto piece : pieces) {
    if (!piece.empty()) std::memcpy(out.data() + at, piece.data(), piece.size());
    at += piece.size();
  }
}

}  // namespace

void AppendPlanLine(std::string& out, PlanKind kind, PlanState state, const PlanLineParts& parts,
                    const ReportTexts& texts) {
  if (state == PlanState::Pending) {
    char index[16];
    auto end = std::to_chars(index, index + sizeof index, parts.pendingIndex).ptr;
    AppendAll(out, {parts.firstSequence, "—", parts.lastSequence, texts.name, parts.title,
                    texts.left, parts.shown, texts.right, texts.pending, "【",
                    std::string_view(index, static_cast<std::size_t>(end - index)), "】"});
    return;
  }
  AppendAll(out, {parts.firstSequence, "—", parts.lastSequence, texts.name, parts.title, texts.left,
                  parts.shown, texts.right, parts.judgedSequence,
                  kind == PlanKind::Position ? "期 开 " : "期 开", parts.judgedDigits,
                  state == PlanState::Hit ? texts.hit : texts.miss});
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
