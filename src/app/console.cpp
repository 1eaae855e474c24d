#include "app/console.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "app/program.h"
#include "base/codepage.h"
#include "ui/memory_window.h"

namespace app {
namespace {

ui::ControlKind KindOf(const std::string& name) { return ui::FindControl(name)->kind; }

using base::Error;
using base::Ok;
using base::Status;

// A wait longer than a day is a typo; with the one-second timers running it
// would also tick for hours of real time.
constexpr long long kMaxWaitMs = 24LL * 60 * 60 * 1000;

// What a command runs with.
struct Call {
  ui::DrivenWindow& window;
  std::ostream& out;
  bool& quit;
  const Args& args;
  std::string name;  // the control a command on a control names first
};

using Run = Status (*)(Call&);

struct Command {
  std::string_view word;
  ArgumentShape shape;
  Run run;
};

// Queries answer with exactly one line.
Status Answer(const Call& call, std::string_view text) {
  call.out << EscapeText(text) << '\n' << std::flush;
  return Ok{};
}

Status AnswerNumber(const Call& call, int number) { return Answer(call, std::to_string(number)); }

Status AnswerFlag(const Call& call, bool value) { return Answer(call, value ? "1" : "0"); }

std::string Join(const std::vector<std::string>& parts, char separator) {
  std::string joined;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) joined += separator;
    joined += parts[i];
  }
  return joined;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == separator) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

// Queries.

Status Text(Call& c) { return Answer(c, c.window.Text(c.name)); }

Status Checked(Call& c) { return AnswerFlag(c, c.window.Checked(c.name)); }

Status Index(Call& c) { return AnswerNumber(c, c.window.CurrentIndex(c.name)); }

Status Items(Call& c) {
  if (KindOf(c.name) == ui::ControlKind::TrendChart) {
    // A chart shows its column captions where a combo box shows items.
    std::vector<std::string> captions;
    for (const ui::Column& column : ui::FindControl(c.name)->columns) {
      captions.push_back(column.caption);
    }
    return Answer(c, Join(captions, '\t'));
  }
  std::vector<std::string> items;
  for (int i = 0, count = c.window.ItemCount(c.name); i < count; ++i) {
    items.push_back(c.window.ItemText(c.name, i));
  }
  return Answer(c, Join(items, '\t'));
}

Status Count(Call& c) {
  switch (KindOf(c.name)) {
    case ui::ControlKind::ComboBox:
      return AnswerNumber(c, c.window.ItemCount(c.name));
    case ui::ControlKind::ListView:
    case ui::ControlKind::TrendChart:
      return AnswerNumber(c, c.window.RowCount(c.name));
    default:
      return Error{c.name + " is neither a combo box nor a list view"};
  }
}

Status Cell(Call& c) {
  auto row = IntArgument("ROW", c.args[1]);
  if (!row) return row.error();
  auto column = IntArgument("COL", c.args[2]);
  if (!column) return column.error();
  return Answer(c, c.window.Cell(c.name, row.value(), column.value()));
}

Status RowChecked(Call& c) {
  auto row = IntArgument("ROW", c.args[1]);
  if (!row) return row.error();
  return AnswerFlag(c, c.window.RowChecked(c.name, row.value()));
}

Status CurrentRow(Call& c) { return AnswerNumber(c, c.window.CurrentRow(c.name)); }

Status Enabled(Call& c) { return AnswerFlag(c, c.window.Enabled(c.name)); }

Status Selected(Call& c) { return AnswerFlag(c, c.window.Selected(c.name)); }

Status Page(Call& c) { return AnswerNumber(c, c.window.CurrentPage(c.name)); }

Status Interval(Call& c) { return AnswerNumber(c, c.window.Interval(c.name)); }

Status Address(Call& c) { return Answer(c, c.window.Address(c.name)); }

Status Picture(Call& c) {
  ui::Picture picture = c.window.PictureOf(c.name);
  return Answer(c, picture.digit == ui::Picture::kPlaceholder
                       ? std::string("placeholder")
                       : "digit:" + std::to_string(picture.digit));
}

Status Clipboard(Call& c) { return Answer(c, c.window.ClipboardText().value_or("")); }

Status LastMessage(Call& c) {
  const auto& messages = c.window.Messages();
  if (messages.empty()) return Answer(c, "");
  return Answer(c, messages.back().caption + '\t' + messages.back().text);
}

Status Now(Call& c) { return Answer(c, FormatClock(c.window.Now())); }

// Actions.

Status Set(Call& c) {
  auto text = UnescapeText(c.args[1]);
  if (!text) return text.error();
  c.window.SetText(c.name, text.value());
  return Ok{};
}

Status Type(Call& c) {
  auto text = UnescapeText(c.args[1]);
  if (!text) return text.error();
  c.window.Type(c.name, text.value());  // refused characters are the box's rule
  return Ok{};
}

Status Check(Call& c) {
  if (c.args[1] != "0" && c.args[1] != "1") {
    return Error{"check wants 0 or 1, not " + std::string(c.args[1])};
  }
  c.window.SetChecked(c.name, c.args[1] == "1");
  return Ok{};
}

Status Select(Call& c) {
  auto index = IntArgument("INDEX", c.args[1]);
  if (!index) return index.error();
  c.window.Choose(c.name, index.value());
  return Ok{};
}

Status AddItem(Call& c) {
  auto text = UnescapeText(c.args[1]);
  if (!text) return text.error();
  c.window.AddItem(c.name, text.value());
  return Ok{};
}

Status ClearItems(Call& c) {
  c.window.ClearItems(c.name);
  return Ok{};
}

Status Insert(Call& c) {
  auto position = IntArgument("POS", c.args[1]);
  if (!position) return position.error();
  auto text = UnescapeText(c.args[2]);
  if (!text) return text.error();
  if (KindOf(c.name) != ui::ControlKind::ListView &&
      KindOf(c.name) != ui::ControlKind::TrendChart) {
    return Error{c.name + " is not a list view"};
  }
  auto cells = Split(text.value(), '\t');
  // Check the width first, so a bad row is refused whole.
  const auto* entry = ui::FindControl(c.name);
  if (entry && cells.size() > entry->columns.size()) {
    return Error{c.name + " has " + std::to_string(entry->columns.size()) + " columns, not " +
                 std::to_string(cells.size())};
  }
  int row = c.window.InsertRow(c.name, position.value());
  for (std::size_t column = 0; column < cells.size(); ++column) {
    c.window.SetCell(c.name, row, static_cast<int>(column), cells[column]);
  }
  return Ok{};
}

Status DeleteRows(Call& c) {
  c.window.DeleteAllRows(c.name);
  return Ok{};
}

Status SetRow(Call& c) {
  auto row = IntArgument("ROW", c.args[1]);
  if (!row) return row.error();
  c.window.SetCurrentRow(c.name, row.value());
  return Ok{};
}

Status CheckRow(Call& c) {
  auto row = IntArgument("ROW", c.args[1]);
  if (!row) return row.error();
  if (c.args[2] != "0" && c.args[2] != "1") {
    return Error{"checkrow wants 0 or 1, not " + std::string(c.args[2])};
  }
  c.window.CheckRow(c.name, row.value(), c.args[2] == "1");
  return Ok{};
}

Status Click(Call& c) {
  c.window.Click(c.name);
  return Ok{};
}

Status Event(Call& c) {
  std::string_view event = c.args[1];
  std::string_view argument;
  if (auto space = event.find(' '); space != std::string_view::npos) {
    argument = event.substr(space + 1);
    event = event.substr(0, space);
  }
  if (event == "progress") {
    auto percent = IntArgument("N", argument);
    if (!percent) return percent.error();
    c.window.Fire(c.name, ui::Event::Progress, percent.value());
    return Ok{};
  }
  if (event == "header") {
    auto column = IntArgument("COL", argument);
    if (!column) return column.error();
    c.window.Fire(c.name, ui::Event::HeaderClick, column.value());
    return Ok{};
  }
  ui::Event kind;
  if (event == "rowclick") {
    kind = ui::Event::RowClick;
  } else if (event == "activate") {
    kind = ui::Event::RowActivate;
  } else {
    return Error{"unknown event: " + std::string(event) +
                 " (progress N, header COL, rowclick, activate)"};
  }
  if (event.size() != c.args[1].size()) return Error{std::string(event) + " takes no argument"};
  c.window.Fire(c.name, kind);
  return Ok{};
}

Status Tick(Call& c) {
  if (KindOf(c.name) != ui::ControlKind::Timer) return Error{c.name + " is not a timer"};
  c.window.Tick(c.name);
  return Ok{};
}

Status SetPage(Call& c) {
  auto page = IntArgument("INDEX", c.args[1]);
  if (!page) return page.error();
  c.window.SetCurrentPage(c.name, page.value());
  return Ok{};
}

Status SetClipboard(Call& c) {
  auto text = UnescapeText(c.args[0]);
  if (!text) return text.error();
  c.window.SetClipboardText(text.value());
  return Ok{};
}

Status Clock(Call& c) {
  auto time = ParseClock(c.args[0]);
  if (!time) return Error{"not a time YYYY-MM-DDTHH:MM:SS: " + std::string(c.args[0])};
  c.window.SetClock(*time);
  return Ok{};
}

Status Wait(Call& c) {
  auto ms = NumberArgument("MS", c.args[0]);
  if (!ms) return ms.error();
  if (ms.value() < 0 || ms.value() > kMaxWaitMs) {
    return Error{"MS must be 0 to " + std::to_string(kMaxWaitMs)};
  }
  c.window.AdvanceClock(std::chrono::milliseconds(ms.value()));
  return Ok{};
}

Status Grab(Call& c) {
  auto file = UnescapeText(c.args[0]);
  if (!file) return file.error();
  return c.window.Grab(file.value());
}

Status Quit(Call& c) {
  c.quit = true;
  return Ok{};
}

constexpr bool kTextMayBeOmitted = true;

// A command whose first parameter is NAME works on a control: the name is
// checked before the command runs, so a typo reads as such rather than as the
// window's error.
const std::vector<Command>& Commands() {
  static const std::vector<Command> commands{
      // Queries.
      {"text", {{"NAME"}}, Text},
      {"checked", {{"NAME"}}, Checked},
      {"index", {{"NAME"}}, Index},
      {"items", {{"NAME"}}, Items},
      {"count", {{"NAME"}}, Count},
      {"cell", {{"NAME", "ROW", "COL"}}, Cell},
      {"rowchecked", {{"NAME", "ROW"}}, RowChecked},
      {"currentrow", {{"NAME"}}, CurrentRow},
      {"enabled", {{"NAME"}}, Enabled},
      {"selected", {{"NAME"}}, Selected},
      {"page", {{"NAME"}}, Page},
      {"interval", {{"NAME"}}, Interval},
      {"address", {{"NAME"}}, Address},
      {"picture", {{"NAME"}}, Picture},
      {"clipboard", {}, Clipboard},
      {"lastmessage", {}, LastMessage},
      {"now", {}, Now},
      // Actions.
      {"set", {{"NAME", "TEXT"}, kTextMayBeOmitted}, Set},
      {"type", {{"NAME", "TEXT"}, kTextMayBeOmitted}, Type},
      {"check", {{"NAME", "0|1"}}, Check},
      {"select", {{"NAME", "INDEX"}}, Select},
      {"additem", {{"NAME", "TEXT"}, kTextMayBeOmitted}, AddItem},
      {"clearitems", {{"NAME"}}, ClearItems},
      {"insert", {{"NAME", "POS", "CELLS"}, kTextMayBeOmitted}, Insert},
      {"deleterows", {{"NAME"}}, DeleteRows},
      {"setrow", {{"NAME", "ROW"}}, SetRow},
      {"checkrow", {{"NAME", "ROW", "0|1"}}, CheckRow},
      {"click", {{"NAME"}}, Click},
      {"event", {{"NAME", "EVENT"}}, Event},
      {"tick", {{"NAME"}}, Tick},
      {"setpage", {{"NAME", "INDEX"}}, SetPage},
      {"setclipboard", {{"TEXT"}, kTextMayBeOmitted}, SetClipboard},
      {"clock", {{"YYYY-MM-DDTHH:MM:SS"}}, Clock},
      {"wait", {{"MS"}}, Wait},
      {"grab", {{"FILE"}}, Grab},
      {"quit", {}, Quit},
  };
  return commands;
}

const Command* FindCommand(std::string_view word) {
  const auto& commands = Commands();
  auto found = std::find_if(commands.begin(), commands.end(),
                            [word](const Command& command) { return command.word == word; });
  return found == commands.end() ? nullptr : &*found;
}

Status RunCommand(const Command& command, Call& call) {
  if (!command.shape.params.empty() && command.shape.params.front() == "NAME") {
    call.name = std::string(call.args.front());
    if (ui::FindControl(call.name) == nullptr) return Error{"unknown control: " + call.name};
  }
  return command.run(call);
}

}  // namespace

Console::Console(ui::DrivenWindow& window, std::ostream& out) : window_(window), out_(out) {}

base::Result<ParsedLine> Console::Parse(std::string_view line) const {
  if (!base::IsValidUtf8(line)) return Error{"the line is not UTF-8"};
  std::string_view word = CommandWord(line);
  const Command* command = FindCommand(word);
  if (command == nullptr) return Error{"unknown command: " + std::string(word)};
  return CutLine(line, command->shape);
}

bool Console::Execute(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.empty()) return !quit_;

  auto run = [&]() -> Status {
    auto parsed = Parse(line);
    if (!parsed) return parsed.error();
    Call call{window_, out_, quit_, parsed.value().args, {}};
    try {
      return RunCommand(*FindCommand(parsed.value().word), call);
    } catch (const std::exception& e) {
      // The window refuses what does not fit the control (wrong kind, row or
      // column out of range); a handler's failure lands here as well.
      return Error{e.what()};
    }
  };

  if (auto status = run(); !status) {
    failed_ = true;
    out_ << "error: " << EscapeText(status.error().message) << '\n' << std::flush;
  }
  return !quit_;
}

int Console::Run(std::istream& in, const std::function<void()>& afterCommand) {
  std::string line;
  while (!quit_ && std::getline(in, line)) {
    Execute(line);
    if (afterCommand) afterCommand();
  }
  return failed_ ? 1 : 0;
}

int RunConsoleSession(const Options& options, ui::DrivenWindow& window, std::istream& in,
                      std::ostream& out, const std::function<void()>& afterCommand) {
  if (options.clock) window.SetClock(*options.clock);
  Program program(options.dataDir);
  Console console(window, out);
  program.Start(window, !options.noStart);
  return console.Run(in, afterCommand);
}

int RunConsoleSession(const Options& options, std::istream& in, std::ostream& out) {
  // The window outlives the program state that refers to it.
  ui::MemoryWindow window;
  return RunConsoleSession(options, window, in, out, {});
}

}  // namespace app
