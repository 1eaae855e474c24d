// The real program importing a draw file into its archive, killed with
// SIGKILL at random moments, or meeting a disk that takes no more: the
// archive always opens, passes SQLite's integrity check, and holds exactly
// the batches whose transactions committed, the first ones of the file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "archive/draw_import.h"
#include "lanzhou_program.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono;
using namespace std::chrono_literals;

constexpr int kDraws = 60000;  // six batches

// 120 draws a day from 2014-01-01, oldest first: the file's order is the
// batches' order.
std::vector<std::string> Issues() {
  std::vector<std::string> issues;
  for (local_days day = local_days{2014y / January / 1d}; issues.size() < kDraws; day += days{1}) {
    const year_month_day date{day};
    for (int sequence = 1; sequence <= 120; ++sequence) {
      char issue[32];
      std::snprintf(issue, sizeof issue, "%04d%02u%02u-%03d", static_cast<int>(date.year()),
                    static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                    sequence);
      issues.push_back(issue);
    }
  }
  return issues;
}

// The program with --import-draws, its output in files; a file size limit
// when fileSizeLimit is not 0.
pid_t StartImport(const fs::path& data, const fs::path& draws, const fs::path& output,
                  rlim_t fileSizeLimit = 0) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  if (fileSizeLimit != 0) {
    const rlimit limit{fileSizeLimit, fileSizeLimit};
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  std::freopen(output.c_str(), "w", stdout);
  std::freopen((output.string() + ".err").c_str(), "w", stderr);
  const std::string program = LanzhouProgram().string();
  execl(program.c_str(), program.c_str(), "--data-dir", data.c_str(), "--import-draws",
        draws.c_str(), static_cast<char*>(nullptr));
  _exit(127);
}

int WaitFor(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return status;
}

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// What a later program finds: the integrity check's verdict and the issues.
struct Found {
  std::string integrity;
  std::vector<std::string> issues;
};

// A program killed before it made the archive leaves none: "absent".
Found Inspect(const fs::path& file) {
  Found found;
  if (!fs::exists(file)) return {"absent", {}};
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
    auto keep = [](void* out, int, char** values, char**) {
      static_cast<std::vector<std::string>*>(out)->push_back(values[0] ? values[0] : "");
      return 0;
    };
    std::vector<std::string> integrity;
    sqlite3_exec(db, "PRAGMA integrity_check", keep, &integrity, nullptr);
    for (const std::string& line : integrity) found.integrity += line;
    sqlite3_exec(db, "SELECT issue FROM draws ORDER BY issue", keep, &found.issues, nullptr);
  }
  sqlite3_close(db);
  return found;
}

class ArchiveFaultsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    issues = Issues();
    std::ofstream out(drawsFile);
    for (std::size_t i = 0; i < issues.size(); ++i) out << issues[i] << ',' << 10000 + i << '\n';
  }

  // Whole batches from the file's start, no draw from anywhere else.
  void ExpectWholeFirstBatches(const Found& found) {
    if (found.integrity == "absent") return;
    EXPECT_EQ(found.integrity, "ok");
    EXPECT_EQ(found.issues.size() % archive::kImportBatch, 0u) << found.issues.size();
    ASSERT_LE(found.issues.size(), issues.size());
    EXPECT_TRUE(std::equal(found.issues.begin(), found.issues.end(), issues.begin()));
  }

  TempDir dir;
  fs::path drawsFile = dir.path() / "draws.txt";
  std::vector<std::string> issues;
};

TEST_F(ArchiveFaultsTest, AnImportKilledAtAnyMomentLeavesWholeCommittedBatches) {
  // How long a whole import takes, to kill within it.
  const auto start = steady_clock::now();
  ASSERT_EQ(WaitFor(StartImport(dir.path() / "timing", drawsFile, dir.path() / "out")), 0);
  const auto whole = duration_cast<microseconds>(steady_clock::now() - start);

  const unsigned seed = std::random_device{}();
  std::mt19937 random(seed);
  std::uniform_int_distribution<long> moment(0, whole.count());
  std::set<std::size_t> partial;  // stored counts strictly between none and all
  for (int run = 0; run < 30; ++run) {
    SCOPED_TRACE("seed " + std::to_string(seed) + ", run " + std::to_string(run));
    const fs::path data = dir.path() / ("killed" + std::to_string(run));
    const pid_t pid = StartImport(data, drawsFile, dir.path() / "out");
    std::this_thread::sleep_for(microseconds(moment(random)));
    kill(pid, SIGKILL);
    WaitFor(pid);
    const Found found = Inspect(data / archive::kArchiveFileName);
    ExpectWholeFirstBatches(found);
    if (!found.issues.empty() && found.issues.size() < issues.size())
      partial.insert(found.issues.size());

    // The next import adds what is missing, keeping what is there.
    ASSERT_EQ(WaitFor(StartImport(data, drawsFile, dir.path() / "out")), 0);
    EXPECT_EQ(Inspect(data / archive::kArchiveFileName).issues, issues);
  }
  // The kills met imports on their way, not only before or after.
  EXPECT_GE(partial.size(), 2u) << "seed " << seed << ", a whole import takes " << whole.count()
                                << " µs";
}

TEST_F(ArchiveFaultsTest, AFullDiskStopsTheImportWithAClearErrorAndTheArchiveIntact) {
  const fs::path data = dir.path() / "data";
  // One batch stored without a limit.
  {
    std::ofstream first(dir.path() / "first.txt");
    for (std::size_t i = 0; i < archive::kImportBatch; ++i) first << issues[i] << ",12345\n";
  }
  ASSERT_EQ(WaitFor(StartImport(data, dir.path() / "first.txt", dir.path() / "out")), 0);
  const fs::path archiveFile = data / archive::kArchiveFileName;
  const auto size = fs::file_size(archiveFile);

  // Then room for about one more batch.
  const int status = WaitFor(StartImport(data, drawsFile, dir.path() / "out", size + (512u << 10)));
  ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 1);
  const std::string error = Read(dir.path() / "out.err");
  EXPECT_NE(error.find("import stopped after"), std::string::npos) << error;
  EXPECT_NE(error.find("the disk may be full"), std::string::npos) << error;
  const Found found = Inspect(archiveFile);
  ExpectWholeFirstBatches(found);
  EXPECT_GE(found.issues.size(), archive::kImportBatch);
  EXPECT_LT(found.issues.size(), issues.size());

  // With room again, the import finishes.
  ASSERT_EQ(WaitFor(StartImport(data, drawsFile, dir.path() / "out")), 0);
  EXPECT_EQ(Inspect(archiveFile).issues, issues);
}

}  // namespace
