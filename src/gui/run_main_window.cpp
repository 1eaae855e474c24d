#include "gui/run_main_window.h"

#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "gui/html_viewer.h"
#include "gui/qt_window.h"

namespace gui {

int RunMainWindow(int argc, char** argv, const std::function<void(ui::Window&)>& onCreated,
                  bool quitAfterFirstPaint) {
  PrepareWebEngineEnvironment();
  QApplication application(argc, argv);
  QtWindow window;
  if (quitAfterFirstPaint) {
    window.AfterFirstPaint([] {
      // Leave at once: tearing down the window is no part of the start.
      std::fflush(nullptr);
      ::_exit(0);
    });
  }
  // An exception must not unwind through Qt's event loop: carry it past the
  // loop and out to the caller.
  std::exception_ptr failure;
  QTimer::singleShot(0, &application, [&window, &onCreated, &failure] {
    try {
      onCreated(window);
    } catch (...) {
      failure = std::current_exception();
      QCoreApplication::exit(1);
    }
  });
  application.exec();
  if (failure) {
    std::rethrow_exception(failure);
  }
  return 0;
}

int RunScriptedWindow(int argc, char** argv, const std::function<int(ui::DrivenWindow&)>& script) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  PrepareWebEngineEnvironment();
  QApplication application(argc, argv);
  QtWindow window;
  return script(window);
}

}  // namespace gui
