#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "base/result.h"

namespace settings {

// INI files read and written one key at a time, the way older installations
// expect them: GBK with CR LF on disk, GBK or UTF-8 accepted on read, section
// and key names compared without regard to ASCII case. Values are UTF-8 here.

// The value of key in section, or fallback when the file, the section or the
// key is missing or the file cannot be read.
std::string ReadIniKey(const std::filesystem::path& file, std::string_view section,
                       std::string_view key, std::string_view fallback);

// Sets one key, keeping every other line as it was; creates the file and the
// section when needed. The file is replaced atomically. A section, key or
// value holding a line break is refused and the file left as it was.
base::Status WriteIniKey(const std::filesystem::path& file, std::string_view section,
                         std::string_view key, std::string_view value);

// The same edits on INI text held in memory (UTF-8), for tests and fuzzing.
std::string LookupIniKey(std::string_view content, std::string_view section, std::string_view key,
                         std::string_view fallback);
std::string SetIniKey(std::string_view content, std::string_view section, std::string_view key,
                      std::string_view value);

}  // namespace settings
