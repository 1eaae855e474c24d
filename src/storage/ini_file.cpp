#include "storage/ini_file.h"

#include <algorithm>
#include <system_error>
#include <utility>
#include <vector>

#include "base/atomic_file.h"
#include "base/codepage.h"

namespace storage {
namespace {

// Hand-edited files can be large; the program's own are a few hundred bytes.
constexpr std::size_t kMaxIniBytes = 4 * 1024 * 1024;

enum class CodePage { Gbk, Utf8 };

// UTF-8 when the file holds UTF-8 beyond ASCII; otherwise GBK, also for a new
// or plain ASCII file, as older installations write them.
CodePage CodePageOf(std::string_view bytes) {
  const bool beyondAscii =
      std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
  return beyondAscii && base::IsValidUtf8(bytes) ? CodePage::Utf8 : CodePage::Gbk;
}

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

// One line without its end ("\r\n", "\n", or nothing for a last line
// without a line break).
struct Line {
  std::string_view text;
  std::string_view end;
};

std::vector<Line> SplitLines(std::string_view content) {
  std::vector<Line> lines;
  while (!content.empty()) {
    auto end = content.find('\n');
    if (end == std::string_view::npos) {
      lines.push_back({content, {}});
      break;
    }
    Line line{content.substr(0, end), content.substr(end, 1)};
    if (!line.text.empty() && line.text.back() == '\r') {
      line.text.remove_suffix(1);
      line.end = content.substr(end - 1, 2);
    }
    lines.push_back(line);
    content.remove_prefix(end + 1);
  }
  return lines;
}

// The first `c` of text. In GBK the second byte of a character can look like
// "[" or "]", so characters are stepped over whole.
std::size_t FindAscii(std::string_view text, char c, CodePage codePage) {
  if (codePage == CodePage::Utf8) return text.find(c);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x81 && byte <= 0xFE) {
      ++i;
    } else if (text[i] == c) {
      return i;
    }
  }
  return std::string_view::npos;
}

std::optional<std::string_view> SectionName(std::string_view line, CodePage codePage) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  auto close = FindAscii(line, ']', codePage);
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

struct KeyLine {
  std::string_view key;
  std::string_view value;
};

// "=", ";" and "#" never occur inside a GBK or UTF-8 character.
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

// A file being edited: each line's bytes and its own line end.
struct EditLine {
  std::string text;
  std::string end;
};

std::vector<EditLine> EditLines(std::string_view content) {
  std::vector<EditLine> lines;
  for (const Line& line : SplitLines(content)) {
    lines.push_back({std::string(line.text), std::string(line.end)});
  }
  return lines;
}

std::string Join(const std::vector<EditLine>& lines) {
  std::string joined;
  for (const auto& line : lines) joined.append(line.text).append(line.end);
  return joined;
}

// New lines end as the file's lines do; CR LF in a file without any.
std::string LineEndOf(const std::vector<EditLine>& lines) {
  for (const auto& line : lines) {
    if (!line.end.empty()) return line.end;
  }
  return "\r\n";
}

// Sets key in section (all three in the file's code page), touching no other
// line but the one before an inserted line when it lacked a line end.
void SetKey(std::vector<EditLine>& lines, std::string_view section, std::string_view key,
            std::string_view value, CodePage codePage) {
  const std::string newLine = std::string(key) + "=" + std::string(value);
  std::optional<std::size_t> sectionStart;
  std::optional<std::size_t> lastEntry;  // a new key goes after the section's last non-blank line
  std::optional<std::size_t> replace;
  bool inSection = false;
  for (std::size_t i = 0; i < lines.size() && !replace; ++i) {
    if (auto name = SectionName(lines[i].text, codePage)) {
      if (inSection) break;
      inSection = EqualNoCase(*name, section);
      if (inSection) {
        sectionStart = i;
        lastEntry = i;
      }
      continue;
    }
    if (!inSection) continue;
    if (!Trim(lines[i].text).empty()) lastEntry = i;
    if (auto entry = ParseKeyLine(lines[i].text); entry && EqualNoCase(entry->key, key)) {
      replace = i;
    }
  }

  if (replace) {
    lines[*replace].text = newLine;
    return;
  }
  const std::string end = LineEndOf(lines);
  auto insertAt = [&](std::size_t at, std::string text) {
    if (at > 0 && lines[at - 1].end.empty()) lines[at - 1].end = end;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), EditLine{std::move(text), end});
  };
  if (sectionStart) {
    insertAt(*lastEntry + 1, newLine);
  } else {
    // Appended piecewise: GCC 12 at -O3 warns falsely on "[" + std::string.
    std::string header = "[";
    header.append(section).append("]");
    insertAt(lines.size(), std::move(header));
    insertAt(lines.size(), newLine);
  }
}

// What is there now (nothing for a new file); an error for a file we must not
// replace because its content could not be carried over.
base::Result<std::string> ReadForRewrite(const std::filesystem::path& file) {
  std::error_code ec;
  const auto status = std::filesystem::status(file, ec);
  if (!std::filesystem::exists(status)) {
    if (ec && ec != std::errc::no_such_file_or_directory) {
      return base::Error{"无法读取：" + ec.message()};
    }
    return std::string();
  }
  if (!std::filesystem::is_regular_file(status)) return base::Error{"它不是普通文件"};
  const auto size = std::filesystem::file_size(file, ec);
  if (!ec && size > kMaxIniBytes) {
    return base::Error{"文件大于 4 MB，为免丢失其中的内容，不予改写"};
  }
  auto bytes = base::ReadSmallFile(file, kMaxIniBytes);
  if (!bytes) return base::Error{"无法读取：" + bytes.error().message};
  return std::move(bytes.value());
}

// The entry's three texts in the file's code page, or why they cannot be.
base::Result<IniEntry> Encoded(const IniEntry& entry, CodePage codePage) {
  const std::string name = "[" + entry.section + "] " + entry.key;
  // A line break would turn the rest of the value into lines of their own:
  // new keys, even new sections, on the next read.
  for (const std::string* text : {&entry.section, &entry.key, &entry.value}) {
    if (text->find_first_of("\r\n") != std::string::npos) {
      return base::Error{name + " 含有换行，不能写入"};
    }
  }
  if (codePage == CodePage::Utf8) return entry;
  auto section = base::Utf8ToGbk(entry.section);
  auto key = base::Utf8ToGbk(entry.key);
  auto value = base::Utf8ToGbk(entry.value);
  if (!section || !key || !value) return base::Error{name + " 含有 GBK 无法表示的字符，不能写入"};
  return IniEntry{*section, *key, *value};
}

}  // namespace

std::optional<std::string> FindIniKey(std::string_view content, std::string_view section,
                                      std::string_view key) {
  bool inSection = false;
  for (const Line& line : SplitLines(content)) {
    if (auto name = SectionName(line.text, CodePage::Utf8)) {
      inSection = EqualNoCase(*name, section);
      continue;
    }
    if (!inSection) continue;
    if (auto entry = ParseKeyLine(line.text); entry && EqualNoCase(entry->key, key)) {
      return Unquote(entry->value);
    }
  }
  return std::nullopt;
}

std::string LookupIniKey(std::string_view content, std::string_view section, std::string_view key,
                         std::string_view fallback) {
  return FindIniKey(content, section, key).value_or(std::string(fallback));
}

std::string SetIniKey(std::string_view content, std::string_view section, std::string_view key,
                      std::string_view value) {
  auto lines = EditLines(content);
  SetKey(lines, section, key, value, CodePage::Utf8);
  return Join(lines);
}

std::string ReadIniKey(const std::filesystem::path& file, std::string_view section,
                       std::string_view key, std::string_view fallback) {
  auto bytes = base::ReadSmallFile(file, kMaxIniBytes);
  if (!bytes) return std::string(fallback);
  return LookupIniKey(base::DecodeGbkOrUtf8(bytes.value()), section, key, fallback);
}

base::Status WriteIniKeys(const std::filesystem::path& file, std::span<const IniEntry> entries) {
  auto current = ReadForRewrite(file);
  if (!current) return current.error();
  const CodePage codePage = CodePageOf(current.value());
  auto lines = EditLines(current.value());
  std::string refused;
  bool changed = false;
  for (const IniEntry& entry : entries) {
    auto encoded = Encoded(entry, codePage);
    if (!encoded) {
      refused += (refused.empty() ? "" : "；") + encoded.error().message;
      continue;
    }
    SetKey(lines, encoded.value().section, encoded.value().key, encoded.value().value, codePage);
    changed = true;
  }
  if (changed) {
    auto written = base::WriteFileAtomically(file, Join(lines));
    if (!written) return base::Error{"无法写入：" + written.error().message};
  }
  if (!refused.empty()) return base::Error{refused};
  return base::Ok{};
}

base::Status WriteIniKey(const std::filesystem::path& file, std::string_view section,
                         std::string_view key, std::string_view value) {
  const IniEntry entry{std::string(section), std::string(key), std::string(value)};
  return WriteIniKeys(file, std::span(&entry, 1));
}

}  // namespace storage
