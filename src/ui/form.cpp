#include "ui/form.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>

#include "ui/form_builder.h"

namespace ui {
namespace form {

const std::vector<std::string> kPositionItems{"万位", "千位", "百位", "十位", "后一"};
const std::vector<std::string> kPlayItems{"定位胆", "大小", "单双", "大小单双"};
const std::vector<std::string> kCodeItems{"1码", "2码", "3码", "4码", "5码",
                                          "6码", "7码", "8码", "9码"};
const std::vector<std::string> kPeriodItems{"1期", "2期", "3期", "4期", "5期",
                                            "6期", "7期", "8期", "9期", "10期"};
const std::vector<std::string> kTwoStarBetItems{"25注", "30注", "35注", "40注", "45注",
                                                "54注", "63注", "72注", "81注"};
const std::vector<std::string> kThreeStarBetItems{"250注", "300注", "350注", "400注", "450注",
                                                  "540注", "630注", "720注", "810注"};

Row& Row::Checked() {
  definition_.checked = true;
  return *this;
}

Row& Row::DigitsOnly() {
  definition_.digitsOnly = true;
  return *this;
}

Row& Row::MaxLength(int characters) {
  definition_.maxLength = characters;
  return *this;
}

Row& Row::MultiLine() {
  definition_.multiLine = true;
  return *this;
}

Row& Row::VerticalScrollBar() {
  definition_.verticalScrollBar = true;
  return *this;
}

Row& Row::BothScrollBars() {
  definition_.horizontalScrollBar = true;
  definition_.verticalScrollBar = true;
  return *this;
}

Row& Row::Centered() {
  definition_.alignment = Alignment::Center;
  return *this;
}

Row& Row::Skinned() {
  definition_.skinned = true;
  return *this;
}

Row& Row::Toggle(bool initiallySelected) {
  definition_.toggle = true;
  definition_.initiallySelected = initiallySelected;
  return *this;
}

Row& Row::WithFont(const Font& font) {
  definition_.font = font;
  return *this;
}

Row& Row::WithTextColor(Color color) {
  definition_.textColor = color;
  return *this;
}

Row& Row::WithBackground(Color color) {
  definition_.background = color;
  return *this;
}

Row& Row::WithColumns(std::vector<Column> columns) {
  definition_.columns = std::move(columns);
  return *this;
}

Row& Row::WithRowCheckBoxes() {
  definition_.rowCheckBoxes = true;
  return *this;
}

void FormBuilder::In(const std::string& parent, int page) {
  parent_ = parent;
  page_ = page;
}

Row FormBuilder::Add(ControlKind kind, const std::string& name, Geometry geometry,
                     const std::string& text) {
  ControlDefinition& entry = controls_.emplace_back();
  entry.name = name;
  entry.kind = kind;
  entry.parent = parent_;
  entry.page = page_;
  entry.geometry = geometry;
  entry.text = text;
  return Row(entry);
}

Row FormBuilder::Label(const std::string& name, const std::string& caption, Geometry geometry) {
  return Add(ControlKind::Label, name, geometry, caption);
}

Row FormBuilder::TransparentLabel(const std::string& name, const std::string& caption,
                                  Geometry geometry) {
  return Add(ControlKind::TransparentLabel, name, geometry, caption);
}

Row FormBuilder::Edit(const std::string& name, const std::string& text, Geometry geometry) {
  return Add(ControlKind::EditBox, name, geometry, text);
}

Row FormBuilder::Combo(const std::string& name, const std::vector<std::string>& items,
                       const std::string& selected, Geometry geometry) {
  Row row = Add(ControlKind::ComboBox, name, geometry, "");
  ControlDefinition& entry = controls_.back();
  entry.items = items;
  if (!selected.empty()) {
    auto found = std::find(items.begin(), items.end(), selected);
    if (found == items.end()) {
      throw std::logic_error("form: " + name + " has no item " + selected);
    }
    entry.selectedItem = static_cast<int>(found - items.begin());
  }
  return row;
}

Row FormBuilder::Check(const std::string& name, const std::string& caption, Geometry geometry) {
  return Add(ControlKind::CheckBox, name, geometry, caption);
}

Row FormBuilder::Radio(const std::string& name, const std::string& caption, Geometry geometry) {
  return Add(ControlKind::RadioBox, name, geometry, caption);
}

Row FormBuilder::Button(const std::string& name, const std::string& caption, Geometry geometry) {
  return Add(ControlKind::Button, name, geometry, caption);
}

Row FormBuilder::ImageButton(const std::string& name, const std::string& caption,
                             Geometry geometry) {
  return Add(ControlKind::ImageButton, name, geometry, caption);
}

Row FormBuilder::ListView(const std::string& name, Geometry geometry) {
  return Add(ControlKind::ListView, name, geometry, "");
}

Row FormBuilder::Picture(const std::string& name, Geometry geometry) {
  return Add(ControlKind::PictureBox, name, geometry, "");
}

Row FormBuilder::HtmlViewer(const std::string& name, Geometry geometry) {
  return Add(ControlKind::HtmlViewer, name, geometry, "");
}

Row FormBuilder::Timer(const std::string& name, Geometry geometry) {
  return Add(ControlKind::Timer, name, geometry, "");
}

Row FormBuilder::Group(const std::string& name, const std::string& caption, Geometry geometry) {
  return Add(ControlKind::GroupBox, name, geometry, caption);
}

Row FormBuilder::Panel(const std::string& name, Geometry geometry) {
  return Add(ControlKind::Panel, name, geometry, "");
}

Row FormBuilder::Tabs(const std::string& name, const std::vector<std::string>& pages,
                      Geometry geometry) {
  Row row = Add(ControlKind::TabControl, name, geometry, "");
  controls_.back().pages = pages;
  return row;
}

Row FormBuilder::ProgressBar(const std::string& name, Geometry geometry) {
  return Add(ControlKind::ProgressBar, name, geometry, "");
}

Row FormBuilder::TrendChart(const std::string& name, Geometry geometry) {
  return Add(ControlKind::TrendChart, name, geometry, "");
}

namespace {

// A slip in the tables would otherwise surface far away, in the widgets.
void CheckContainment(const std::vector<ControlDefinition>& controls) {
  std::unordered_map<std::string, const ControlDefinition*> seen;
  for (const ControlDefinition& entry : controls) {
    if (!entry.parent.empty()) {
      auto parent = seen.find(entry.parent);
      if (parent == seen.end()) {
        throw std::logic_error("form: " + entry.name + " comes before its parent " + entry.parent);
      }
      const ControlDefinition& container = *parent->second;
      bool isTab = container.kind == ControlKind::TabControl;
      bool pageFits = isTab
                          ? entry.page >= 0 && entry.page < static_cast<int>(container.pages.size())
                          : entry.page == -1;
      if (!pageFits) {
        throw std::logic_error("form: " + entry.name + " is on a page its parent lacks");
      }
    }
    if (!seen.emplace(entry.name, &entry).second) {
      throw std::logic_error("form: " + entry.name + " appears twice");
    }
  }
}

std::vector<ControlDefinition> BuildMainForm() {
  FormBuilder f;
  AddMainWindow(f);
  AddPlanPages(f);
  AddLongRangePages(f);
  std::vector<ControlDefinition> controls = f.Take();
  CheckContainment(controls);
  return controls;
}

}  // namespace

std::vector<ControlDefinition> FormBuilder::Take() { return std::move(controls_); }

}  // namespace form

const WindowDefinition& MainWindowDefinition() {
  static const WindowDefinition entry{"岚舟时时彩智能计划软件", {50, 50, 912, 603}};
  return entry;
}

const std::vector<ControlDefinition>& MainForm() {
  static const std::vector<ControlDefinition> controls = form::BuildMainForm();
  return controls;
}

const ControlDefinition* FindControl(const std::string& name) {
  static const std::unordered_map<std::string, const ControlDefinition*> byName = [] {
    std::unordered_map<std::string, const ControlDefinition*> index;
    for (const ControlDefinition& entry : MainForm()) index.emplace(entry.name, &entry);
    return index;
  }();
  auto found = byName.find(name);
  return found == byName.end() ? nullptr : found->second;
}

}  // namespace ui
