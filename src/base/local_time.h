#pragma once

#include <chrono>

namespace base {

// Local wall-clock time with milliseconds, as the window's clock gives it.
using LocalTime = std::chrono::local_time<std::chrono::milliseconds>;

}  // namespace base
