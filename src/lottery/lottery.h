#pragma once

#include <string>

#include "lottery/draw_sources.h"
#include "lottery/schedule.h"

namespace lottery {

// A game as data: everything that differs from one lottery to the next.
struct Lottery {
  std::string id;    // the archive's key: never changes once draws are stored
  std::string name;  // as 标签_提示 names the game
  Schedule schedule;
  int digits = 0;  // of a code
  SourcePages sources;
};

// The Chongqing lottery: 120 draws a day, every 10 minutes from 10:00 to
// 21:50 and every 5 minutes from 22:00 to 01:55; draw 001 at 00:05, 120 at
// midnight.
const Lottery& Chongqing();

}  // namespace lottery
