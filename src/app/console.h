#pragma once

#include <iosfwd>
#include <string_view>

#include "app/command_line.h"
#include "app/console_line.h"
#include "base/result.h"
#include "ui/memory_window.h"

namespace app {

// Line commands that drive the program on a MemoryWindow: queries print
// exactly one line, actions print nothing, and anything wrong prints one
// line "error: <why>" and the console goes on. Kept apart from the process
// so tests and fuzzing can drive it on streams.
class Console {
 public:
  Console(ui::MemoryWindow& window, std::ostream& out);

  // Cuts one command line (without its line break) for a known command, or
  // says why it cannot run; changes nothing.
  base::Result<ParsedLine> Parse(std::string_view line) const;
  // Runs one command line (without its line break). False once `quit` ran.
  bool Execute(std::string_view line);
  // Runs commands until `quit` or the end of the input; 1 if any failed.
  int Run(std::istream& in);

  bool failed() const { return failed_; }

 private:
  ui::MemoryWindow& window_;
  std::ostream& out_;
  bool failed_ = false;
  bool quit_ = false;
};

// `lanzhou --console`: the program on a MemoryWindow, commands from `in`.
// Returns the process exit status.
int RunConsoleSession(const Options& options, std::istream& in, std::ostream& out);

}  // namespace app
