#pragma once

#include <chrono>

#include "ui/window.h"

namespace net {

// Pauses while the window keeps processing its events (clicks, timer ticks).
void PumpPause(ui::Window& window, std::chrono::microseconds duration);

}  // namespace net
