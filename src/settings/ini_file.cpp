#include "settings/ini_file.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "base/atomic_file.h"
#include "base/codepage.h"

namespace settings {
namespace {

// Hand-edited files can be large; the program's own are a few hundred bytes.
constexpr std::size_t kMaxIniBytes = 4 * 1024 * 1024;

std::string_view Trim(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return lower(x) == lower(y);
  });
}

std::vector<std::string_view> SplitLines(std::string_view content) {
  std::vector<std::string_view> lines;
  while (!content.empty()) {
    auto end = content.find('\n');
    if (end == std::string_view::npos) {
      lines.push_back(content);
      break;
    }
    auto line = content.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    content.remove_prefix(end + 1);
  }
  return lines;
}

std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  auto close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

struct KeyLine {
  std::string_view key;
  std::string_view value;
};

std::optional<KeyLine> ParseKeyLine(std::string_view line) {
  auto trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') return std::nullopt;
  auto equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return KeyLine{Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))};
}

std::string Unquote(std::string_view value) {
  if (value.size() >= 2 && value.front() == value.back() &&
      (value.front() == '"' || value.front() == '\'')) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

}  // namespace

std::string LookupIniKey(std::string_view content, std::string_view section, std::string_view key,
                         std::string_view fallback) {
  bool inSection = false;
  for (auto line : SplitLines(content)) {
    if (auto name = SectionName(line)) {
      inSection = EqualNoCase(*name, section);
      continue;
    }
    if (!inSection) continue;
    if (auto entry = ParseKeyLine(line); entry && EqualNoCase(entry->key, key)) {
      return Unquote(entry->value);
    }
  }
  return std::string(fallback);
}

std::string SetIniKey(std::string_view content, std::string_view section, std::string_view key,
                      std::string_view value) {
  auto lines = SplitLines(content);
  const std::string newLine = std::string(key) + "=" + std::string(value);
  std::optional<size_t> sectionStart;
  std::optional<size_t> lastEntry;  // where a new key goes: after the section's last non-blank line
  std::optional<size_t> replace;
  bool inSection = false;
  for (size_t i = 0; i < lines.size() && !replace; ++i) {
    if (auto name = SectionName(lines[i])) {
      if (inSection) break;
      inSection = EqualNoCase(*name, section);
      if (inSection) {
        sectionStart = i;
        lastEntry = i;
      }
      continue;
    }
    if (!inSection) continue;
    if (!Trim(lines[i]).empty()) lastEntry = i;
    if (auto entry = ParseKeyLine(lines[i]); entry && EqualNoCase(entry->key, key)) replace = i;
  }

  std::vector<std::string> out(lines.begin(), lines.end());
  if (replace) {
    out[*replace] = newLine;
  } else if (sectionStart) {
    out.insert(out.begin() + static_cast<std::ptrdiff_t>(*lastEntry + 1), newLine);
  } else {
    // Appended piecewise: GCC 12 at -O3 warns falsely on "[" + std::string.
    std::string header = "[";
    header.append(section).append("]");
    out.push_back(std::move(header));
    out.push_back(newLine);
  }
  std::string joined;
  for (const auto& line : out) joined.append(line).append("\r\n");
  return joined;
}

std::string ReadIniKey(const std::filesystem::path& file, std::string_view section,
                       std::string_view key, std::string_view fallback) {
  auto bytes = base::ReadSmallFile(file, kMaxIniBytes);
  if (!bytes) return std::string(fallback);
  return LookupIniKey(base::DecodeGbkOrUtf8(bytes.value()), section, key, fallback);
}

base::Status WriteIniKey(const std::filesystem::path& file, std::string_view section,
                         std::string_view key, std::string_view value) {
  // A line break would turn the rest of the value into lines of their own:
  // new keys, even new sections, on the next read.
  auto breaksLine = [](std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
  };
  if (breaksLine(section) || breaksLine(key) || breaksLine(value)) {
    return base::Error{"a line break cannot be stored in an INI file"};
  }
  std::string current;
  std::error_code ec;
  if (std::filesystem::exists(file, ec)) {
    auto bytes = base::ReadSmallFile(file, kMaxIniBytes);
    // Never replace a file we could not read: its other keys would be lost.
    if (!bytes) return bytes.error();
    current = base::DecodeGbkOrUtf8(bytes.value());
  }
  auto updated = SetIniKey(current, section, key, value);
  auto gbk = base::Utf8ToGbk(updated);
  if (!gbk) return base::Error{"text cannot be written in GBK"};
  return base::WriteFileAtomically(file, *gbk);
}

}  // namespace settings
