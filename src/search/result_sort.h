#pragma once

#include <string>
#include <vector>

namespace search {

// One row of 超级列表框_搜索 as the sort reads it.
struct ResultEntry {
  std::string formula;
  std::string rateText;  // cell 2 before its first "%"
  bool operator==(const ResultEntry&) const = default;
};

// Highest rate first (the leading number of the rate text, 0 without one);
// entries of equal rate keep their order.
std::vector<ResultEntry> SortByRate(std::vector<ResultEntry> entries);

}  // namespace search
