#include "app/console.h"

#include <charconv>
#include <chrono>
#include <exception>
#include <istream>
#include <ostream>
#include <system_error>

#include "app/program.h"
#include "base/codepage.h"

namespace app {
namespace {

using base::Error;
using base::Ok;
using base::Result;
using base::Status;

// A wait longer than a day is a typo; with the one-second timers running it
// would also tick for hours of real time.
constexpr long long kMaxWaitMs = 24LL * 60 * 60 * 1000;

Result<long long> Number(std::string_view what, std::string_view text) {
  long long value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
    return Error{std::string(what) + " is not a number: " + std::string(text)};
  }
  return value;
}

Result<int> Int(std::string_view what, std::string_view text) {
  auto value = Number(what, text);
  if (!value) return value.error();
  if (value.value() < -2147483647LL || value.value() > 2147483647LL) {
    return Error{std::string(what) + " is out of range: " + std::string(text)};
  }
  return static_cast<int>(value.value());
}

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

}  // namespace

std::string EscapeText(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '\n':
        escaped += "\\n";
        break;
      case '\r':
        escaped += "\\r";
        break;
      case '\t':
        escaped += "\\t";
        break;
      case '\\':
        escaped += "\\\\";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

Result<std::string> UnescapeText(std::string_view text) {
  std::string plain;
  plain.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      plain += text[i];
      continue;
    }
    if (++i == text.size()) return Error{"text ends in a lone backslash"};
    switch (text[i]) {
      case 'n':
        plain += '\n';
        break;
      case 'r':
        plain += '\r';
        break;
      case 't':
        plain += '\t';
        break;
      case '\\':
        plain += '\\';
        break;
      default:
        return Error{std::string("unknown escape \\") + text[i]};
    }
  }
  return plain;
}

Console::Console(ui::MemoryWindow& window, std::ostream& out) : window_(window), out_(out) {
  DefineCommands();
}

Status Console::Answer(std::string_view text) {
  out_ << EscapeText(text) << '\n' << std::flush;
  return Ok{};
}

Status Console::RequireControl(std::string_view name) const {
  if (!window_.HasControl(std::string(name))) return Error{"unknown control: " + std::string(name)};
  return Ok{};
}

void Console::DefineCommands() {
  auto& w = window_;
  // Each query names a control first; `named` checks it exists before the
  // command runs, so a typo reads as such rather than as the window's error.
  auto named = [this](std::function<Status(const std::string&, const Args&)> run) {
    return [this, run = std::move(run)](const Args& args) -> Status {
      std::string name(args[0]);
      if (auto exists = RequireControl(name); !exists) return exists;
      return run(name, args);
    };
  };
  auto flag = [](bool value) { return value ? "1" : "0"; };

  // Queries.
  commands_["text"] = {{"NAME"}, false, named([this, &w](const std::string& n, const Args&) {
                         return Answer(w.Text(n));
                       })};
  commands_["checked"] = {
      {"NAME"}, false, named([this, &w, flag](const std::string& n, const Args&) {
        return Answer(flag(w.Checked(n)));
      })};
  commands_["index"] = {{"NAME"}, false, named([this, &w](const std::string& n, const Args&) {
                          return Answer(std::to_string(w.CurrentIndex(n)));
                        })};
  commands_["items"] = {{"NAME"}, false, named([this, &w](const std::string& n, const Args&) {
                          std::vector<std::string> items;
                          for (int i = 0, count = w.ItemCount(n); i < count; ++i) {
                            items.push_back(w.ItemText(n, i));
                          }
                          return Answer(Join(items, '\t'));
                        })};
  commands_["count"] = {
      {"NAME"}, false, named([this, &w](const std::string& n, const Args&) -> Status {
        switch (w.KindOf(n)) {
          case ui::ControlKind::ComboBox:
            return Answer(std::to_string(w.ItemCount(n)));
          case ui::ControlKind::ListView:
            return Answer(std::to_string(w.RowCount(n)));
          default:
            return Error{n + " is neither a combo box nor a list view"};
        }
      })};
  commands_["cell"] = {{"NAME", "ROW", "COL"},
                       false,
                       named([this, &w](const std::string& n, const Args& a) -> Status {
                         auto row = Int("ROW", a[1]);
                         if (!row) return row.error();
                         auto column = Int("COL", a[2]);
                         if (!column) return column.error();
                         return Answer(w.Cell(n, row.value(), column.value()));
                       })};
  commands_["currentrow"] = {{"NAME"}, false, named([this, &w](const std::string& n, const Args&) {
                               return Answer(std::to_string(w.CurrentRow(n)));
                             })};
  commands_["enabled"] = {
      {"NAME"}, false, named([this, &w, flag](const std::string& n, const Args&) {
        return Answer(flag(w.Enabled(n)));
      })};
  commands_["selected"] = {
      {"NAME"}, false, named([this, &w, flag](const std::string& n, const Args&) {
        return Answer(flag(w.Selected(n)));
      })};
  commands_["page"] = {{"NAME"}, false, named([this, &w](const std::string& n, const Args&) {
                         return Answer(std::to_string(w.CurrentPage(n)));
                       })};
  commands_["interval"] = {{"NAME"}, false, named([this, &w](const std::string& n, const Args&) {
                             return Answer(std::to_string(w.Interval(n)));
                           })};
  commands_["address"] = {{"NAME"}, false, named([this, &w](const std::string& n, const Args&) {
                            return Answer(w.Address(n));
                          })};
  commands_["picture"] = {{"NAME"}, false, named([this, &w](const std::string& n, const Args&) {
                            auto picture = w.PictureOf(n);
                            return Answer(picture.digit == ui::Picture::kPlaceholder
                                              ? std::string("placeholder")
                                              : "digit:" + std::to_string(picture.digit));
                          })};
  commands_["clipboard"] = {
      {}, false, [this, &w](const Args&) { return Answer(w.ClipboardText().value_or("")); }};
  commands_["lastmessage"] = {
      {}, false, [this, &w](const Args&) {
        const auto& messages = w.Messages();
        if (messages.empty()) return Answer("");
        return Answer(messages.back().caption + '\t' + messages.back().text);
      }};
  commands_["now"] = {{}, false, [this, &w](const Args&) { return Answer(FormatClock(w.Now())); }};

  // Actions.
  auto text = [](std::string_view raw) { return UnescapeText(raw); };
  commands_["set"] = {
      {"NAME", "TEXT"}, true, named([&w, text](const std::string& n, const Args& a) -> Status {
        auto value = text(a[1]);
        if (!value) return value.error();
        w.SetText(n, value.value());
        return Ok{};
      })};
  commands_["type"] = {
      {"NAME", "TEXT"}, true, named([&w, text](const std::string& n, const Args& a) -> Status {
        auto value = text(a[1]);
        if (!value) return value.error();
        w.Type(n, value.value());  // refused characters are the box's rule
        return Ok{};
      })};
  commands_["check"] = {
      {"NAME", "0|1"}, false, named([&w](const std::string& n, const Args& a) -> Status {
        if (a[1] != "0" && a[1] != "1") {
          return Error{"check wants 0 or 1, not " + std::string(a[1])};
        }
        w.SetChecked(n, a[1] == "1");
        return Ok{};
      })};
  commands_["select"] = {
      {"NAME", "INDEX"}, false, named([&w](const std::string& n, const Args& a) -> Status {
        auto index = Int("INDEX", a[1]);
        if (!index) return index.error();
        w.SetCurrentIndex(n, index.value());
        return Ok{};
      })};
  commands_["additem"] = {
      {"NAME", "TEXT"}, true, named([&w, text](const std::string& n, const Args& a) -> Status {
        auto value = text(a[1]);
        if (!value) return value.error();
        w.AddItem(n, value.value());
        return Ok{};
      })};
  commands_["clearitems"] = {{"NAME"}, false, named([&w](const std::string& n, const Args&) {
                               w.ClearItems(n);
                               return Status(Ok{});
                             })};
  commands_["insert"] = {{"NAME", "POS", "CELLS"},
                         true,
                         named([&w, text](const std::string& n, const Args& a) -> Status {
                           auto position = Int("POS", a[1]);
                           if (!position) return position.error();
                           auto value = text(a[2]);
                           if (!value) return value.error();
                           if (w.KindOf(n) != ui::ControlKind::ListView)
                             return Error{n + " is not a list view"};
                           auto cells = Split(value.value(), '\t');
                           // Check the width first, so a bad row is refused whole.
                           const auto* entry = ui::FindControl(n);
                           if (entry && cells.size() > entry->columns.size()) {
                             return Error{n + " has " + std::to_string(entry->columns.size()) +
                                          " columns, not " + std::to_string(cells.size())};
                           }
                           int row = w.InsertRow(n, position.value());
                           for (std::size_t column = 0; column < cells.size(); ++column) {
                             w.SetCell(n, row, static_cast<int>(column), cells[column]);
                           }
                           return Ok{};
                         })};
  commands_["deleterows"] = {{"NAME"}, false, named([&w](const std::string& n, const Args&) {
                               w.DeleteAllRows(n);
                               return Status(Ok{});
                             })};
  commands_["setrow"] = {
      {"NAME", "ROW"}, false, named([&w](const std::string& n, const Args& a) -> Status {
        auto row = Int("ROW", a[1]);
        if (!row) return row.error();
        w.SetCurrentRow(n, row.value());
        return Ok{};
      })};
  commands_["click"] = {{"NAME"}, false, named([&w](const std::string& n, const Args&) {
                          w.Click(n);
                          return Status(Ok{});
                        })};
  commands_["event"] = {
      {"NAME", "EVENT"}, false, named([&w](const std::string& n, const Args& a) -> Status {
        std::string_view event = a[1];
        std::string_view argument;
        if (auto space = event.find(' '); space != std::string_view::npos) {
          argument = event.substr(space + 1);
          event = event.substr(0, space);
        }
        if (event == "progress") {
          auto percent = Int("N", argument);
          if (!percent) return percent.error();
          w.Fire(n, ui::Event::Progress, percent.value());
          return Ok{};
        }
        ui::Event kind;
        if (event == "rowclick") {
          kind = ui::Event::RowClick;
        } else if (event == "activate") {
          kind = ui::Event::RowActivate;
        } else {
          return Error{"unknown event: " + std::string(event) +
                       " (progress N, rowclick, activate)"};
        }
        if (event.size() != a[1].size()) return Error{std::string(event) + " takes no argument"};
        w.Fire(n, kind);
        return Ok{};
      })};
  commands_["tick"] = {{"NAME"}, false, named([&w](const std::string& n, const Args&) -> Status {
                         if (w.KindOf(n) != ui::ControlKind::Timer)
                           return Error{n + " is not a timer"};
                         w.Tick(n);
                         return Ok{};
                       })};
  commands_["setpage"] = {
      {"NAME", "INDEX"}, false, named([&w](const std::string& n, const Args& a) -> Status {
        auto page = Int("INDEX", a[1]);
        if (!page) return page.error();
        w.SetCurrentPage(n, page.value());
        return Ok{};
      })};
  commands_["setclipboard"] = {{"TEXT"}, true, [&w, text](const Args& a) -> Status {
                                 auto value = text(a[0]);
                                 if (!value) return value.error();
                                 w.SetClipboardText(value.value());
                                 return Ok{};
                               }};
  commands_["clock"] = {{"YYYY-MM-DDTHH:MM:SS"}, false, [&w](const Args& a) -> Status {
                          auto time = ParseClock(a[0]);
                          if (!time)
                            return Error{"not a time YYYY-MM-DDTHH:MM:SS: " + std::string(a[0])};
                          w.SetClock(*time);
                          return Ok{};
                        }};
  commands_["wait"] = {{"MS"}, false, [&w](const Args& a) -> Status {
                         auto ms = Number("MS", a[0]);
                         if (!ms) return ms.error();
                         if (ms.value() < 0 || ms.value() > kMaxWaitMs) {
                           return Error{"MS must be 0 to " + std::to_string(kMaxWaitMs)};
                         }
                         w.AdvanceClock(std::chrono::milliseconds(ms.value()));
                         return Ok{};
                       }};
  commands_["quit"] = {{}, false, [this](const Args&) -> Status {
                         quit_ = true;
                         return Ok{};
                       }};
}

base::Result<Console::ParsedLine> Console::Parse(std::string_view line) const {
  if (!base::IsValidUtf8(line)) return Error{"the line is not UTF-8"};
  auto space = line.find(' ');
  auto word = line.substr(0, space);
  auto found = commands_.find(word);
  if (found == commands_.end()) return Error{"unknown command: " + std::string(word)};
  const Command& command = found->second;

  std::string_view rest =
      space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
  bool hasRest = space != std::string_view::npos;
  ParsedLine parsed{word, {}};
  for (std::size_t i = 0; i < command.params.size(); ++i) {
    bool last = i + 1 == command.params.size();
    if (!hasRest) {
      if (last && command.textMayBeOmitted) {
        parsed.args.emplace_back();
        continue;
      }
      std::string usage(word);
      for (auto param : command.params) usage += " " + std::string(param);
      return Error{"usage: " + usage};
    }
    if (last) {
      parsed.args.push_back(rest);
      break;
    }
    auto next = rest.find(' ');
    parsed.args.push_back(rest.substr(0, next));
    hasRest = next != std::string_view::npos;
    rest = hasRest ? rest.substr(next + 1) : std::string_view();
  }
  if (command.params.empty() && hasRest) return Error{std::string(word) + " takes no argument"};
  return parsed;
}

bool Console::Execute(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.empty()) return !quit_;

  auto run = [&]() -> Status {
    auto parsed = Parse(line);
    if (!parsed) return parsed.error();
    try {
      return commands_.find(parsed.value().word)->second.run(parsed.value().args);
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

int Console::Run(std::istream& in) {
  std::string line;
  while (!quit_ && std::getline(in, line)) Execute(line);
  return failed_ ? 1 : 0;
}

int RunConsoleSession(const Options& options, std::istream& in, std::ostream& out) {
  // The window outlives the program state that refers to it.
  ui::MemoryWindow window;
  if (options.clock) window.SetClock(*options.clock);
  Program program(options.dataDir, std::filesystem::current_path());
  Console console(window, out);
  program.Start(window, !options.noStart);
  return console.Run(in);
}

}  // namespace app
