#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/result.h"

namespace storage {

// INI files the way older installations expect them: GBK with CR LF on disk,
// GBK or UTF-8 accepted on read, section and key names compared without
// regard to ASCII case. Values are UTF-8 here.

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
