#include "trend/trend_chart.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "base/text.h"

namespace trend {
namespace {

constexpr int kDigits = 10;
using PerDigit = std::array<int, kDigits>;

// Omissions just before `end`: a digit last drawn at index j has missed
// end - 1 - j draws; one never drawn has missed every draw since the oldest.
PerDigit OmissionsBefore(std::span<const lottery::Draw> archive, int position, int end) {
  PerDigit omission;
  omission.fill(end);
  int found = 0;
  for (int i = end - 1; i >= 0 && found < kDigits; --i) {
    const int digit = DigitAt(archive[i].code, position);
    if (digit >= 0 && omission[digit] == end) {
      omission[digit] = end - 1 - i;
      ++found;
    }
  }
  return omission;
}

struct Summary {
  PerDigit appearances{};
  PerDigit maxOmission{};
  PerDigit maxRun{};
  PerDigit run{};
};

std::vector<std::string> DrawRow(const lottery::Draw& draw, int digit, PerDigit& omission,
                                 Summary& summary) {
  std::vector<std::string> row(kColumnCount);
  row[kIssueColumn] = draw.issue;
  row[kCodeColumn] = draw.code;
  for (int d = 0; d < kDigits; ++d) {
    std::string& cell = row[kFirstDigitColumn + d];
    if (d == digit) {
      omission[d] = 0;
      cell = std::string(1, static_cast<char>('0' + d));
      ++summary.appearances[d];
      summary.maxRun[d] = std::max(summary.maxRun[d], ++summary.run[d]);
    } else {
      cell = std::to_string(++omission[d]);
      summary.maxOmission[d] = std::max(summary.maxOmission[d], omission[d]);
      summary.run[d] = 0;
    }
  }
  if (digit >= 0) {
    row[kSizeColumn] = digit >= 5 ? "大" : "小";
    row[kParityColumn] = digit % 2 == 1 ? "单" : "双";
  }
  return row;
}

std::vector<std::string> SummaryRow(const char* name, const PerDigit& figures) {
  std::vector<std::string> row(kColumnCount);
  row[kIssueColumn] = name;
  for (int d = 0; d < kDigits; ++d) row[kFirstDigitColumn + d] = std::to_string(figures[d]);
  return row;
}

}  // namespace

int DigitAt(std::string_view code, int position) {
  if (code.size() != kPositionCount || position < 0 || position >= kPositionCount ||
      !base::IsDigits(code)) {
    return -1;
  }
  return code[position] - '0';
}

TrendChart BuildTrendChart(std::span<const lottery::Draw> archive, int position, int shownCount) {
  const int total = static_cast<int>(archive.size());
  const int shown = std::clamp(shownCount, 0, total);
  const int first = total - shown;

  TrendChart chart;
  chart.rows.reserve(shown + kSummaryRowCount);
  chart.ballColumns.reserve(shown);
  PerDigit omission = OmissionsBefore(archive, position, first);
  Summary summary;
  for (int i = first; i < total; ++i) {
    const int digit = DigitAt(archive[i].code, position);
    chart.rows.push_back(DrawRow(archive[i], digit, omission, summary));
    chart.ballColumns.push_back(digit >= 0 ? kFirstDigitColumn + digit : -1);
  }

  PerDigit averageOmission;
  for (int d = 0; d < kDigits; ++d) {
    averageOmission[d] = (shown - summary.appearances[d]) / (summary.appearances[d] + 1);
  }
  chart.rows.push_back(SummaryRow("出现次数", summary.appearances));
  chart.rows.push_back(SummaryRow("平均遗漏", averageOmission));
  chart.rows.push_back(SummaryRow("最大遗漏", summary.maxOmission));
  chart.rows.push_back(SummaryRow("最大连出", summary.maxRun));
  return chart;
}

}  // namespace trend
