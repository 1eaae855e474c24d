#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "base/result.h"

namespace base {

// Replaces the file in one step (temporary file, fsync, rename), so a crash
// leaves either the old or the new content, never a mix. A symbolic link is
// written through to its target, and an existing file keeps its mode.
Status WriteFileAtomically(const std::filesystem::path& path, std::string_view content);

// The same for a file that holds secrets: it gets exactly these permissions,
// whatever the umask, before any content is written.
Status WriteFileAtomically(const std::filesystem::path& path, std::string_view content,
                           std::filesystem::perms permissions);

// Removes the temporaries that writers killed before their rename left in
// dir; those of writers still running stay.
void RemoveAbandonedTemporaries(const std::filesystem::path& dir);

// Reads a whole regular file; an error for a missing file, a directory, an
// unreadable file or one larger than maxBytes.
Result<std::string> ReadSmallFile(const std::filesystem::path& path,
                                  std::size_t maxBytes = 16 * 1024 * 1024);

}  // namespace base
