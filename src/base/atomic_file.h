#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "base/result.h"

namespace base {

// Replaces the file in one step (temporary file, fsync, rename), so a crash
// leaves either the old or the new content, never a mix.
Status WriteFileAtomically(const std::filesystem::path& path, std::string_view content);

// The same for a file that holds secrets: it gets exactly these permissions,
// whatever the umask, before any content is written.
Status WriteFileAtomically(const std::filesystem::path& path, std::string_view content,
                           std::filesystem::perms permissions);

// Reads a whole regular file; an error for a missing file, a directory, an
// unreadable file or one larger than maxBytes.
Result<std::string> ReadSmallFile(const std::filesystem::path& path,
                                  std::size_t maxBytes = 16 * 1024 * 1024);

}  // namespace base
