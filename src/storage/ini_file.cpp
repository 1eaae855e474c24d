#include "storage/ini_file.h"

#include <algorithm>
#include <system_error>
#include <utility>
#include <vector>

#include "base/atomic_file.h"
#include "base/codepage.h"
#include "base/text.h"

namespace storage {
namespace {

// Hand-edited files can be large; the program's own are a few hundred bytes.
constexpr std::size_t kMaxIniBytes = 4 * 1024 * 1024;

// UTF-8 when the file holds UTF-8 beyond ASCII; otherwise GBK, also for a new
// or plain ASCII file, as older installations write them.
IniBytes BytesOf(std::string_view bytes) {
  const bool beyondAscii =
      std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
  return beyondAscii && base::IsValidUtf8(bytes) ? IniBytes::Utf8 : IniBytes::Gbk;
}

// The last "]" of text: a group named "[二]群" keeps its brackets.
std::size_t LastBracket(std::string_view text, IniBytes bytes) {
  if (bytes == IniBytes::Utf8) return text.rfind(']');
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x81 && byte <= 0xFE) {
      ++i;
    } else if (text[i] == ']') {
      found = i;
    }
  }
  return found;
}

// What the line says; "=", ";" and "#" never occur inside a GBK or UTF-8
// character.
void ReadMeaning(IniLine& line, bool first, IniBytes bytes) {
  std::string_view meaning = line.text;
  if (first && bytes == IniBytes::Utf8 && meaning.starts_with("\xEF\xBB\xBF")) {
    meaning.remove_prefix(3);
  }
  meaning = base::Trim(meaning);
  if (meaning.starts_with('[')) {
    if (const std::size_t close = LastBracket(meaning, bytes); close != std::string_view::npos) {
      line.section = base::Trim(meaning.substr(1, close - 1));
      return;
    }
  }
  if (meaning.starts_with(';') || meaning.starts_with('#')) return;
  const std::size_t equals = meaning.find('=');
  if (equals == std::string_view::npos) return;
  line.key = base::Trim(meaning.substr(0, equals));
  line.value = base::Trim(meaning.substr(equals + 1));
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

std::vector<EditLine> EditLines(const std::vector<IniLine>& split) {
  std::vector<EditLine> lines;
  for (const IniLine& line : split) {
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

// Sets key in section (all three in the text's bytes), touching no other line
// but the one before an inserted line when it lacked a line end.
std::string SetKey(std::string_view content, std::string_view section, std::string_view key,
                   std::string_view value, IniBytes bytes) {
  const std::vector<IniLine> split = SplitIniLines(content, bytes);
  std::vector<EditLine> lines = EditLines(split);
  const std::string newLine = std::string(key) + "=" + std::string(value);
  std::optional<std::size_t> sectionStart;
  std::optional<std::size_t> lastEntry;  // a new key goes after the section's last non-blank line
  std::optional<std::size_t> replace;
  bool inSection = false;
  for (std::size_t i = 0; i < split.size() && !replace; ++i) {
    if (split[i].section) {
      if (inSection) break;
      inSection = base::EqualsNoCase(*split[i].section, section);
      if (inSection) {
        sectionStart = i;
        lastEntry = i;
      }
      continue;
    }
    if (!inSection) continue;
    if (!base::Trim(split[i].text).empty()) lastEntry = i;
    if (!split[i].key.empty() && base::EqualsNoCase(split[i].key, key)) replace = i;
  }

  if (replace) {
    lines[*replace].text = newLine;
    return Join(lines);
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
  return Join(lines);
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
base::Result<IniEntry> Encoded(const IniEntry& entry, IniBytes bytes) {
  const std::string name = "[" + entry.section + "] " + entry.key;
  // A line break would turn the rest of the value into lines of their own:
  // new keys, even new sections, on the next read.
  for (const std::string* text : {&entry.section, &entry.key, &entry.value}) {
    if (text->find_first_of("\r\n") != std::string::npos) {
      return base::Error{name + " 含有换行，不能写入"};
    }
  }
  if (bytes == IniBytes::Utf8) return entry;
  auto section = base::Utf8ToGbk(entry.section);
  auto key = base::Utf8ToGbk(entry.key);
  auto value = base::Utf8ToGbk(entry.value);
  if (!section || !key || !value) return base::Error{name + " 含有 GBK 无法表示的字符，不能写入"};
  return IniEntry{*section, *key, *value};
}

}  // namespace

std::vector<IniLine> SplitIniLines(std::string_view content, IniBytes bytes) {
  std::vector<IniLine> lines;
  std::size_t at = 0;
  while (at < content.size()) {
    const std::size_t end = content.find('\n', at);
    IniLine line;
    if (end == std::string_view::npos) {
      line.text = content.substr(at);
      at = content.size();
    } else {
      const bool crlf = end > at && content[end - 1] == '\r';
      line.text = content.substr(at, end - at - (crlf ? 1 : 0));
      line.end = content.substr(end - (crlf ? 1 : 0), crlf ? 2 : 1);
      at = end + 1;
    }
    ReadMeaning(line, lines.empty(), bytes);
    lines.push_back(line);
  }
  return lines;
}

std::optional<std::string> FindIniKey(std::string_view content, std::string_view section,
                                      std::string_view key) {
  bool inSection = false;
  for (const IniLine& line : SplitIniLines(content)) {
    if (line.section) {
      inSection = base::EqualsNoCase(*line.section, section);
    } else if (inSection && !line.key.empty() && base::EqualsNoCase(line.key, key)) {
      return Unquote(line.value);
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
  return SetKey(content, section, key, value, IniBytes::Utf8);
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
  const IniBytes bytes = BytesOf(current.value());
  std::string content = std::move(current.value());
  std::string refused;
  bool changed = false;
  for (const IniEntry& entry : entries) {
    auto encoded = Encoded(entry, bytes);
    if (!encoded) {
      refused += (refused.empty() ? "" : "；") + encoded.error().message;
      continue;
    }
    content =
        SetKey(content, encoded.value().section, encoded.value().key, encoded.value().value, bytes);
    changed = true;
  }
  if (changed) {
    auto written = base::WriteFileAtomically(file, content);
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
