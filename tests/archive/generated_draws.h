#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "lottery/draw.h"

// Consecutive draws from 20000101-001 on, 120 a day, from the skip-th on;
// the code of each depends on its place alone, the same on every run.
inline std::vector<lottery::Draw> GeneratedDraws(std::size_t count, std::size_t skip = 0) {
  using namespace std::chrono;
  std::vector<lottery::Draw> draws;
  draws.reserve(count);
  for (std::size_t i = skip; i < skip + count; ++i) {
    const year_month_day day{sys_days(2000y / January / 1d) + days(i / 120)};
    std::uint64_t mixed = (i + 1) * 0x9e3779b97f4a7c15ULL;
    mixed = (mixed ^ (mixed >> 30)) * 0xbf58476d1ce4e5b9ULL;
    mixed ^= mixed >> 31;
    char issue[48], code[16];
    std::snprintf(issue, sizeof issue, "%04d%02u%02u-%03zu", static_cast<int>(day.year()),
                  static_cast<unsigned>(day.month()), static_cast<unsigned>(day.day()),
                  i % 120 + 1);
    std::snprintf(code, sizeof code, "%05u", static_cast<unsigned>(mixed % 100000));
    draws.push_back({issue, code});
  }
  return draws;
}

// The archive's own export form.
inline std::string DrawCsv(const std::vector<lottery::Draw>& draws) {
  std::string text = "issue,code\n";
  for (const auto& draw : draws) text += draw.issue + "," + draw.code + "\n";
  return text;
}
