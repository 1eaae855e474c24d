#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "base/result.h"
#include "ui/window.h"

namespace ui {

// A window that a script drives as a user would: the console runs the same
// commands on the window in memory and on the one on screen.
class DrivenWindow : public Window {
 public:
  struct Message {
    std::string caption;
    std::string text;
  };

  // Click toggles an image button of toggle style, flips a check box or
  // checks a radio box (unchecking its group) and then runs the Click
  // handler; a disabled control ignores the click.
  virtual void Click(const std::string& name) = 0;
  // Types the text at the end of an edit box character by character, obeying
  // digits-only and the maximum length. False if any character was refused.
  virtual bool Type(const std::string& name, const std::string& text) = 0;
  // Selects the combo box's item and, unless the box is disabled, runs the
  // ItemChosen handler, as a user's choice in the list does.
  virtual void Choose(const std::string& name, int index) = 0;
  // Flips a row's check box to `checked` and runs the RowCheck handler, as a
  // user's click on the box does.
  virtual void CheckRow(const std::string& name, int row, bool checked) = 0;
  // Runs the handler bound to (name, event), if any.
  virtual void Fire(const std::string& name, Event event, int arg = 0) = 0;
  // Runs the timer's Tick handler once, whether the timer runs or not.
  virtual void Tick(const std::string& timer) = 0;

  // The clock continues from `now` with real time.
  virtual void SetClock(LocalTime now) = 0;
  // Moves the clock forward, ticking the running timers as they fall due.
  virtual void AdvanceClock(std::chrono::milliseconds duration) = 0;

  virtual const std::vector<Message>& Messages() const = 0;

  // Saves a PNG of the whole window; an error where there is no picture.
  virtual base::Status Grab(const std::filesystem::path& file) = 0;
};

}  // namespace ui
