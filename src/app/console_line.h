#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace app {

using Args = std::vector<std::string_view>;

// How a console command takes its arguments: one per parameter, each up to
// the next blank and the last to the end of the line.
struct ArgumentShape {
  std::vector<std::string_view> params;
  bool textMayBeOmitted = false;  // "set NAME" sets the empty text
};

// A line cut as its command reads it. Views into the line.
struct ParsedLine {
  std::string_view word;
  Args args;
};

// The command word: the line up to its first blank.
std::string_view CommandWord(std::string_view line);

// Cuts the arguments of `line` (without its line break) for a command of this
// shape, or says how the command is called.
base::Result<ParsedLine> CutLine(std::string_view line, const ArgumentShape& shape);

// The console's escapes \n \r \t and \\ in texts and answers.
std::string EscapeText(std::string_view text);
base::Result<std::string> UnescapeText(std::string_view text);

// Numbers in arguments; `what` names the parameter in the error.
base::Result<long long> NumberArgument(std::string_view what, std::string_view text);
base::Result<int> IntArgument(std::string_view what, std::string_view text);

}  // namespace app
