#pragma once

#include <array>
#include <filesystem>
#include <string_view>

#include "base/result.h"

namespace app {

// The data files the program ships with. A data directory lacking one
// receives a copy; one it holds is the user's and is never replaced.
inline constexpr std::array<std::string_view, 3> kShippedDataFiles = {"gs.ini", "gssjj.dll",
                                                                      "sources.ini"};

// Where the data may live, found from the running program and its
// environment by FindDataPlaces, or chosen by a test.
struct DataPlaces {
  std::filesystem::path programDir;    // the executable's directory
  std::filesystem::path shippedDir;    // the shipped data files
  std::filesystem::path userDataHome;  // $XDG_DATA_HOME or ~/.local/share; empty: unknown
};

DataPlaces FindDataPlaces();

// The executable's directory, or the current one when it cannot be read.
std::filesystem::path ExecutableDirectory();

// Installed, the shipped data sit in <prefix>/share/lanzhou beside
// <prefix>/bin; in a build tree or an unpacked copy, beside the program.
std::filesystem::path ShippedDataDirectory(const std::filesystem::path& programDir);

// `requested` (--data-dir) created with its parents; without it, the
// program's own directory when it is writable and keeps data files (a build
// tree, a portable copy), otherwise userDataHome/lanzhou, created. An error
// when the directory is not one or cannot be written, rather than losing
// every save without a word.
base::Result<std::filesystem::path> ResolveDataDir(const std::filesystem::path& requested,
                                                   const DataPlaces& places);

// Copies each shipped file the data directory lacks; an error names each
// one that could not be copied, and the program runs on without it.
base::Status SeedDataDir(const std::filesystem::path& dataDir,
                         const std::filesystem::path& shippedDir);

}  // namespace app
