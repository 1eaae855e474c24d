#pragma once

#include <functional>

#include "ui/window.h"

namespace gui {

// Runs the program's window: makes the application and the main window (not
// yet shown), runs onCreated(window) once the event loop has started (the
// handler shows the window itself) and returns 0 when the window is closed.
int RunMainWindow(int argc, char** argv, const std::function<void(ui::Window&)>& onCreated);

}  // namespace gui
