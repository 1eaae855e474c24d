#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"

namespace storage {

// The one INI layer. Every INI file reads its lines the same way: a section
// header is "[name]" (the name reaching to the line's last "]"), a key line
// "key = value", a line starting with ";" or "#" a comment; names and values
// are trimmed of blanks. A UTF-8 byte-order mark before the first line is no
// part of it.

// Which bytes a text holds: in GBK the second byte of a character can look
// like "]", so characters are stepped over whole.
enum class IniBytes { Utf8, Gbk };

// One line as it lies there, and what it says.
struct IniLine {
  std::string_view text;                    // without its line end
  std::string_view end;                     // "\r\n", "\n", or empty for a last line without one
  std::optional<std::string_view> section;  // a section header's name
  std::string_view key;                     // a key line's key; empty on any other line
  std::string_view value;                   // and its value
};

// The lines of an INI text, each a view into it. Every byte of the text is in
// exactly one line's text or end, so the text can be written back as it was
// with only the lines a writer means to change changed.
std::vector<IniLine> SplitIniLines(std::string_view content, IniBytes bytes = IniBytes::Utf8);

// The settings files (sz.ini, gs.ini) the way older installations expect
// them: GBK with CR LF on disk, GBK or UTF-8 accepted on read, section and
// key names compared without regard to ASCII case, a value in quotes read
// without them. Values are UTF-8 here.

// The value of key in section, or fallback when the file, the section or the
// key is missing or the file cannot be read.
std::string ReadIniKey(const std::filesystem::path& file, std::string_view section,
                       std::string_view key, std::string_view fallback);

// One key to set: its section, its name and its value (UTF-8).
struct IniEntry {
  std::string section;
  std::string key;
  std::string value;
};

// Sets every entry in one atomic replace of the file, creating the file and
// its sections when needed. Each line the entries do not set stays byte for
// byte as it was; a UTF-8 file stays UTF-8, any other is written in GBK. An
// entry that cannot be stored (a line break, a character the file's code
// page lacks) is left out and named in the error, while the others are still
// written. The error says why, in words the user can be shown; on any error
// other than such entries the file is left as it was.
base::Status WriteIniKeys(const std::filesystem::path& file, std::span<const IniEntry> entries);

// WriteIniKeys with one entry.
base::Status WriteIniKey(const std::filesystem::path& file, std::string_view section,
                         std::string_view key, std::string_view value);

// The same reading and editing on INI text held in memory (UTF-8).
std::optional<std::string> FindIniKey(std::string_view content, std::string_view section,
                                      std::string_view key);
std::string LookupIniKey(std::string_view content, std::string_view section, std::string_view key,
                         std::string_view fallback);
std::string SetIniKey(std::string_view content, std::string_view section, std::string_view key,
                      std::string_view value);

}  // namespace storage
