#include "app/console_line.h"

#include <charconv>
#include <system_error>

namespace app {

using base::Error;
using base::Result;

std::string_view CommandWord(std::string_view line) { return line.substr(0, line.find(' ')); }

Result<ParsedLine> CutLine(std::string_view line, const ArgumentShape& shape) {
  auto space = line.find(' ');
  ParsedLine parsed{line.substr(0, space), {}};
  bool hasRest = space != std::string_view::npos;
  std::string_view rest = hasRest ? line.substr(space + 1) : std::string_view();
  for (std::size_t i = 0; i < shape.params.size(); ++i) {
    bool last = i + 1 == shape.params.size();
    if (!hasRest) {
      if (last && shape.textMayBeOmitted) {
        parsed.args.emplace_back();
        continue;
      }
      std::string usage(parsed.word);
      for (auto param : shape.params) usage += " " + std::string(param);
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
  if (shape.params.empty() && hasRest) {
    return Error{std::string(parsed.word) + " takes no argument"};
  }
  return parsed;
}

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
      case '\0':
        // A NUL would end the answer line for many readers.
        escaped += "\\0";
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
      case '0':
        plain += '\0';
        break;
      default:
        return Error{std::string("unknown escape \\") + text[i]};
    }
  }
  return plain;
}

Result<long long> NumberArgument(std::string_view what, std::string_view text) {
  long long value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
    return Error{std::string(what) + " is not a number: " + std::string(text)};
  }
  return value;
}

Result<int> IntArgument(std::string_view what, std::string_view text) {
  auto value = NumberArgument(what, text);
  if (!value) return value.error();
  if (value.value() < -2147483647LL || value.value() > 2147483647LL) {
    return Error{std::string(what) + " is out of range: " + std::string(text)};
  }
  return static_cast<int>(value.value());
}

}  // namespace app
