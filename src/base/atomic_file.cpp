#include "base/atomic_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <random>

namespace base {
namespace {

Error SystemError(const std::string& what, const std::filesystem::path& path) {
  return Error{what + " " + path.string() + ": " + std::strerror(errno)};
}

bool WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    ssize_t n = ::write(fd, content.data(), content.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    content.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

std::filesystem::path TemporaryBeside(const std::filesystem::path& path) {
  std::random_device seed;
  auto name = path.filename().string() + ".tmp" + std::to_string(::getpid()) + "-" +
              std::to_string(seed() % 1000000);
  return path.parent_path() / name;
}

// A writer killed between create and rename leaves its temporary behind; the
// pid in the name tells whether that writer is gone.
void RemoveOrphanedTemporaries(const std::filesystem::path& path) {
  const std::string prefix = path.filename().string() + ".tmp";
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(path.parent_path(), ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(prefix, 0) != 0) continue;
    const auto dash = name.find('-', prefix.size());
    if (dash == std::string::npos || dash == prefix.size()) continue;
    const std::string pidText = name.substr(prefix.size(), dash - prefix.size());
    if (pidText.find_first_not_of("0123456789") != std::string::npos || pidText.size() > 9)
      continue;
    const pid_t pid = static_cast<pid_t>(std::stol(pidText));
    if (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH) {
      std::filesystem::remove(entry.path(), ec);
    }
  }
}

Status WriteReplacing(const std::filesystem::path& path, std::string_view content,
                      std::optional<std::filesystem::perms> permissions) {
  auto temporary = TemporaryBeside(path);
  int fd =
      ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, permissions ? 0600 : 0644);
  if (fd < 0) return SystemError("cannot create", temporary);
  bool written = (!permissions || ::fchmod(fd, static_cast<mode_t>(*permissions)) == 0) &&
                 WriteAll(fd, content) && ::fsync(fd) == 0;
  int savedErrno = errno;
  ::close(fd);
  if (!written) {
    ::unlink(temporary.c_str());
    errno = savedErrno;
    return SystemError("cannot write", temporary);
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    savedErrno = errno;
    ::unlink(temporary.c_str());
    errno = savedErrno;
    return SystemError("cannot replace", path);
  }
  RemoveOrphanedTemporaries(path);
  return Ok{};
}

}  // namespace

Status WriteFileAtomically(const std::filesystem::path& path, std::string_view content) {
  return WriteReplacing(path, content, std::nullopt);
}

Status WriteFileAtomically(const std::filesystem::path& path, std::string_view content,
                           std::filesystem::perms permissions) {
  return WriteReplacing(path, content, permissions & std::filesystem::perms::mask);
}

Result<std::string> ReadSmallFile(const std::filesystem::path& path, std::size_t maxBytes) {
  std::error_code ec;
  auto status = std::filesystem::status(path, ec);
  if (ec || !std::filesystem::exists(status)) return Error{"no file " + path.string()};
  if (!std::filesystem::is_regular_file(status)) return Error{"not a file " + path.string()};
  auto size = std::filesystem::file_size(path, ec);
  if (ec) return Error{"cannot read " + path.string()};
  if (size > maxBytes) return Error{"file too large " + path.string()};
  std::ifstream in(path, std::ios::binary);
  if (!in) return SystemError("cannot open", path);
  std::string content(size, '\0');
  in.read(content.data(), static_cast<std::streamsize>(size));
  content.resize(static_cast<size_t>(in.gcount()));
  return content;
}

}  // namespace base
