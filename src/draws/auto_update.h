#pragma once

#include "core/context.h"

namespace draws {

inline constexpr const char* kAutoUpdateTimer = "时钟_自动更新";
inline constexpr const char* kCountdownTimer = "时钟_倒计时";

// Tick of 时钟_自动更新: at a draw minute, once per minute (the latch), stops
// both timers and runs AutoUpdateDraws.
void AutoUpdateTick(core::Context& ctx);

// Polls the feeds until a newer draw arrives or the draw is given up two
// minutes after its draw minute; inserts it at the top, restarts the
// countdown and re-runs the plans that refresh automatically.
void AutoUpdateDraws(core::Context& ctx);

// Sets the next draw time from the clock and starts 时钟_倒计时; shows
// "00:00" in the pause between the night and the day draws.
void ComputeNextDrawTime(core::Context& ctx);

// Tick of 时钟_倒计时: the time left until the next draw in 标签_倒计时.
void CountdownTick(core::Context& ctx);

}  // namespace draws
