#include "plan/plan_run.h"

#include "lottery/issue.h"
#include "plan/plan_report.h"
#include "plan/plan_rules.h"

namespace plan {
namespace {

// The plan-window procedure shared by the report and the counts: onLine gets
// (state, base index, prediction, judged index or pending issue number).
template <typename OnLine>
PlanCounts Replay(const std::vector<lottery::Draw>& source, const PlanSettings& settings,
                  std::string_view formula, OnLine&& onLine) {
  PlanCounts counts;
  if (formula.empty()) return counts;
  const std::size_t total = source.size();
  const std::size_t period = settings.periodCount < 0 ? 0 : settings.periodCount;
  std::size_t base = 0;
  for (std::size_t repetition = 0; repetition < total; ++repetition) {
    const std::size_t remaining = total - base;
    WindowPrediction prediction = PredictWindow(settings, source[base].code, formula);
    std::size_t hitAt = 0;
    std::size_t pendingAt = 0;
    for (std::size_t k = 1; k <= period; ++k) {
      if (remaining == k) {
        pendingAt = k;
        break;
      }
      if (IsHit(settings, prediction, source[base + k].code)) {
        hitAt = k;
        break;
      }
    }
    if (hitAt != 0) {
      onLine(PlanState::Hit, base, prediction, base + hitAt);
      ++counts.hits;
      base += hitAt;
    } else if (pendingAt != 0) {
      onLine(PlanState::Pending, base, prediction, pendingAt);
      counts.pending = true;
      break;
    } else {
      onLine(PlanState::Missed, base, prediction, base + period);
      ++counts.misses;
      base += period;
    }
  }
  return counts;
}

}  // namespace

PlanResult PlanRun(const std::vector<lottery::Draw>& source, const PlanSettings& settings,
                   std::string_view formula) {
  PlanResult result;
  result.report.reserve(source.size() * 48 + 64);  // about one line per two draws
  PlanCounts counts = Replay(
      source, settings, formula,
      [&](PlanState state, std::size_t base, const WindowPrediction& prediction, std::size_t at) {
        std::string_view baseSequence = lottery::IssueSequence(source[base].issue);
        std::string first = lottery::SequenceAfter(baseSequence, 1, settings.drawsPerDay);
        std::string last =
            lottery::SequenceAfter(baseSequence, settings.periodCount, settings.drawsPerDay);
        std::string shown = ShownPrediction(settings, prediction);
        PlanLineParts parts{first, last, settings.title, shown, {}, {}, 0};
        std::string judged;
        if (state == PlanState::Pending) {
          parts.pendingIndex = static_cast<int>(at);
        } else {
          parts.judgedSequence = lottery::IssueSequence(source[at].issue);
          judged = JudgedDigits(settings, source[at].code);
          parts.judgedDigits = judged;
        }
        AppendPlanLine(result.report, settings.kind, state, parts, settings.texts);
        result.report += "\r\n";
      });
  Accuracy accuracy = AccuracySummary(counts.hits, counts.misses);
  result.report += "\r\n";
  result.report += accuracy.summary;
  result.hits = counts.hits;
  result.misses = counts.misses;
  result.percentage = accuracy.percentage;
  return result;
}

PlanCounts CountPlans(const std::vector<lottery::Draw>& source, const PlanSettings& settings,
                      std::string_view formula) {
  return Replay(source, settings, formula,
                [](PlanState, std::size_t, const WindowPrediction&, std::size_t) {});
}

std::array<PlanResult, 10> RunPresets(const std::vector<lottery::Draw>& history,
                                      std::string_view startIssue, const PlanSettings& settings,
                                      const PresetFormulas& formulas,
                                      const PresetMask& withReport) {
  std::vector<lottery::Draw> source = BuildPlanSource(history, startIssue);
  std::array<PlanResult, 10> results;
  for (std::size_t j = 0; j < formulas.size(); ++j) {
    if (withReport[j]) {
      results[j] = PlanRun(source, settings, formulas[j]);
      continue;
    }
    PlanCounts counts = CountPlans(source, settings, formulas[j]);
    results[j].hits = counts.hits;
    results[j].misses = counts.misses;
    results[j].percentage = AccuracySummary(counts.hits, counts.misses).percentage;
  }
  return results;
}

}  // namespace plan
