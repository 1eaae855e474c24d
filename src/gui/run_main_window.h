#pragma once

#include <functional>

#include "ui/driven_window.h"
#include "ui/window.h"

namespace gui {

// Runs the program's window: makes the application and the main window (not
// yet shown), runs onCreated(window) once the event loop has started (the
// handler shows the window itself) and returns 0 when the window is closed.
// With quitAfterFirstPaint the process ends with 0 as soon as the window has
// painted its first frame: the start-up, and nothing else, can be timed.
int RunMainWindow(int argc, char** argv, const std::function<void(ui::Window&)>& onCreated,
                  bool quitAfterFirstPaint = false);

// Runs a script against the program's window: makes the application (on the
// offscreen platform unless QT_QPA_PLATFORM names another) and the window,
// then returns what script(window) returns. No event loop runs but the one
// the script drives through the window.
int RunScriptedWindow(int argc, char** argv, const std::function<int(ui::DrivenWindow&)>& script);

}  // namespace gui
