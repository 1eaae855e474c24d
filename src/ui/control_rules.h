#pragma once

#include <string>
#include <string_view>

#include "ui/form.h"
#include "ui/window.h"

// The rules of the controls, the same on every window built from the form: a
// window keeps only how it holds and draws a control, so the memory window and
// the screen cannot drift apart.
namespace ui {

// What a program asks of a control through ui::Window; each kind has some.
enum class Operation {
  ReadText,   // Text
  WriteText,  // SetText
  Edit,       // AppendText and typing
  Check,      // Checked, SetChecked
  Items,      // the items and the current item of a combo box
  Select,     // the selected state of an image button
  Pages,      // the current page of a tab control
  Rows,       // the rows and cells of a list view or a trend chart
  RowChecks,  // the row check boxes of a list view that has them
  Marks,      // the ball of each row of a trend chart
  Progress,   // the value of a progress bar
  Picture,    // the digit a picture box shows
  Browse,     // the address of an HTML viewer
  Time,       // the interval and the ticks of a timer
  Enable,     // Enabled, SetEnabled
};

bool KindHas(ControlKind kind, Operation operation);
const char* KindName(ControlKind kind);

// A wrong name or kind is a programming error, never input: these throw, in
// the one wording every window uses (the console shows it as its error line).
[[noreturn]] void ThrowNoControl(const std::string& name);  // std::out_of_range
// std::invalid_argument unless the control's kind has the operation.
void RequireOperation(const ControlDefinition& control, Operation operation);
// std::out_of_range unless the tab control has the page.
void RequirePage(const ControlDefinition& tabs, int page);
// std::invalid_argument unless the list view has row check boxes.
void RequireRowCheckBoxes(const ControlDefinition& list);
// std::invalid_argument unless there is a picture for it.
void RequirePicture(const std::string& name, Picture picture);

// A progress bar's value as its text reads, and the range it is held in.
std::string ProgressText(int percent);
int ClampPercent(int percent);

// Radio boxes exclude each other within their container; the pages of a tab
// control are containers of their own. Radios with equal keys form one group.
std::string RadioGroup(const ControlDefinition& radio);

// Whether the box refuses some of what a user types (digits only, a maximum
// length). What the program sets is never refused.
bool LimitsTyping(const ControlDefinition& box);

struct Typed {
  std::string text;
  bool allTaken = true;  // false if any character was refused
};

// The typing filter: `typed` entered at the end of `text` character by
// character (UTF-8), each refused that is not a digit in a digits-only box or
// that finds the box at its maximum length.
Typed TypeInto(const ControlDefinition& box, std::string text, std::string_view typed);

// Whether a user could have typed all of `text` into the empty box: the test a
// window applies to the whole text when it sees only the result of an edit.
bool CouldBeTyped(const ControlDefinition& box, std::string_view text);

}  // namespace ui
