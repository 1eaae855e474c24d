#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_line.h"
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

  using Args = std::vector<std::string_view>;
  // A line cut as its command reads it: the word up to the first blank, then
  // one argument per parameter, each up to the next blank and the last to
  // the end of the line. Views into the line.
  struct ParsedLine {
    std::string_view word;
    Args args;
  };

  // Cuts one command line (without its line break) for a known command, or
  // says why it cannot run; changes nothing.
  base::Result<ParsedLine> Parse(std::string_view line) const;
  // Runs one command line (without its line break). False once `quit` ran.
  bool Execute(std::string_view line);
  // Runs commands until `quit` or the end of the input; 1 if any failed.
  int Run(std::istream& in);

  bool failed() const { return failed_; }

 private:
  struct Command {
    std::vector<std::string_view> params;  // the last runs to the end of the line
    bool textMayBeOmitted = false;         // "set NAME" sets the empty text
    std::function<base::Status(const Args&)> run;
  };

  void DefineCommands();
  base::Status Answer(std::string_view text);
  base::Status RequireControl(std::string_view name) const;

  ui::MemoryWindow& window_;
  std::ostream& out_;
  std::map<std::string, Command, std::less<>> commands_;
  bool failed_ = false;
  bool quit_ = false;
};

// The console's escapes \n \r \t and \\ in texts and answers.
std::string EscapeText(std::string_view text);
base::Result<std::string> UnescapeText(std::string_view text);

// `lanzhou --console`: the program on a MemoryWindow, commands from `in`.
// Returns the process exit status.
int RunConsoleSession(const Options& options, std::istream& in, std::ostream& out);

}  // namespace app
