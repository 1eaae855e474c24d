#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "mirror_draws.h"

namespace drawd {

// The history page of one day in GBK: one table row per draw, ascending, in
// the markup the program's history pattern reads.
std::string HistoryPage(std::chrono::year_month_day day, const std::vector<lottery::Draw>& draws);

// The two latest-draw feeds. Without a draw they carry no row.
std::string FirstFeed(const std::optional<lottery::Draw>& newest);
std::string SecondFeed(const std::optional<lottery::Draw>& newest);

// UTF-8 pages for the embedded browsers.
std::string AnnouncementPage(const std::optional<lottery::Draw>& newest);
std::string VideoPage(const std::string& lottery, const std::optional<lottery::Draw>& newest);

}  // namespace drawd
