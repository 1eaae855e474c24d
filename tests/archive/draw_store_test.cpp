#include "archive/draw_store.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

#include "generated_draws.h"
#include "temp_dir.h"

namespace archive {
namespace {

using namespace std::chrono;

const local_seconds kNow = local_days(2024y / January / 2d) + 3h + 4min + 5s;

std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Runs SQL on a file the way another program would; the first column of the
// last row it gives.
std::string RunSql(const std::filesystem::path& file, const std::string& sql) {
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  std::string last = "<error>";
  auto keep = [](void* out, int, char** values, char**) {
    *static_cast<std::string*>(out) = values[0] ? values[0] : "<null>";
    return 0;
  };
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), keep, &last, &error) != SQLITE_OK) {
    ADD_FAILURE() << sql << ": " << error;
  }
  sqlite3_free(error);
  sqlite3_close(db);
  return last;
}

class DrawStoreTest : public ::testing::Test {
 protected:
  OpenedStore OpenArchive() {
    auto opened = DrawStore::Open(file, lottery::Chongqing(), kNow);
    if (!opened) throw std::runtime_error(opened.error().message);
    return std::move(opened.value());
  }

  TempDir dir;
  std::filesystem::path file = dir.path() / kArchiveFileName;
};

TEST_F(DrawStoreTest, AMissingFileBecomesAnEmptyWalArchive) {
  OpenedStore opened = OpenArchive();
  EXPECT_EQ(opened.notice, "");
  EXPECT_FALSE(opened.brokenFile);
  EXPECT_EQ(opened.store.Summary().value(), ArchiveSummary{});
  EXPECT_TRUE(opened.store.Newest(10).value().empty());
  EXPECT_EQ(RunSql(file, "PRAGMA journal_mode"), "wal");
  EXPECT_EQ(RunSql(file, "PRAGMA integrity_check"), "ok");
}

TEST_F(DrawStoreTest, StoringCountsNewUnchangedConflictingAndRefusedDraws) {
  DrawStore store = OpenArchive().store;
  const std::vector<lottery::Draw> refresh = {{"20160116-023", "13579"}, {"20160116-024", "24680"}};
  EXPECT_EQ(store.Store(refresh, "refresh", kNow).value(), (StoreCounts{2, 0, 0, 0}));

  const std::vector<lottery::Draw> update = {
      {"20160116-023", "13579"},                             // the same again
      {"20160116-024", "99999"},                             // another code for a stored issue
      {"20160116-025", "11111"}, {"20160116-025", "22222"},  // another code within the same batch
      {"20160116023", "13579"},  // refused: only the dashed form is stored
      {"20160116-026", "1234"},
  };
  EXPECT_EQ(store.Store(update, "feed 1", kNow + 5min).value(), (StoreCounts{1, 1, 2, 2}));

  EXPECT_EQ(store.Newest(10).value(),
            (std::vector<lottery::Draw>{
                {"20160116-023", "13579"}, {"20160116-024", "24680"}, {"20160116-025", "11111"}}));
  EXPECT_EQ(store.Conflicts().value(),
            (std::vector<Conflict>{
                {"20160116-024", "24680", "refresh", "99999", "feed 1", "2024-01-02 03:09:05"},
                {"20160116-025", "11111", "feed 1", "22222", "feed 1", "2024-01-02 03:09:05"}}));
  EXPECT_EQ(RunSql(file,
                   "SELECT source || ' ' || stored_at FROM draws WHERE issue = "
                   "'20160116-024'"),
            "refresh 2024-01-02 03:04:05");

  // The same conflict again is counted but recorded once; a new source is recorded.
  const std::vector<lottery::Draw> again = {{"20160116-024", "99999"}};
  EXPECT_EQ(store.Store(again, "feed 1", kNow).value(), (StoreCounts{0, 0, 1, 0}));
  EXPECT_EQ(store.Store(again, "import a.csv", kNow).value(), (StoreCounts{0, 0, 1, 0}));
  EXPECT_EQ(store.Conflicts().value().size(), 3u);
}

TEST_F(DrawStoreTest, NothingButARealIssueAndFiveDigitsGetsIn) {
  DrawStore store = OpenArchive().store;
  const std::vector<lottery::Draw> bad = {{"", "12345"},
                                          {"20160116-023", ""},
                                          {"20160230-001", "12345"},
                                          {"20160116-121", "12345"},
                                          {"19991231-001", "12345"},
                                          {"20160116-023 ", "12345"},
                                          {"20160116-023", "1234x"},
                                          {"20160116-023", "123456"}};
  EXPECT_EQ(store.Store(bad, "refresh", kNow).value(), (StoreCounts{0, 0, 0, 8}));
  EXPECT_EQ(store.Summary().value(), ArchiveSummary{});
}

TEST_F(DrawStoreTest, NewestDrawsComeOldestFirstWhateverTheStoringOrder) {
  DrawStore store = OpenArchive().store;
  const auto draws = GeneratedDraws(300);
  auto shuffled = draws;
  std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
  ASSERT_EQ(store.Store(shuffled, "import", kNow).value().added, 300);

  EXPECT_EQ(store.Newest(5).value(), std::vector<lottery::Draw>(draws.end() - 5, draws.end()));
  EXPECT_EQ(store.Newest(1000).value(), draws);
  EXPECT_TRUE(store.Newest(0).value().empty());
  EXPECT_EQ(store.Summary().value(), (ArchiveSummary{300, "20000101-001", "20000103-060"}));

  std::vector<lottery::Draw> visited;
  ASSERT_TRUE(store
                  .VisitOldestFirst([&](std::string_view issue, std::string_view code) {
                    visited.push_back({std::string(issue), std::string(code)});
                  })
                  .ok());
  EXPECT_EQ(visited, draws);
}

TEST_F(DrawStoreTest, DrawsSurviveAReopen) {
  const auto draws = GeneratedDraws(180);
  ASSERT_EQ(OpenArchive().store.Store(draws, "refresh", kNow).value().added, 180);
  OpenedStore reopened = OpenArchive();
  EXPECT_EQ(reopened.notice, "");
  EXPECT_EQ(reopened.store.Newest(180).value(), draws);
}

// Rows another program wrote into a real archive: what could not pass the
// door stays in the file but is never handed out.
TEST_F(DrawStoreTest, RowsThatCouldNotPassTheDoorAreNotHandedOut) {
  const auto draws = GeneratedDraws(3);
  ASSERT_EQ(OpenArchive().store.Store(draws, "refresh", kNow).value().added, 3);
  RunSql(file,
         "INSERT INTO draws VALUES('chongqing', '29991231-999', '12345', 'x', 'x'),"
         "('chongqing', '20261210-121', '00000', 'x', 'x'),"
         "('chongqing', '99999999-001', 'abcde', 'x', 'x'),"
         "('chongqing', x'3230323631323130', 123456, 'x', 'x'); SELECT 1");
  DrawStore store = OpenArchive().store;
  EXPECT_EQ(store.Newest(3).value(), draws);
  EXPECT_EQ(store.Newest(100).value(), draws);
  std::vector<lottery::Draw> visited;
  ASSERT_TRUE(store.VisitOldestFirst([&](std::string_view issue, std::string_view code) {
    visited.push_back({std::string(issue), std::string(code)});
  }));
  EXPECT_EQ(visited, draws);
}

// Each way a draws.db can be no archive: it is moved aside byte for byte and a
// new archive takes its place.
TEST_F(DrawStoreTest, AFileThatIsNoArchiveIsSetAsideAndANewOneMade) {
  struct Case {
    const char* name;
    std::function<void(const std::filesystem::path&)> make;
  };
  const std::vector<Case> cases = {
      {"a text file", [](const auto& f) { std::ofstream(f) << "20160116-023,13579\n"; }},
      {"a truncated database",
       [](const auto& f) { std::ofstream(f, std::ios::binary) << "SQLite format 3"; }},
      {"a database header over junk",
       [](const auto& f) {
         std::ofstream(f, std::ios::binary)
             << std::string("SQLite format 3\0", 16) << std::string(4000, '\x7f');
       }},
      {"another program's database",
       [](const auto& f) {
         RunSql(f, "CREATE TABLE 定位公式(x); INSERT INTO 定位公式 VALUES(1);");
       }},
      {"an archive whose tables were changed",
       [](const auto& f) {
         ASSERT_TRUE(DrawStore::Open(f, lottery::Chongqing(), kNow).ok());
         RunSql(f, "ALTER TABLE draws ADD COLUMN note TEXT");
       }},
      {"an archive with damaged pages",
       [](const auto& f) {
         {
           auto opened = DrawStore::Open(f, lottery::Chongqing(), kNow);
           ASSERT_TRUE(opened.ok());
           ASSERT_TRUE(opened.value().store.Store(GeneratedDraws(20000), "import", kNow).ok());
         }
         ASSERT_GT(std::filesystem::file_size(f), 40u * 4096);
         std::fstream out(f, std::ios::binary | std::ios::in | std::ios::out);
         out.seekp(30 * 4096 + 8);
         out << std::string(600, '\x5a');
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir caseDir;
    const auto archive = caseDir.path() / kArchiveFileName;
    c.make(archive);
    const std::string before = ReadBytes(archive);

    auto opened = DrawStore::Open(archive, lottery::Chongqing(), kNow);
    ASSERT_TRUE(opened.ok()) << opened.error().message;
    const auto aside = caseDir.path() / "draws.db.broken-20240102-030405";
    EXPECT_EQ(opened.value().brokenFile, aside);
    EXPECT_EQ(opened.value().notice,
              "号码库文件已损坏，已改名为 draws.db.broken-20240102-030405，并新建了号码库");
    EXPECT_EQ(ReadBytes(aside), before);
    EXPECT_EQ(opened.value().store.Summary().value(), ArchiveSummary{});
    const std::vector<lottery::Draw> one = {{"20160116-023", "13579"}};
    EXPECT_EQ(opened.value().store.Store(one, "refresh", kNow).value().added, 1);
  }
}

TEST_F(DrawStoreTest, ASecondBrokenFileInTheSameSecondGetsItsOwnName) {
  std::ofstream(file) << "first";
  ASSERT_TRUE(DrawStore::Open(file, lottery::Chongqing(), kNow).ok());
  std::filesystem::remove(file);
  std::ofstream(file) << "second";
  auto opened = DrawStore::Open(file, lottery::Chongqing(), kNow);
  ASSERT_TRUE(opened.ok());
  EXPECT_EQ(opened.value().brokenFile, dir.path() / "draws.db.broken-20240102-030405-2");
  EXPECT_EQ(ReadBytes(dir.path() / "draws.db.broken-20240102-030405"), "first");
  EXPECT_EQ(ReadBytes(dir.path() / "draws.db.broken-20240102-030405-2"), "second");
}

TEST_F(DrawStoreTest, ABrokenFilesJournalGoesAsideWithIt) {
  std::ofstream(file) << "not a database";
  std::ofstream(dir.path() / "draws.db-wal") << "a journal of some other database";
  auto opened = DrawStore::Open(file, lottery::Chongqing(), kNow);
  ASSERT_TRUE(opened.ok()) << opened.error().message;
  EXPECT_EQ(ReadBytes(dir.path() / "draws.db.broken-20240102-030405-wal"),
            "a journal of some other database");
  EXPECT_EQ(opened.value().store.Summary().value(), ArchiveSummary{});
}

// Files the program cannot use now but must not call broken.
TEST_F(DrawStoreTest, AnArchiveItCannotUseIsLeftAlone) {
  struct Case {
    const char* name;
    std::function<void(const std::filesystem::path&)> make;
    const char* why;
  };
  const std::vector<Case> cases = {
      {"a newer archive",
       [](const auto& f) {
         ASSERT_TRUE(DrawStore::Open(f, lottery::Chongqing(), kNow).ok());
         RunSql(f, "PRAGMA user_version = 3");
       },
       "the archive was made by a newer version"},
      {"a directory", [](const auto& f) { std::filesystem::create_directory(f); }, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir caseDir;
    const auto archive = caseDir.path() / kArchiveFileName;
    c.make(archive);
    const auto before = std::filesystem::is_regular_file(archive) ? ReadBytes(archive) : "";

    auto opened = DrawStore::Open(archive, lottery::Chongqing(), kNow);
    ASSERT_FALSE(opened.ok());
    EXPECT_TRUE(opened.error().message.starts_with("cannot open the draw archive: "))
        << opened.error().message;
    EXPECT_NE(opened.error().message.find(c.why), std::string::npos) << opened.error().message;
    if (!before.empty()) {
      EXPECT_EQ(ReadBytes(archive), before);
    }
    EXPECT_FALSE(std::filesystem::exists(caseDir.path() / "draws.db.broken-20240102-030405"));
  }
}

// draws.db as the first version wrote it, before draws were kept per lottery.
void MakeVersion1Archive(const std::filesystem::path& file,
                         const std::vector<lottery::Draw>& draws) {
  std::string sql =
      "PRAGMA page_size = 16384;BEGIN;"
      "CREATE TABLE draws(issue TEXT PRIMARY KEY NOT NULL, code TEXT NOT NULL,"
      " source TEXT NOT NULL, stored_at TEXT NOT NULL) WITHOUT ROWID;"
      "CREATE TABLE conflicts(issue TEXT NOT NULL, stored_code TEXT NOT NULL,"
      " stored_source TEXT NOT NULL, offered_code TEXT NOT NULL, offered_source TEXT NOT NULL,"
      " seen_at TEXT NOT NULL, UNIQUE(issue, offered_code, offered_source));"
      "PRAGMA application_id = 1280984151;PRAGMA user_version = 1;";
  for (const lottery::Draw& draw : draws) {
    sql += "INSERT INTO draws VALUES('" + draw.issue + "','" + draw.code +
           "','refresh','2023-12-31 23:59:59');";
  }
  sql +=
      "INSERT INTO conflicts VALUES('20000101-002','00002','refresh','99999','update',"
      "'2024-01-01 10:00:00');"
      "INSERT INTO conflicts VALUES('20000101-001','00001','import a.csv','88888','update',"
      "'2024-01-01 09:00:00');"
      "COMMIT;SELECT 1;";
  RunSql(file, sql);
  RunSql(file, "PRAGMA journal_mode = WAL");
}

TEST_F(DrawStoreTest, AFirstVersionArchiveBecomesChongqingsAndKeepsEveryDraw) {
  std::vector<lottery::Draw> draws = GeneratedDraws(2500);
  draws[0].code = "00001";
  draws[1].code = "00002";
  // A row someone else wrote that the door refuses: kept all the same.
  std::vector<lottery::Draw> rows = draws;
  rows.push_back({"x", "y"});
  MakeVersion1Archive(file, rows);
  ASSERT_EQ(RunSql(file, "SELECT count(*) FROM draws"), "2501");

  {
    OpenedStore opened = OpenArchive();
    EXPECT_EQ(opened.notice, "");
    EXPECT_FALSE(opened.brokenFile);
    EXPECT_EQ(opened.store.Summary().value().count, 2501);
    EXPECT_EQ(opened.store.Newest(rows.size()).value(), draws);
    EXPECT_EQ(
        opened.store.Conflicts().value(),
        (std::vector<Conflict>{
            {"20000101-002", "00002", "refresh", "99999", "update", "2024-01-01 10:00:00"},
            {"20000101-001", "00001", "import a.csv", "88888", "update", "2024-01-01 09:00:00"}}));
    // Stored draws still keep their codes: the key holds after the move.
    const std::vector<lottery::Draw> again = {draws[5], {draws[6].issue, "77777"}};
    EXPECT_EQ(opened.store.Store(again, "refresh", kNow).value(), (StoreCounts{0, 1, 1, 0}));
  }
  EXPECT_EQ(RunSql(file, "PRAGMA user_version"), "2");
  EXPECT_EQ(RunSql(file, "SELECT count(*) FROM draws"), "2501");
  EXPECT_EQ(RunSql(file, "SELECT count(*) FROM draws WHERE lottery = 'chongqing'"), "2501");
  EXPECT_EQ(RunSql(file, "SELECT count(*) FROM conflicts WHERE lottery = 'chongqing'"), "3");
  EXPECT_EQ(RunSql(file, "SELECT count(*) FROM sqlite_schema WHERE name LIKE '%version1%'"), "0");
  EXPECT_EQ(RunSql(file, "PRAGMA integrity_check"), "ok");
  // Opened again, it is simply the current version.
  EXPECT_EQ(OpenArchive().store.Newest(rows.size()).value(), draws);
}

TEST_F(DrawStoreTest, EachLotteryKeepsItsOwnDraws) {
  lottery::Lottery other = lottery::Chongqing();
  other.id = "other";
  const std::vector<lottery::Draw> ours = {{"20160116-023", "13579"}, {"20160116-024", "24680"}};
  const std::vector<lottery::Draw> theirs = {{"20160116-023", "99999"}};
  {
    DrawStore store = OpenArchive().store;
    ASSERT_TRUE(store.Store(ours, "refresh", kNow).ok());
  }
  auto opened = DrawStore::Open(file, other, kNow);
  ASSERT_TRUE(opened.ok()) << opened.error().message;
  DrawStore& store = opened.value().store;
  EXPECT_EQ(store.Summary().value(), ArchiveSummary{});
  // The same issue of another game is no conflict.
  EXPECT_EQ(store.Store(theirs, "refresh", kNow).value(), (StoreCounts{1, 0, 0, 0}));
  EXPECT_EQ(store.Newest(10).value(), theirs);
  EXPECT_TRUE(store.Conflicts().value().empty());
  EXPECT_EQ(OpenArchive().store.Newest(10).value(), ours);
}

}  // namespace
}  // namespace archive
