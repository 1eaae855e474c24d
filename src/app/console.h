#pragma once

#include <functional>
#include <iosfwd>
#include <string_view>

#include "app/command_line.h"
#include "app/console_line.h"
#include "base/result.h"
#include "ui/driven_window.h"

namespace app {

// Line commands that drive the program on a window as a user would (the one
// in memory, or the one on screen with --qt): queries print
// exactly one line, actions print nothing, and anything wrong prints one
// line "error: <why>" and the console goes on. Kept apart from the process
// so tests and fuzzing can drive it on streams.
class Console {
 public:
  Console(ui::DrivenWindow& window, std::ostream& out);

  // Cuts one command line (without its line break) for a known command, or
  // says why it cannot run; changes nothing.
  base::Result<ParsedLine> Parse(std::string_view line) const;
  // Runs one command line (without its line break). False once `quit` ran.
  bool Execute(std::string_view line);
  // Runs commands until `quit` or the end of the input; 1 if any failed.
  // `afterCommand`, when given, runs after each command.
  int Run(std::istream& in, const std::function<void()>& afterCommand = {});

  bool failed() const { return failed_; }

 private:
  ui::DrivenWindow& window_;
  std::ostream& out_;
  bool failed_ = false;
  bool quit_ = false;
};

// `lanzhou --console`: the program on a MemoryWindow, commands from `in`.
// Returns the process exit status.
int RunConsoleSession(const Options& options, std::istream& in, std::ostream& out);

// The same session on a window made elsewhere (the Qt window of --qt):
// `afterCommand` runs after each command, to let the window catch up.
int RunConsoleSession(const Options& options, ui::DrivenWindow& window, std::istream& in,
                      std::ostream& out, const std::function<void()>& afterCommand);

}  // namespace app
