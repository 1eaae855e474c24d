#pragma once

#include <string>

namespace draws {

// The caption of 标签_倒计时 for the whole seconds left until the target;
// "00:00" once the target has passed, never a negative time.
std::string CountdownText(long long secondsLeft);

}  // namespace draws
