#include "ui/control_rules.h"

#include <algorithm>
#include <initializer_list>
#include <stdexcept>
#include <utility>

#include "base/text.h"

namespace ui {
namespace {

bool OneOf(ControlKind kind, std::initializer_list<ControlKind> kinds) {
  return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

// Length in bytes of the UTF-8 character starting with `lead`.
std::size_t CharacterLength(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

int CharacterCount(std::string_view text) {
  int count = 0;
  for (std::size_t i = 0; i < text.size(); i += CharacterLength(text[i])) ++count;
  return count;
}

}  // namespace

bool KindHas(ControlKind kind, Operation operation) {
  using K = ControlKind;
  switch (operation) {
    case Operation::ReadText:
      // A combo box reads as its current item, a progress bar as its
      // percentage; neither has a text of its own.
      return kind == K::ComboBox || kind == K::ProgressBar || KindHas(kind, Operation::WriteText);
    case Operation::WriteText:
      return OneOf(kind, {K::Label, K::TransparentLabel, K::EditBox, K::Button, K::ImageButton,
                          K::CheckBox, K::RadioBox, K::GroupBox});
    case Operation::Edit:
      return kind == K::EditBox;
    case Operation::Check:
      return kind == K::CheckBox || kind == K::RadioBox;
    case Operation::Items:
      return kind == K::ComboBox;
    case Operation::Select:
      return kind == K::ImageButton;
    case Operation::Pages:
      return kind == K::TabControl;
    case Operation::Rows:
      return kind == K::ListView || kind == K::TrendChart;
    case Operation::RowChecks:
      return kind == K::ListView;
    case Operation::Marks:
      return kind == K::TrendChart;
    case Operation::Progress:
      return kind == K::ProgressBar;
    case Operation::Picture:
      return kind == K::PictureBox;
    case Operation::Browse:
      return kind == K::HtmlViewer;
    case Operation::Time:
      return kind == K::Timer;
    case Operation::Enable:
      return kind != K::Timer;
  }
  return false;
}

const char* KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Window:
      return "window";
    case ControlKind::Label:
      return "label";
    case ControlKind::TransparentLabel:
      return "transparent label";
    case ControlKind::EditBox:
      return "edit box";
    case ControlKind::ComboBox:
      return "combo box";
    case ControlKind::CheckBox:
      return "check box";
    case ControlKind::RadioBox:
      return "radio box";
    case ControlKind::Button:
      return "button";
    case ControlKind::ImageButton:
      return "image button";
    case ControlKind::ListView:
      return "list view";
    case ControlKind::PictureBox:
      return "picture box";
    case ControlKind::HtmlViewer:
      return "HTML viewer";
    case ControlKind::Timer:
      return "timer";
    case ControlKind::GroupBox:
      return "group box";
    case ControlKind::Panel:
      return "panel";
    case ControlKind::TabControl:
      return "tab control";
    case ControlKind::ProgressBar:
      return "progress bar";
    case ControlKind::TrendChart:
      return "trend chart";
  }
  return "control";
}

void ThrowNoControl(const std::string& name) {
  throw std::out_of_range("no control named " + name);
}

void RequireOperation(const ControlDefinition& control, Operation operation) {
  if (KindHas(control.kind, operation)) return;
  const char* why = operation == Operation::Enable ? ", which cannot be enabled or disabled"
                                                   : ", which does not have this operation";
  throw std::invalid_argument(control.name + " is a " + KindName(control.kind) + why);
}

void RequirePage(const ControlDefinition& tabs, int page) {
  if (page < 0 || page >= static_cast<int>(tabs.pages.size())) {
    throw std::out_of_range(tabs.name + " has no page " + std::to_string(page));
  }
}

void RequireRowCheckBoxes(const ControlDefinition& list) {
  RequireOperation(list, Operation::RowChecks);
  if (!list.rowCheckBoxes) throw std::invalid_argument(list.name + " has no row check boxes");
}

std::string ProgressText(int percent) { return std::to_string(percent) + "%"; }

int ClampPercent(int percent) { return std::clamp(percent, 0, 100); }

void RequirePicture(const std::string& name, Picture picture) {
  if (picture.digit != Picture::kPlaceholder && (picture.digit < 0 || picture.digit > 9)) {
    throw std::invalid_argument(name + ": no picture for digit " + std::to_string(picture.digit));
  }
}

std::string RadioGroup(const ControlDefinition& radio) {
  return radio.parent + "#" + std::to_string(radio.page);
}

bool LimitsTyping(const ControlDefinition& box) { return box.digitsOnly || box.maxLength > 0; }

Typed TypeInto(const ControlDefinition& box, std::string text, std::string_view typed) {
  Typed result{std::move(text), true};
  int length = CharacterCount(result.text);
  for (std::size_t i = 0; i < typed.size();) {
    std::size_t size = std::min(CharacterLength(typed[i]), typed.size() - i);
    std::string_view character = typed.substr(i, size);
    i += size;
    bool isDigit = size == 1 && base::IsDigit(character[0]);
    if ((box.digitsOnly && !isDigit) || (box.maxLength > 0 && length >= box.maxLength)) {
      result.allTaken = false;
      continue;
    }
    result.text += character;
    ++length;
  }
  return result;
}

bool CouldBeTyped(const ControlDefinition& box, std::string_view text) {
  return TypeInto(box, "", text).allTaken;
}

}  // namespace ui
