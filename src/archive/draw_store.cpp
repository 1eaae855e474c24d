#include "archive/draw_store.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace archive {

using storage::Database;
using storage::Statement;
using storage::Transaction;

namespace {

using namespace std::chrono;

constexpr std::int32_t kApplicationId = 0x4C5A4457;  // "LZDW"
constexpr std::int64_t kSchemaVersion = 2;

constexpr const char* kSchema = R"sql(
CREATE TABLE draws(
  lottery TEXT NOT NULL,
  issue TEXT NOT NULL,
  code TEXT NOT NULL,
  source TEXT NOT NULL,
  stored_at TEXT NOT NULL,
  PRIMARY KEY(lottery, issue)
) WITHOUT ROWID;
CREATE TABLE conflicts(
  lottery TEXT NOT NULL,
  issue TEXT NOT NULL,
  stored_code TEXT NOT NULL,
  stored_source TEXT NOT NULL,
  offered_code TEXT NOT NULL,
  offered_source TEXT NOT NULL,
  seen_at TEXT NOT NULL,
  UNIQUE(lottery, issue, offered_code, offered_source)
);
)sql";

constexpr std::string_view kDrawColumns = "lottery,issue,code,source,stored_at";
constexpr std::string_view kConflictColumns =
    "lottery,issue,stored_code,stored_source,offered_code,offered_source,seen_at";
// Version 1 keyed the draws by issue alone: every draw was Chongqing's.
constexpr std::string_view kVersion1DrawColumns = "issue,code,source,stored_at";
constexpr std::string_view kVersion1ConflictColumns =
    "issue,stored_code,stored_source,offered_code,offered_source,seen_at";

std::string TimeText(local_seconds now, const char* format) {
  const local_days day = floor<days>(now);
  const year_month_day date{day};
  const hh_mm_ss time{now - day};
  char text[32];
  std::snprintf(text, sizeof text, format, static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                static_cast<int>(time.seconds().count()));
  return text;
}

// Why a first open failed: the file is no archive (set it aside), or it
// cannot be used now (leave it be).
struct Attempt {
  std::optional<Database> db;
  bool broken = false;
  std::string message;
};

Attempt Broken(std::string message) { return {std::nullopt, true, std::move(message)}; }
Attempt Fatal(std::string message) { return {std::nullopt, false, std::move(message)}; }

Attempt SqliteFailure(const Database& db) {
  const int code = db.LastCode();
  if (code == SQLITE_NOTADB || code == SQLITE_CORRUPT) return Broken(db.LastError());
  return Fatal(db.LastError());
}

// Each row's first column, joined with commas.
base::Result<std::string> Column(const Database& db, std::string_view sql) {
  auto statement = Statement::Prepare(db, sql);
  if (!statement) return statement.error();
  std::string joined;
  int rc;
  while ((rc = statement.value().Step()) == SQLITE_ROW) {
    if (!joined.empty()) joined += ',';
    joined += statement.value().Text(0);
  }
  if (rc != SQLITE_DONE) return base::Error{db.LastError()};
  return joined;
}

// The tables of an archive that says it is of `version`; false when they are
// not ours.
base::Result<bool> HasOurTables(const Database& db, std::int64_t version) {
  auto draws = Column(db, "SELECT name FROM pragma_table_info('draws')");
  auto conflicts = Column(db, "SELECT name FROM pragma_table_info('conflicts')");
  if (!draws) return draws.error();
  if (!conflicts) return conflicts.error();
  if (version < kSchemaVersion) {
    return draws.value() == kVersion1DrawColumns && conflicts.value() == kVersion1ConflictColumns;
  }
  return draws.value() == kDrawColumns && conflicts.value() == kConflictColumns;
}

// Version 1's draws and conflicts become Chongqing's, in their order, in one
// transaction: a failure leaves the file as it was.
base::Status UpgradeFromVersion1(const Database& db) {
  auto transaction = Transaction::Begin(db);
  if (!transaction) return transaction.error();
  const std::string renamed =
      "ALTER TABLE draws RENAME TO draws_version1;"
      "ALTER TABLE conflicts RENAME TO conflicts_version1;" +
      std::string(kSchema);
  if (auto made = db.Exec(renamed.c_str()); !made) return made;
  for (const char* copy :
       {"INSERT INTO draws SELECT ?1, issue, code, source, stored_at FROM draws_version1",
        "INSERT INTO conflicts SELECT ?1, issue, stored_code, stored_source, offered_code, "
        "offered_source, seen_at FROM conflicts_version1 ORDER BY rowid"}) {
    auto statement = Statement::Prepare(db, copy);
    if (!statement) return statement.error();
    statement.value().Bind(1, lottery::Chongqing().id);
    if (statement.value().Step() != SQLITE_DONE) return base::Error{db.LastError()};
  }
  const std::string done =
      "DROP TABLE draws_version1;DROP TABLE conflicts_version1;"
      "PRAGMA user_version = " +
      std::to_string(kSchemaVersion) + ";";
  if (auto dropped = db.Exec(done.c_str()); !dropped) return dropped;
  return transaction.value().Commit();
}

Attempt CheckArchive(Database db) {
  auto integrity = Column(db, "PRAGMA integrity_check");
  if (!integrity) return SqliteFailure(db);
  if (integrity.value() != "ok") return Broken("integrity check: " + integrity.value());

  auto identity = Column(db,
                         "SELECT application_id FROM pragma_application_id "
                         "UNION ALL SELECT user_version FROM pragma_user_version "
                         "UNION ALL SELECT count(*) FROM sqlite_schema");
  if (!identity) return SqliteFailure(db);
  if (identity.value() == "0,0,0") {
    const std::string create = "PRAGMA page_size = 16384;BEGIN;" + std::string(kSchema) +
                               "PRAGMA application_id = " + std::to_string(kApplicationId) +
                               ";PRAGMA user_version = " + std::to_string(kSchemaVersion) +
                               ";COMMIT;";
    if (auto created = db.Exec(create.c_str()); !created) {
      return Fatal("cannot create the archive: " + created.error().message);
    }
  } else {
    const std::string id = std::to_string(kApplicationId);
    if (!identity.value().starts_with(id + ",")) return Broken("not a draw archive");
    const std::int64_t version = std::stoll(identity.value().substr(id.size() + 1));
    if (version > kSchemaVersion) return Fatal("the archive was made by a newer version");
    auto ours = HasOurTables(db, version);
    if (!ours) return SqliteFailure(db);
    if (!ours.value()) return Broken("the archive's tables are not ours");
    if (version < kSchemaVersion) {
      if (auto upgraded = UpgradeFromVersion1(db); !upgraded) {
        return Fatal("cannot upgrade the archive: " + upgraded.error().message);
      }
    }
  }
  // WAL keeps readers off the writer's back; NORMAL loses no committed
  // transaction when the program is killed, only on a power cut.
  if (auto wal = Column(db, "PRAGMA journal_mode = WAL"); !wal) return SqliteFailure(db);
  if (auto sync = db.Exec("PRAGMA synchronous = NORMAL"); !sync) return SqliteFailure(db);
  // A backtest reads a hundred thousand rows at a time: map the file rather
  // than copy it page by page.
  if (auto mapped = db.Exec("PRAGMA mmap_size = 268435456"); !mapped) return SqliteFailure(db);
  return {std::move(db), false, {}};
}

// SQLite deletes the journal beside a file it cannot read, so what is
// plainly no database never reaches it.
bool HasForeignHeader(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  char header[16] = {};
  in.read(header, sizeof header);
  const auto size = in.gcount();
  return size > 0 && std::string_view(header, static_cast<std::size_t>(size)) !=
                         std::string_view("SQLite format 3\0", sizeof header);
}

Attempt TryOpen(const std::filesystem::path& file) {
  std::error_code error;
  if (std::filesystem::is_regular_file(file, error) && HasForeignHeader(file)) {
    return Broken("not an SQLite file");
  }
  auto opened = Database::Open(file);
  if (!opened) return Fatal(opened.error().message);
  if (sqlite3_db_readonly(opened.value().get(), "main") == 1) {
    return Fatal(file.string() + " is read-only");
  }
  return CheckArchive(std::move(opened.value()));
}

std::filesystem::path WithSuffix(const std::filesystem::path& file, const std::string& suffix) {
  std::filesystem::path named = file;
  named += suffix;
  return named;
}

// The broken file keeps its journal files beside it, so it can still be
// opened for rescue; left in place they would be read into the new archive.
base::Result<std::filesystem::path> SetAside(const std::filesystem::path& file, local_seconds now) {
  const std::string stamp = ".broken-" + TimeText(now, "%04d%02u%02u-%02d%02d%02d");
  std::filesystem::path aside = WithSuffix(file, stamp);
  std::error_code error;
  for (int n = 2; std::filesystem::exists(aside, error) ||
                  std::filesystem::exists(WithSuffix(aside, "-wal"), error);
       ++n) {
    aside = WithSuffix(file, stamp + "-" + std::to_string(n));
  }
  std::filesystem::rename(file, aside, error);
  if (error) return base::Error{"cannot move " + file.string() + " aside: " + error.message()};
  for (const char* journal : {"-wal", "-shm", "-journal"}) {
    if (std::filesystem::exists(WithSuffix(file, journal), error)) {
      std::filesystem::rename(WithSuffix(file, journal), WithSuffix(aside, journal), error);
    }
  }
  return aside;
}

// Rows written by anything but this program (a user's own tool, say) may
// hold anything; only those that would pass the door are handed out.
bool PassesTheDoor(std::string_view issue, std::string_view code, const lottery::Lottery& lottery) {
  return lottery::CheckIssue(issue, lottery) && lottery::CheckCode(code, lottery);
}

}  // namespace

base::Result<OpenedStore> DrawStore::Open(const std::filesystem::path& file,
                                          const lottery::Lottery& lottery, local_seconds now) {
  Attempt first = TryOpen(file);
  if (first.db) return OpenedStore{DrawStore(std::move(*first.db), lottery), {}, std::nullopt};
  if (!first.broken) return base::Error{"cannot open the draw archive: " + first.message};

  auto aside = SetAside(file, now);
  if (!aside) return aside.error();
  Attempt fresh = TryOpen(file);
  if (!fresh.db) return base::Error{"cannot create the draw archive: " + fresh.message};
  std::string notice =
      "号码库文件已损坏，已改名为 " + aside.value().filename().string() + "，并新建了号码库";
  return OpenedStore{DrawStore(std::move(*fresh.db), lottery), std::move(notice), aside.value()};
}

base::Result<StoreCounts> DrawStore::Store(std::span<const lottery::Draw> draws,
                                           std::string_view source, local_seconds now) {
  auto failed = [this] { return base::Error{"cannot store draws: " + db_.LastError()}; };
  auto transaction = Transaction::Begin(db_);
  if (!transaction) return failed();
  auto insert =
      Statement::Prepare(db_,
                         "INSERT INTO draws(lottery, issue, code, source, stored_at) "
                         "VALUES(?1, ?2, ?3, ?4, ?5) ON CONFLICT(lottery, issue) DO NOTHING");
  auto lookup =
      Statement::Prepare(db_, "SELECT code, source FROM draws WHERE lottery = ?1 AND issue = ?2");
  auto conflict = Statement::Prepare(
      db_,
      "INSERT INTO conflicts(lottery, issue, stored_code, stored_source, offered_code, "
      "offered_source, seen_at) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7) ON CONFLICT DO NOTHING");
  if (!insert || !lookup || !conflict) return failed();

  const std::string storedAt = TimeText(now, "%04d-%02u-%02u %02d:%02d:%02d");
  insert.value().Bind(1, lottery_->id);
  insert.value().Bind(4, source);
  insert.value().Bind(5, storedAt);
  lookup.value().Bind(1, lottery_->id);
  conflict.value().Bind(1, lottery_->id);
  StoreCounts counts;
  for (const lottery::Draw& draw : draws) {
    if (!PassesTheDoor(draw.issue, draw.code, *lottery_)) {
      ++counts.rejected;
      continue;
    }
    Statement& add = insert.value();
    add.Bind(2, draw.issue);
    add.Bind(3, draw.code);
    // The failure is read before Reset, which would clear its system error.
    if (add.Step() != SQLITE_DONE) return failed();
    add.Reset();
    if (sqlite3_changes(db_.get()) == 1) {
      ++counts.added;
      continue;
    }
    Statement& stored = lookup.value();
    stored.Bind(2, draw.issue);
    if (stored.Step() != SQLITE_ROW) return failed();
    if (stored.Text(0) == draw.code) {
      ++counts.unchanged;
    } else {
      ++counts.conflicts;
      const std::string storedCode(stored.Text(0));
      const std::string storedSource(stored.Text(1));
      Statement& record = conflict.value();
      record.Bind(2, draw.issue);
      record.Bind(3, storedCode);
      record.Bind(4, storedSource);
      record.Bind(5, draw.code);
      record.Bind(6, source);
      record.Bind(7, storedAt);
      if (record.Step() != SQLITE_DONE) return failed();
      record.Reset();
    }
    stored.Reset();
  }
  if (auto committed = transaction.value().Commit(); !committed) return failed();
  return counts;
}

base::Result<std::vector<lottery::Draw>> DrawStore::Newest(std::size_t n) const {
  auto newest = Statement::Prepare(
      db_, "SELECT issue, code FROM draws WHERE lottery = ?1 ORDER BY issue DESC");
  if (!newest) return newest.error();
  newest.value().Bind(1, lottery_->id);
  std::vector<lottery::Draw> draws;
  draws.reserve(std::min<std::size_t>(n, 1 << 20));
  int rc = SQLITE_DONE;
  while (draws.size() < n && (rc = newest.value().Step()) == SQLITE_ROW) {
    const std::string_view issue = newest.value().Text(0), code = newest.value().Text(1);
    if (PassesTheDoor(issue, code, *lottery_))
      draws.push_back({std::string(issue), std::string(code)});
  }
  if (rc != SQLITE_DONE && rc != SQLITE_ROW) return base::Error{db_.LastError()};
  std::reverse(draws.begin(), draws.end());
  return draws;
}

base::Result<ArchiveSummary> DrawStore::Summary() const {
  auto count = Statement::Prepare(db_, "SELECT count(*) FROM draws WHERE lottery = ?1");
  auto first =
      Statement::Prepare(db_, "SELECT issue FROM draws WHERE lottery = ?1 ORDER BY issue LIMIT 1");
  auto last = Statement::Prepare(
      db_, "SELECT issue FROM draws WHERE lottery = ?1 ORDER BY issue DESC LIMIT 1");
  if (!count || !first || !last) return base::Error{db_.LastError()};
  for (auto* statement : {&count.value(), &first.value(), &last.value()}) {
    statement->Bind(1, lottery_->id);
  }
  if (count.value().Step() != SQLITE_ROW) return base::Error{db_.LastError()};
  ArchiveSummary summary;
  summary.count = count.value().Int(0);
  if (first.value().Step() == SQLITE_ROW) summary.first = first.value().Text(0);
  if (last.value().Step() == SQLITE_ROW) summary.last = last.value().Text(0);
  return summary;
}

base::Status DrawStore::VisitOldestFirst(const DrawVisitor& visit) const {
  auto all =
      Statement::Prepare(db_, "SELECT issue, code FROM draws WHERE lottery = ?1 ORDER BY issue");
  if (!all) return all.error();
  all.value().Bind(1, lottery_->id);
  int rc;
  while ((rc = all.value().Step()) == SQLITE_ROW) {
    if (PassesTheDoor(all.value().Text(0), all.value().Text(1), *lottery_))
      visit(all.value().Text(0), all.value().Text(1));
  }
  if (rc != SQLITE_DONE) return base::Error{db_.LastError()};
  return base::Ok{};
}

base::Result<std::vector<Conflict>> DrawStore::Conflicts() const {
  auto all = Statement::Prepare(db_,
                                "SELECT issue, stored_code, stored_source, offered_code, "
                                "offered_source, seen_at FROM conflicts WHERE lottery = ?1 "
                                "ORDER BY rowid");
  if (!all) return all.error();
  all.value().Bind(1, lottery_->id);
  std::vector<Conflict> conflicts;
  int rc;
  while ((rc = all.value().Step()) == SQLITE_ROW) {
    Conflict& conflict = conflicts.emplace_back();
    for (auto [column, text] : {std::pair{0, &conflict.issue},
                                {1, &conflict.storedCode},
                                {2, &conflict.storedSource},
                                {3, &conflict.offeredCode},
                                {4, &conflict.offeredSource},
                                {5, &conflict.seenAt}}) {
      *text = all.value().Text(column);
    }
  }
  if (rc != SQLITE_DONE) return base::Error{db_.LastError()};
  return conflicts;
}

}  // namespace archive
