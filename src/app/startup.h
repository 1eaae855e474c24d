#pragma once

#include <string>

#include "core/context.h"

namespace app {

// The main window's creation handler: runs once, after the window has been
// built from its form and the handlers are bound.
void RunCreationHandler(core::Context& ctx);

// What stands in for the creation handler when it is skipped: the window
// comes up holding its form values, and the archive strip says what the
// archive already holds.
void ShowWindowWithoutCreationHandler(core::Context& ctx);

// Caption of 标签_开奖载入提示 while the draw-video page loads, the percent
// held to 0-100.
std::string LoadProgressCaption(int percent);

// The main window's own events: the draw-video load progress.
void BindStartupHandlers(core::Context& ctx);

}  // namespace app
