#include "draws/history_page.h"

#include <algorithm>
#include <boost/regex.hpp>
#include <cstdio>
#include <stdexcept>

#include "draws/draw_record.h"

namespace draws {

namespace {

const boost::regex& HistoryRegex() {
  static const boost::regex pattern(kHistoryPattern.begin(), kHistoryPattern.end(),
                                    boost::regex::perl);
  return pattern;
}

}  // namespace

std::string CompactDate(std::chrono::year_month_day day) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02u%02u", static_cast<int>(day.year()),
                static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()));
  return text;
}

std::string HistoryQuery(std::chrono::year_month_day day) {
  char dashed[16];
  std::snprintf(dashed, sizeof dashed, "%04d-%02u-%02u", static_cast<int>(day.year()),
                static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()));
  return std::string("lotId=255401&spanType=2&span=") + dashed + "_" + dashed;
}

std::vector<std::string> ParseHistoryPage(std::string_view page, std::string_view compactDate) {
  std::vector<std::string> items;
  try {
    boost::cregex_iterator match(page.data(), page.data() + page.size(), HistoryRegex());
    for (; match != boost::cregex_iterator(); ++match) {
      std::string sequence = (*match)[1].str();
      std::string code = (*match)[2].str();
      if (!IsDrawSequence(sequence) || !IsDigits(code, 5)) continue;
      items.push_back(std::string(compactDate) + "-" + sequence + code);
    }
  } catch (const std::runtime_error&) {
    // Boost gives up on a page so tangled that the lazy groups would take
    // forever (many row openings, no closing cell); the rows read so far stay.
  }
  return items;
}

void PrependHistoryItems(std::vector<std::string>& list, std::string_view page,
                         std::string_view compactDate) {
  std::vector<std::string> items = ParseHistoryPage(page, compactDate);
  std::reverse(items.begin(), items.end());
  list.insert(list.begin(), std::make_move_iterator(items.begin()),
              std::make_move_iterator(items.end()));
}

}  // namespace draws
