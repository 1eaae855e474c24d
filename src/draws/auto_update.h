#pragma once

#include <string>

#include "core/context.h"
#include "lottery/lottery.h"

namespace draws {

inline constexpr const char* kAutoUpdateTimer = "时钟_自动更新";
inline constexpr const char* kCountdownTimer = "时钟_倒计时";

// The caption of 标签_提示 while the program follows the lottery.
std::string IdleText(const lottery::Lottery& lottery);

// Tick of 时钟_自动更新: at a draw minute of the lottery's schedule, once per
// minute (the latch), stops both timers and runs AutoUpdateDraws.
void AutoUpdateTick(core::Context& ctx);

// Polls the feeds until a newer draw arrives or the schedule gives the draw
// up; inserts it at the top, restarts the
// countdown and re-runs the plans that refresh automatically.
void AutoUpdateDraws(core::Context& ctx);

// Sets the next draw time from the clock and starts 时钟_倒计时; shows
// "00:00" between the schedule's windows.
void ComputeNextDrawTime(core::Context& ctx);

// Tick of 时钟_倒计时: the time left until the next draw in 标签_倒计时.
void CountdownTick(core::Context& ctx);

}  // namespace draws
