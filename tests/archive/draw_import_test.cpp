#include "archive/draw_import.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "archive/draw_export.h"
#include "generated_draws.h"
#include "temp_dir.h"

namespace archive {
namespace {

using namespace std::chrono;

const local_seconds kNow = local_days(2024y / January / 2d) + 3h + 4min + 5s;

void WriteFile(const std::filesystem::path& file, const std::string& content) {
  std::ofstream(file, std::ios::binary) << content;
}

std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

DrawStore OpenStore(const std::filesystem::path& file) {
  auto opened = DrawStore::Open(file, lottery::Chongqing(), kNow);
  if (!opened) throw std::runtime_error(opened.error().message);
  return std::move(opened.value().store);
}

TEST(DrawImportTest, ARoundTripOfAHundredThousandDrawsGivesTheSameFile) {
  TempDir dir;
  const std::string original = DrawCsv(GeneratedDraws(100000));
  WriteFile(dir.path() / "history.csv", original);

  DrawStore first = OpenStore(dir.path() / "first.db");
  auto imported = ImportDrawFile(first, dir.path() / "history.csv", "import", kNow);
  ASSERT_TRUE(imported.ok()) << imported.error().message;
  EXPECT_EQ(ImportSummaryLine(imported.value()),
            "imported 100000, unchanged 0, conflicts 0, rejected 0");
  EXPECT_EQ(ExportDrawFile(first, dir.path() / "exported.csv").value(), 100000);
  EXPECT_EQ(ReadBytes(dir.path() / "exported.csv"), original);

  DrawStore second = OpenStore(dir.path() / "second.db");
  ASSERT_EQ(ImportDrawFile(second, dir.path() / "exported.csv", "import", kNow).value().imported,
            100000);
  EXPECT_EQ(ExportDrawFile(second, dir.path() / "again.csv").value(), 100000);
  EXPECT_EQ(ReadBytes(dir.path() / "again.csv"), original);

  // Importing the same file again adds nothing.
  EXPECT_EQ(
      ImportSummaryLine(ImportDrawFile(first, dir.path() / "exported.csv", "import", kNow).value()),
      "imported 0, unchanged 100000, conflicts 0, rejected 0");
}

TEST(DrawImportTest, EveryAcceptedFormLandsAsTheSameSortedExport) {
  TempDir dir;
  WriteFile(dir.path() / "mixed.txt",
            "\xEF\xBB\xBF"
            "20160117001\t\t22222\r\n"
            "\r\n"
            "20160116-120 11111\r\n"
            "20160117-002\t33333\r\n"
            "20160116-119,00000\r\n");
  DrawStore store = OpenStore(dir.path() / "draws.db");
  ASSERT_EQ(ImportDrawFile(store, dir.path() / "mixed.txt", "import", kNow).value().imported, 4);
  ASSERT_TRUE(ExportDrawFile(store, dir.path() / "out.csv").ok());
  EXPECT_EQ(ReadBytes(dir.path() / "out.csv"),
            "issue,code\n"
            "20160116-119,00000\n"
            "20160116-120,11111\n"
            "20160117-001,22222\n"
            "20160117-002,33333\n");
}

TEST(DrawImportTest, AnImportNeverChangesAStoredDraw) {
  TempDir dir;
  DrawStore store = OpenStore(dir.path() / "draws.db");
  const std::vector<lottery::Draw> refreshed = {{"20160116-023", "13579"},
                                                {"20160116-024", "24680"}};
  ASSERT_TRUE(store.Store(refreshed, "refresh", kNow).ok());
  WriteFile(dir.path() / "mine.csv",
            "issue,code\n20160116-023,13579\n20160116-024,00000\n20160116-025,55555\n");

  auto report = ImportDrawFile(store, dir.path() / "mine.csv", "import mine.csv", kNow);
  ASSERT_TRUE(report.ok()) << report.error().message;
  EXPECT_EQ(FormatImportReport(report.value()),
            "imported 1, unchanged 1, conflicts 1, rejected 0\n");
  EXPECT_EQ(store.Newest(3).value(),
            (std::vector<lottery::Draw>{
                {"20160116-023", "13579"}, {"20160116-024", "24680"}, {"20160116-025", "55555"}}));
  ASSERT_EQ(store.Conflicts().value().size(), 1u);
  const Conflict conflict = store.Conflicts().value()[0];
  EXPECT_EQ(conflict.storedCode + " " + conflict.storedSource, "24680 refresh");
  EXPECT_EQ(conflict.offeredCode + " " + conflict.offeredSource, "00000 import mine.csv");
}

TEST(DrawImportTest, TheReportListsTwentyRejectedLinesThenCountsTheRest) {
  TempDir dir;
  std::string text = "issue,code\n20160116-001,11111\n";
  for (int i = 0; i < 21; ++i) text += "20160116-121,11111\n";
  text += "20160230-001,11111\n20160116-002,1111\n";
  WriteFile(dir.path() / "bad.csv", text);
  DrawStore store = OpenStore(dir.path() / "draws.db");

  auto report = ImportDrawFile(store, dir.path() / "bad.csv", "import", kNow);
  ASSERT_TRUE(report.ok()) << report.error().message;
  std::string expected = "imported 1, unchanged 0, conflicts 0, rejected 23\n";
  for (int line = 3; line <= 22; ++line) {
    expected += "line " + std::to_string(line) + ": sequence 121 outside 001-120\n";
  }
  expected += "and 3 more rejected lines\n";
  EXPECT_EQ(FormatImportReport(report.value()), expected);
}

TEST(DrawImportTest, AFileItCannotReadLeavesTheArchiveAsItWas) {
  TempDir dir;
  DrawStore store = OpenStore(dir.path() / "draws.db");
  const std::vector<lottery::Draw> stored = {{"20160116-023", "13579"}};
  ASSERT_TRUE(store.Store(stored, "refresh", kNow).ok());
  WriteFile(dir.path() / "photo.jpg", std::string("\xFF\xD8\xFF\xE0\0\x10JFIF\0", 11));

  for (const char* name : {"photo.jpg", "missing.csv"}) {
    auto report = ImportDrawFile(store, dir.path() / name, "import", kNow);
    ASSERT_FALSE(report.ok()) << name;
    EXPECT_EQ(store.Newest(10).value(), stored) << name;
  }
  EXPECT_EQ(ImportDrawFile(store, dir.path() / "photo.jpg", "import", kNow).error().message,
            (dir.path() / "photo.jpg").string() + ": not a text file");
}

std::int64_t StoredCount(const std::filesystem::path& file) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_busy_timeout(db, 1000);
  sqlite3_stmt* count = nullptr;
  std::int64_t stored = -1;
  if (sqlite3_prepare_v2(db, "SELECT count(*) FROM draws", -1, &count, nullptr) == SQLITE_OK &&
      sqlite3_step(count) == SQLITE_ROW) {
    stored = sqlite3_column_int64(count, 0);
  }
  sqlite3_finalize(count);
  sqlite3_close(db);
  return stored;
}

TEST(DrawImportTest, AKilledImportLosesAtMostItsLastTransaction) {
  TempDir dir;
  const auto archive = dir.path() / "draws.db";
  const auto draws = GeneratedDraws(40 * kImportBatch + 7);
  WriteFile(dir.path() / "history.csv", DrawCsv(draws));
  OpenStore(archive);  // made before the race, so only the import writes

  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    auto opened = DrawStore::Open(archive, lottery::Chongqing(), kNow);
    // Killed mid-import: its outcome is never seen.
    if (opened) {
      (void)ImportDrawFile(opened.value().store, dir.path() / "history.csv", "import", kNow);
    }
    _exit(0);
  }
  while (StoredCount(archive) < static_cast<std::int64_t>(kImportBatch)) {
    std::this_thread::sleep_for(milliseconds(1));
  }
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the import ended before it was killed";

  auto reopened = DrawStore::Open(archive, lottery::Chongqing(), kNow);
  ASSERT_TRUE(reopened.ok()) << reopened.error().message;
  EXPECT_EQ(reopened.value().notice, "");  // the integrity check passed
  DrawStore& store = reopened.value().store;
  const std::int64_t kept = store.Summary().value().count;
  EXPECT_EQ(kept % static_cast<std::int64_t>(kImportBatch), 0) << kept;
  EXPECT_LT(kept, static_cast<std::int64_t>(draws.size()));
  EXPECT_EQ(store.Newest(static_cast<std::size_t>(kept)).value(),
            std::vector<lottery::Draw>(draws.begin(), draws.begin() + kept));

  auto resumed = ImportDrawFile(store, dir.path() / "history.csv", "import", kNow);
  ASSERT_TRUE(resumed.ok()) << resumed.error().message;
  EXPECT_EQ(resumed.value().imported, static_cast<std::int64_t>(draws.size()) - kept);
  EXPECT_EQ(resumed.value().unchanged, kept);
}

}  // namespace
}  // namespace archive
