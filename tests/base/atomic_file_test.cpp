#include "base/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "temp_dir.h"

namespace base {
namespace {

pid_t FinishedProcessId() {
  pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

void Touch(const std::filesystem::path& path) { std::ofstream(path) << "half"; }

TEST(AtomicFile, ReplacesContentWhole) {
  TempDir dir;
  auto path = dir.path() / "sz.ini";
  ASSERT_TRUE(WriteFileAtomically(path, "old").ok());
  ASSERT_TRUE(WriteFileAtomically(path, "new").ok());
  auto read = ReadSmallFile(path);
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(read.value(), "new");
}

TEST(AtomicFile, RemovesTemporariesOfWritersThatAreGoneOnly) {
  TempDir dir;
  auto path = dir.path() / "gs.ini";
  auto orphan = dir.path() / ("gs.ini.tmp" + std::to_string(FinishedProcessId()) + "-12");
  auto living = dir.path() / ("gs.ini.tmp" + std::to_string(::getpid()) + "-34");
  auto other = dir.path() / ("sz.ini.tmp" + std::to_string(FinishedProcessId()) + "-56");
  for (const auto& file : {orphan, living, other}) Touch(file);

  ASSERT_TRUE(WriteFileAtomically(path, "x").ok());
  EXPECT_FALSE(std::filesystem::exists(orphan));
  EXPECT_TRUE(std::filesystem::exists(living));
  EXPECT_TRUE(std::filesystem::exists(other));
}

// A file of secrets replacing a readable one, under any umask, is the
// owner's alone, and never readable by others even while being written.
TEST(AtomicFile, GivenPermissionsHoldWhateverTheUmask) {
  using std::filesystem::perms;
  TempDir dir;
  auto path = dir.path() / "push.ini";
  for (mode_t mask : {mode_t{0}, mode_t{022}, mode_t{077}, mode_t{0277}}) {
    ASSERT_TRUE(WriteFileAtomically(path, "open").ok());
    std::filesystem::permissions(
        path, perms::owner_read | perms::owner_write | perms::group_read | perms::others_read);
    const mode_t previous = ::umask(mask);
    const Status written =
        WriteFileAtomically(path, "secret", perms::owner_read | perms::owner_write);
    ::umask(previous);
    ASSERT_TRUE(written.ok()) << mask;
    EXPECT_EQ(std::filesystem::status(path).permissions(), perms::owner_read | perms::owner_write)
        << mask;
    EXPECT_EQ(ReadSmallFile(path).value(), "secret");
  }
}

TEST(AtomicFile, RemovesEveryAbandonedTemporaryOfADirectory) {
  TempDir dir;
  const std::string gone = std::to_string(FinishedProcessId());
  const std::string running = std::to_string(::getpid());
  const std::vector<std::pair<std::string, bool>> files = {
      {"sz.ini.tmp" + gone + "-12", false},
      {"gs.ini.tmp" + gone + "-3", false},
      {"push.ini.tmp" + gone + "-40", false},
      {"sz.ini.tmp" + running + "-5", true},
      {"sz.ini", true},
      {"notes.tmp" + gone, true},
      {"a.tmp" + gone + "-x", true},
      {".tmp" + gone + "-1", true},
  };
  for (const auto& [name, stays] : files) Touch(dir.path() / name);
  RemoveAbandonedTemporaries(dir.path());
  for (const auto& [name, stays] : files) {
    EXPECT_EQ(std::filesystem::exists(dir.path() / name), stays) << name;
  }
}

TEST(AtomicFile, WritesThroughLinksToTheirTargetAndKeepsItsMode) {
  TempDir dir;
  namespace fs = std::filesystem;
  fs::create_directory(dir.path() / "real");
  const auto target = dir.path() / "real" / "settings.ini";
  ASSERT_TRUE(WriteFileAtomically(target, "old").ok());
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("real/settings.ini", dir.path() / "middle.ini");
  fs::create_symlink(dir.path() / "middle.ini", dir.path() / "sz.ini");

  ASSERT_TRUE(WriteFileAtomically(dir.path() / "sz.ini", "new").ok());
  EXPECT_TRUE(fs::is_symlink(dir.path() / "sz.ini"));
  EXPECT_TRUE(fs::is_symlink(dir.path() / "middle.ini"));
  EXPECT_EQ(ReadSmallFile(target).value(), "new");
  EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);

  // A link whose file is not there yet gets it; a loop of links gets nothing.
  fs::create_symlink("real/later.ini", dir.path() / "later.ini");
  ASSERT_TRUE(WriteFileAtomically(dir.path() / "later.ini", "x").ok());
  EXPECT_EQ(ReadSmallFile(dir.path() / "real" / "later.ini").value(), "x");
  fs::create_symlink("loop.ini", dir.path() / "loop.ini");
  EXPECT_FALSE(WriteFileAtomically(dir.path() / "loop.ini", "x").ok());
  EXPECT_TRUE(fs::is_symlink(dir.path() / "loop.ini"));
}

TEST(AtomicFile, ReadRefusesDirectoryMissingAndOversizedFiles) {
  TempDir dir;
  EXPECT_FALSE(ReadSmallFile(dir.path()).ok());
  EXPECT_FALSE(ReadSmallFile(dir.path() / "none").ok());
  auto path = dir.path() / "big";
  ASSERT_TRUE(WriteFileAtomically(path, std::string(100, 'a')).ok());
  EXPECT_FALSE(ReadSmallFile(path, 99).ok());
  EXPECT_TRUE(ReadSmallFile(path, 100).ok());
}

}  // namespace
}  // namespace base
