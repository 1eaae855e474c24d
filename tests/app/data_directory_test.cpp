#include "app/data_directory.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

#include "base/atomic_file.h"
#include "lanzhou_program.h"
#include "lottery/draw_sources.h"
#include "temp_dir.h"

namespace app {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& file) {
  auto content = base::ReadSmallFile(file);
  return content ? content.value() : "<" + content.error().message + ">";
}

void Write(const fs::path& file, const std::string& content) {
  fs::create_directories(file.parent_path());
  ASSERT_TRUE(base::WriteFileAtomically(file, content).ok()) << file;
}

// Root writes anywhere; a check of what a user cannot write runs in a child
// that has dropped to nobody. Returns whether `check` held.
bool HoldsForAnOrdinaryUser(const std::function<bool()>& check) {
  if (geteuid() != 0) return check();
  pid_t pid = fork();
  if (pid == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
    _exit(check() ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class DataDirectoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::permissions(root.path(), fs::perms::all);  // nobody must reach inside
    places.programDir = root.path() / "bin";
    places.shippedDir = root.path() / "shipped";
    places.userDataHome = root.path() / "home" / ".local" / "share";
    fs::create_directories(places.programDir);
    Write(places.shippedDir / "gs.ini", "[presets]\r\n");
    Write(places.shippedDir / "gssjj.dll", std::string("SQLite format 3\0", 16));
    Write(places.shippedDir / "sources.ini", "[sources]\r\n");
  }

  TempDir root;
  DataPlaces places;
};

TEST_F(DataDirectoryTest, AGivenDirectoryIsCreatedWithItsParents) {
  const fs::path dir = root.path() / "a" / "b" / "c";
  auto resolved = ResolveDataDir(dir, places);
  ASSERT_TRUE(resolved.ok()) << resolved.error().message;
  EXPECT_EQ(resolved.value(), dir);
  EXPECT_TRUE(fs::is_directory(dir));
  EXPECT_FALSE(fs::exists(places.userDataHome));
}

TEST_F(DataDirectoryTest, WhatIsNotAUsableDirectoryIsRefusedWithItsReason) {
  Write(root.path() / "file", "x");
  struct Case {
    fs::path requested;
    std::string message;
  };
  const Case cases[] = {
      {root.path() / "file",
       "data directory is not a directory: " + (root.path() / "file").string()},
      {root.path() / "file" / "sub", "cannot create the data directory " +
                                         (root.path() / "file" / "sub").string() +
                                         ": Not a directory"},
  };
  for (const auto& c : cases) {
    auto resolved = ResolveDataDir(c.requested, places);
    ASSERT_FALSE(resolved.ok()) << c.requested;
    EXPECT_EQ(resolved.error().message, c.message);
  }
  EXPECT_EQ(Read(root.path() / "file"), "x");
}

TEST_F(DataDirectoryTest, ADirectoryTheUserCannotWriteIsRefused) {
  const fs::path locked = root.path() / "locked";
  fs::create_directories(locked);
  fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                              fs::perms::group_exec | fs::perms::others_read |
                              fs::perms::others_exec);
  if (geteuid() == 0) {
    ASSERT_EQ(chown(locked.c_str(), 0, 0), 0);
  }
  EXPECT_TRUE(HoldsForAnOrdinaryUser([&] {
    auto resolved = ResolveDataDir(locked, places);
    return !resolved.ok() &&
           resolved.error().message == "data directory is not writable: " + locked.string();
  }));
}

TEST_F(DataDirectoryTest, WithoutADirectoryTheProgramsOwnServesWhenItKeepsData) {
  // An installed program: no data beside it.
  auto resolved = ResolveDataDir({}, places);
  ASSERT_TRUE(resolved.ok()) << resolved.error().message;
  EXPECT_EQ(resolved.value(), places.userDataHome / "lanzhou");
  EXPECT_TRUE(fs::is_directory(places.userDataHome / "lanzhou"));

  // A build tree or a portable copy: any shipped file beside the program.
  for (std::string_view name : kShippedDataFiles) {
    TempDir bin;
    Write(bin.path() / name, "x");
    DataPlaces portable = places;
    portable.programDir = bin.path();
    auto own = ResolveDataDir({}, portable);
    ASSERT_TRUE(own.ok()) << own.error().message;
    EXPECT_EQ(own.value(), bin.path()) << name;
  }
}

TEST_F(DataDirectoryTest, AProgramDirectoryTheUserCannotWriteIsPassedOver) {
  Write(places.programDir / "gs.ini", "x");
  fs::permissions(places.programDir,
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  if (geteuid() == 0) {
    ASSERT_EQ(chown(places.programDir.c_str(), 0, 0), 0);
  }
  // nobody must be able to make the user directory
  fs::create_directories(places.userDataHome);
  fs::permissions(places.userDataHome, fs::perms::all);
  EXPECT_TRUE(HoldsForAnOrdinaryUser([&] {
    auto resolved = ResolveDataDir({}, places);
    return resolved.ok() && resolved.value() == places.userDataHome / "lanzhou";
  }));
}

TEST_F(DataDirectoryTest, WithoutAHomeThereIsNoPlaceForTheData) {
  places.userDataHome.clear();
  auto resolved = ResolveDataDir({}, places);
  ASSERT_FALSE(resolved.ok());
  EXPECT_EQ(resolved.error().message,
            "no place for the data: set HOME or XDG_DATA_HOME, or pass --data-dir");

  places.userDataHome = root.path() / "share";
  Write(root.path() / "share" / "lanzhou", "a file");
  resolved = ResolveDataDir({}, places);
  ASSERT_FALSE(resolved.ok());
  EXPECT_EQ(resolved.error().message,
            "data directory is not a directory: " + (root.path() / "share" / "lanzhou").string());
}

TEST_F(DataDirectoryTest, SeedingCopiesWhatIsMissingAndKeepsWhatIsThere) {
  const fs::path data = root.path() / "data";
  Write(data / "gs.ini", "[mine]\r\n");
  fs::create_symlink(root.path() / "nowhere", data / "sources.ini");
  ASSERT_TRUE(SeedDataDir(data, places.shippedDir).ok());
  EXPECT_EQ(Read(data / "gs.ini"), "[mine]\r\n");
  EXPECT_EQ(Read(data / "gssjj.dll"), Read(places.shippedDir / "gssjj.dll"));
  EXPECT_TRUE(fs::is_symlink(data / "sources.ini"));
  EXPECT_FALSE(fs::exists(root.path() / "nowhere"));
  // Seeding again changes nothing.
  ASSERT_TRUE(SeedDataDir(data, places.shippedDir).ok());
  EXPECT_EQ(Read(data / "gs.ini"), "[mine]\r\n");
}

TEST_F(DataDirectoryTest, SeedingSkipsWhatIsNotShippedAndReportsWhatCannotBeCopied) {
  fs::remove(places.shippedDir / "sources.ini");
  fs::remove(places.shippedDir / "gs.ini");
  fs::create_directories(places.shippedDir / "gs.ini");
  const fs::path data = root.path() / "data";
  fs::create_directories(data);
  auto seeded = SeedDataDir(data, places.shippedDir);
  ASSERT_FALSE(seeded.ok());
  EXPECT_NE(seeded.error().message.find("cannot copy the shipped gs.ini"), std::string::npos)
      << seeded.error().message;
  EXPECT_FALSE(fs::exists(data / "gs.ini"));
  EXPECT_FALSE(fs::exists(data / "sources.ini"));
  EXPECT_EQ(Read(data / "gssjj.dll"), Read(places.shippedDir / "gssjj.dll"));
}

TEST(DataPlaces, TheUserDirectoryFollowsXdgDataHomeThenHome) {
  struct Case {
    std::optional<std::string> xdg, home;
    fs::path expected;
  };
  const Case cases[] = {
      {"/x/data", "/h", "/x/data"},
      {std::nullopt, "/h", "/h/.local/share"},
      {"", "/h", "/h/.local/share"},
      {"relative/data", "/h", "/h/.local/share"},  // not absolute: ignored
      {std::nullopt, std::nullopt, ""},
      {std::nullopt, "", ""},
  };
  const char* savedXdg = std::getenv("XDG_DATA_HOME");
  const char* savedHome = std::getenv("HOME");
  const std::optional<std::string> xdgBefore =
      savedXdg ? std::optional<std::string>(savedXdg) : std::nullopt;
  const std::optional<std::string> homeBefore =
      savedHome ? std::optional<std::string>(savedHome) : std::nullopt;
  auto set = [](const char* name, const std::optional<std::string>& value) {
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  };
  for (const auto& c : cases) {
    set("XDG_DATA_HOME", c.xdg);
    set("HOME", c.home);
    EXPECT_EQ(FindDataPlaces().userDataHome, c.expected)
        << c.xdg.value_or("<unset>") << " " << c.home.value_or("<unset>");
  }
  set("XDG_DATA_HOME", xdgBefore);
  set("HOME", homeBefore);
}

TEST(DataPlaces, ShippedDataLieInShareWhenInstalledAndBesideTheProgramOtherwise) {
  TempDir prefix;
  const fs::path bin = prefix.path() / "usr" / "bin";
  fs::create_directories(bin);
  EXPECT_EQ(ShippedDataDirectory(bin), bin);
  fs::create_directories(prefix.path() / "usr" / "share" / "lanzhou");
  EXPECT_EQ(ShippedDataDirectory(bin), prefix.path() / "usr" / "share" / "lanzhou");
  EXPECT_EQ(FindDataPlaces().programDir, ExecutableDirectory());
  EXPECT_TRUE(fs::exists(ExecutableDirectory() / "data_directory_test"));
}

TEST(ShippedData, SourcesPointAtTheLocalMirror) {
  const auto shipped = lottery::LoadDrawSources(fs::path(LANZHOU_TEST_SOURCE_DIR) / "data");
  const auto defaults = lottery::DefaultDrawSources();
  EXPECT_EQ(shipped.history, defaults.history);
  EXPECT_EQ(shipped.feed1, defaults.feed1);
  EXPECT_EQ(shipped.feed2, defaults.feed2);
  EXPECT_EQ(shipped.video, defaults.video);
  EXPECT_EQ(shipped.announcement, defaults.announcement);
  EXPECT_TRUE(fs::exists(fs::path(LANZHOU_TEST_SOURCE_DIR) / "data" / "sources.ini"));
}

// The real program on a data directory that does not exist yet: it is made
// and receives the build's shipped files, as `scripts/run --data-dir` would.
TEST(DataDirectoryProgram, ANewDataDirectoryStartsWithTheShippedFiles) {
  const fs::path program = LanzhouProgram();
  ASSERT_TRUE(fs::exists(program)) << program;
  TempDir root;
  const fs::path dir = root.path() / "new" / "data";
  const std::string command = "'" + program.string() + "' --console --no-start --data-dir '" +
                              dir.string() + "' < /dev/null > /dev/null 2>&1";
  const int raw = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << command;
  const fs::path shipped = ShippedDataDirectory(program.parent_path());
  for (std::string_view name : kShippedDataFiles) {
    ASSERT_TRUE(fs::exists(shipped / name)) << shipped / name;
    EXPECT_EQ(Read(dir / name), Read(shipped / name)) << name;
  }
}

}  // namespace
}  // namespace app
