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

#include "base/text.h"

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

bool AllDigits(std::string_view text, std::size_t most) {
  return text.size() <= most && IsDigits(text);
}

// The writer's pid in a temporary's name "<file>.tmp<pid>-<n>", 0 for any
// other name; `file` receives the name of the file it was meant to replace.
pid_t WriterOfTemporary(const std::string& name, std::string& file) {
  const auto mark = name.rfind(".tmp");
  if (mark == std::string::npos || mark == 0) return 0;
  const auto dash = name.find('-', mark + 4);
  if (dash == std::string::npos) return 0;
  const std::string pid = name.substr(mark + 4, dash - mark - 4);
  if (!AllDigits(pid, 9) || !AllDigits(name.substr(dash + 1), 9)) return 0;
  file = name.substr(0, mark);
  return static_cast<pid_t>(std::stol(pid));
}

// A writer killed between create and rename leaves its temporary behind; the
// pid in the name tells whether that writer is gone. Only the temporaries of
// `onlyFor` when it is given.
void RemoveTemporariesOfGoneWriters(const std::filesystem::path& dir, const std::string* onlyFor) {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
    std::string file;
    const pid_t pid = WriterOfTemporary(entry.path().filename().string(), file);
    if (pid <= 0 || (onlyFor && file != *onlyFor)) continue;
    if (::kill(pid, 0) != 0 && errno == ESRCH) std::filesystem::remove(entry.path(), ec);
  }
}

// Where a write to path lands: symbolic links followed to the file they name,
// so that replacing it keeps the links (and whoever shares the file) current.
Result<std::filesystem::path> FinalTarget(std::filesystem::path path) {
  constexpr int kMostLinks = 40;
  for (int hop = 0; hop < kMostLinks; ++hop) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec))) return path;
    auto target = std::filesystem::read_symlink(path, ec);
    if (ec) return Error{"cannot follow the link " + path.string() + ": " + ec.message()};
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  errno = ELOOP;
  return SystemError("cannot follow the link", path);
}

// The replacement takes over what the old file had: its mode and, where the
// system lets us, its owner.
void TakeOverAttributes(int fd, const std::filesystem::path& old) {
  struct stat info;
  if (::stat(old.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return;
  if (::fchown(fd, info.st_uid, info.st_gid) != 0) {
    // Only root may give a file away; the mode is what matters.
  }
  if (::fchmod(fd, info.st_mode & 07777) != 0) {
    // The umask's mode then stays: the content is still saved.
  }
}

// Secrets get exactly their permissions; any other file keeps the old one's.
Status WriteReplacing(const std::filesystem::path& path, std::string_view content,
                      std::optional<std::filesystem::perms> permissions) {
  auto target = FinalTarget(path);
  if (!target) return target.error();
  const std::filesystem::path& file = target.value();
  auto temporary = TemporaryBeside(file);
  int fd =
      ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, permissions ? 0600 : 0644);
  if (fd < 0) return SystemError("cannot create", temporary);
  if (!permissions) TakeOverAttributes(fd, file);
  bool written = (!permissions || ::fchmod(fd, static_cast<mode_t>(*permissions)) == 0) &&
                 WriteAll(fd, content) && ::fsync(fd) == 0;
  int savedErrno = errno;
  ::close(fd);
  if (!written) {
    ::unlink(temporary.c_str());
    errno = savedErrno;
    return SystemError("cannot write", temporary);
  }
  if (::rename(temporary.c_str(), file.c_str()) != 0) {
    savedErrno = errno;
    ::unlink(temporary.c_str());
    errno = savedErrno;
    return SystemError("cannot replace", file);
  }
  const std::string name = file.filename().string();
  RemoveTemporariesOfGoneWriters(file.parent_path(), &name);
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

void RemoveAbandonedTemporaries(const std::filesystem::path& dir) {
  RemoveTemporariesOfGoneWriters(dir, nullptr);
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
