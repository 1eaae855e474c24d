#include "net/pump_pause.h"

#include <gtest/gtest.h>

#include "ui/memory_window.h"

namespace {

using namespace std::chrono_literals;

TEST(PumpPause, KeepsProcessingEvents) {
  ui::MemoryWindow window;
  int ticks = 0;
  window.Bind("时钟_倒计时", ui::Event::Tick, [&](int) { ++ticks; });
  window.SetInterval("时钟_倒计时", 1000);
  const ui::LocalTime before = window.Now();
  net::PumpPause(window, 5000000us);
  EXPECT_GE(window.Now() - before, 5s);
  EXPECT_EQ(ticks, 5);
  net::PumpPause(window, 10000us);
  EXPECT_EQ(ticks, 5);
}

TEST(PumpPause, BelowAMillisecondOnlyHandlesWhatIsPending) {
  ui::MemoryWindow window;
  int ticks = 0;
  window.Bind("时钟_倒计时", ui::Event::Tick, [&](int) { ++ticks; });
  window.SetInterval("时钟_倒计时", 1000);
  window.SetClock(window.Now() + 1500ms);  // a tick is due
  net::PumpPause(window, 1us);
  EXPECT_EQ(ticks, 1);
}

}  // namespace
