#include "gui/run_main_window.h"

#include <QApplication>
#include <QTimer>

#include "gui/html_viewer.h"
#include "gui/qt_window.h"

namespace gui {

int RunMainWindow(int argc, char** argv, const std::function<void(ui::Window&)>& onCreated) {
  PrepareWebEngineEnvironment();
  QApplication application(argc, argv);
  QtWindow window;
  QTimer::singleShot(0, &application, [&window, &onCreated] { onCreated(window); });
  application.exec();
  return 0;
}

}  // namespace gui
