#include "search/result_sort.h"

#include <algorithm>

#include "base/leading_number.h"

namespace search {

std::vector<ResultEntry> SortByRate(std::vector<ResultEntry> entries) {
  std::vector<std::pair<double, ResultEntry>> keyed;
  keyed.reserve(entries.size());
  for (auto& entry : entries)
    keyed.emplace_back(base::LeadingNumber(entry.rateText), std::move(entry));
  // A rate counts as higher only beyond 1e-7, as the rates are compared.
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first + 0.0000001; });
  entries.clear();
  for (auto& [rate, entry] : keyed) entries.push_back(std::move(entry));
  return entries;
}

}  // namespace search
