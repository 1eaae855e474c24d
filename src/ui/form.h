#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ui {

enum class ControlKind {
  Window,
  Label,
  TransparentLabel,
  EditBox,
  ComboBox,
  CheckBox,
  RadioBox,
  Button,
  ImageButton,
  ListView,
  PictureBox,
  HtmlViewer,
  Timer,
  GroupBox,
  Panel,
  TabControl,
  ProgressBar,
  TrendChart,  // rows of cells like a list view, drawn as a chart with balls
};

enum class Alignment { Left, Center, Right };

struct Geometry {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct Color {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
};

struct Font {
  std::string family = "宋体";
  int pixelHeight = 12;
  bool bold = false;
};

struct Column {
  std::string caption;
  int width = 0;
};

// One control of the main window. Every property the window shows or the
// behaviour relies on lives here, so the memory window and the Qt window are
// built from the same facts.
struct ControlDefinition {
  std::string name;
  ControlKind kind = ControlKind::Label;
  std::string parent;  // empty for direct children of the window
  int page = -1;       // page of the parent when the parent is a tab control
  Geometry geometry;

  std::string text;  // caption or initial text
  std::vector<std::string> items;
  int selectedItem = -1;
  bool checked = false;

  Font font;
  std::optional<Color> textColor;
  std::optional<Color> background;

  bool digitsOnly = false;
  int maxLength = 0;       // 0: no limit
  bool multiLine = false;  // edit boxes: many lines; labels: the text wraps at the width
  bool horizontalScrollBar = false;
  bool verticalScrollBar = false;
  Alignment alignment = Alignment::Left;

  bool skinned = false;  // image button with the two skin pictures
  bool toggle = false;   // image button with a selected state
  bool initiallySelected = false;

  std::vector<Column> columns;     // list views and trend charts
  bool rowCheckBoxes = false;      // list views: a check box in front of each row
  std::vector<std::string> pages;  // tab controls
};

struct WindowDefinition {
  std::string caption;
  Geometry geometry;
};

const WindowDefinition& MainWindowDefinition();

// Parents always come before their children.
const std::vector<ControlDefinition>& MainForm();

// nullptr when no control has that name.
const ControlDefinition* FindControl(const std::string& name);

}  // namespace ui
