#pragma once

#include <string>
#include <unordered_map>

#include "ui/form.h"

class QTimer;
class QWidget;

namespace gui {

// One control of the form as built on screen.
struct FormWidget {
  const ui::ControlDefinition* definition = nullptr;
  QWidget* widget = nullptr;  // null for timers
  QTimer* timer = nullptr;
};

// Makes `window` the main window of ui::MainWindowDefinition() and builds a
// widget for every control of ui::MainForm() on it, each named by its control
// name, placed and styled as the form says. Each kind has one widget class:
// QLabel, QLineEdit or TextBox, QComboBox, QCheckBox, QRadioButton,
// QPushButton, SkinButton, ListView, TrendChartView, QProgressBar, a QLabel
// for a picture, HtmlViewer, QGroupBox, QFrame and TabControl. Timers get a
// QTimer owned by the window. Keyed by control name.
std::unordered_map<std::string, FormWidget> BuildMainWindow(QWidget& window);

}  // namespace gui
