#include "app/data_directory.h"

#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>

#include "base/atomic_file.h"

namespace app {
namespace {

namespace fs = std::filesystem;

bool Present(const fs::path& path) {
  std::error_code ec;
  // A dangling link or an unreadable entry is still the user's.
  return fs::symlink_status(path, ec).type() != fs::file_type::not_found;
}

bool Writable(const fs::path& dir) { return access(dir.c_str(), W_OK | X_OK) == 0; }

bool KeepsData(const fs::path& dir) {
  for (std::string_view name : kShippedDataFiles) {
    if (Present(dir / name)) return true;
  }
  return false;
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

base::Result<fs::path> UsableDirectory(const fs::path& dir) {
  std::error_code ec;
  if (Present(dir) && !fs::is_directory(dir, ec)) {
    return base::Error{"data directory is not a directory: " + dir.string()};
  }
  fs::create_directories(dir, ec);
  if (ec) {
    return base::Error{"cannot create the data directory " + dir.string() + ": " + ec.message()};
  }
  if (!Writable(dir)) return base::Error{"data directory is not writable: " + dir.string()};
  return dir;
}

}  // namespace

DataPlaces FindDataPlaces() {
  DataPlaces places;
  places.programDir = ExecutableDirectory();
  places.shippedDir = ShippedDataDirectory(places.programDir);
  // A relative XDG_DATA_HOME is invalid and ignored, as the XDG base
  // directory rules say.
  const fs::path xdg = Environment("XDG_DATA_HOME");
  const fs::path home = Environment("HOME");
  if (xdg.is_absolute()) {
    places.userDataHome = xdg;
  } else if (!home.empty()) {
    places.userDataHome = home / ".local" / "share";
  }
  return places;
}

fs::path ExecutableDirectory() {
  std::error_code ec;
  auto exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return fs::current_path(ec);
  return exe.parent_path();
}

fs::path ShippedDataDirectory(const fs::path& programDir) {
  const fs::path installed = (programDir / LANZHOU_SHIPPED_DATA_FROM_BIN).lexically_normal();
  std::error_code ec;
  return fs::is_directory(installed, ec) ? installed : programDir;
}

base::Result<fs::path> ResolveDataDir(const fs::path& requested, const DataPlaces& places) {
  if (!requested.empty()) return UsableDirectory(requested);
  if (Writable(places.programDir) && KeepsData(places.programDir)) return places.programDir;
  if (places.userDataHome.empty()) {
    return base::Error{"no place for the data: set HOME or XDG_DATA_HOME, or pass --data-dir"};
  }
  return UsableDirectory(places.userDataHome / "lanzhou");
}

base::Status SeedDataDir(const fs::path& dataDir, const fs::path& shippedDir) {
  // One file that cannot be copied does not keep the others back.
  std::string failures;
  for (std::string_view name : kShippedDataFiles) {
    const fs::path source = shippedDir / name;
    const fs::path target = dataDir / name;
    if (Present(target) || !Present(source)) continue;
    auto content = base::ReadSmallFile(source);
    auto copied = content ? base::WriteFileAtomically(target, content.value())
                          : base::Status(content.error());
    if (!copied) {
      failures += (failures.empty() ? "" : "; ") + std::string("cannot copy the shipped ") +
                  std::string(name) + ": " + copied.error().message;
    }
  }
  if (!failures.empty()) return base::Error{failures};
  return base::Ok{};
}

}  // namespace app
