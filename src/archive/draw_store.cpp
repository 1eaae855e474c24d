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
constexpr std::int64_t kSchemaVersion = 1;

constexpr const char* kSchema = R"sql(
CREATE TABLE draws(
  issue TEXT PRIMARY KEY NOT NULL,
  code TEXT NOT NULL,
  source TEXT NOT NULL,
  stored_at TEXT NOT NULL
) WITHOUT ROWID;
CREATE TABLE conflicts(
  issue TEXT NOT NULL,
  stored_code TEXT NOT NULL,
  stored_source TEXT NOT NULL,
  offered_code TEXT NOT NULL,
  offered_source TEXT NOT NULL,
  seen_at TEXT NOT NULL,
  UNIQUE(issue, offered_code, offered_source)
);
)sql";

constexpr std::string_view kDrawColumns = "issue,code,source,stored_at";
constexpr std::string_view kConflictColumns =
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
    auto draws = Column(db, "SELECT name FROM pragma_table_info('draws')");
    auto conflicts = Column(db, "SELECT name FROM pragma_table_info('conflicts')");
    if (!draws || !conflicts) return SqliteFailure(db);
    if (draws.value() != kDrawColumns || conflicts.value() != kConflictColumns) {
      return Broken("the archive's tables are not ours");
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
bool PassesTheDoor(std::string_view issue, std::string_view code) {
  return CheckIssue(issue) && CheckCode(code);
}

}  // namespace

base::Result<OpenedStore> DrawStore::Open(const std::filesystem::path& file, local_seconds now) {
  Attempt first = TryOpen(file);
  if (first.db) return OpenedStore{DrawStore(std::move(*first.db)), {}, std::nullopt};
  if (!first.broken) return base::Error{"cannot open the draw archive: " + first.message};

  auto aside = SetAside(file, now);
  if (!aside) return aside.error();
  Attempt fresh = TryOpen(file);
  if (!fresh.db) return base::Error{"cannot create the draw archive: " + fresh.message};
  std::string notice =
      "号码库文件已损坏，已改名为 " + aside.value().filename().string() + "，并新建了号码库";
  return OpenedStore{DrawStore(std::move(*fresh.db)), std::move(notice), aside.value()};
}

base::Result<StoreCounts> DrawStore::Store(std::span<const Draw> draws, std::string_view source,
                                           local_seconds now) {
  auto failed = [this] { return base::Error{"cannot store draws: " + db_.LastError()}; };
  auto transaction = Transaction::Begin(db_);
  if (!transaction) return failed();
  auto insert =
      Statement::Prepare(db_,
                         "INSERT INTO draws(issue, code, source, stored_at) VALUES(?1, ?2, ?3, ?4) "
                         "ON CONFLICT(issue) DO NOTHING");
  auto lookup = Statement::Prepare(db_, "SELECT code, source FROM draws WHERE issue = ?1");
  auto conflict = Statement::Prepare(
      db_,
      "INSERT INTO conflicts(issue, stored_code, stored_source, offered_code, "
      "offered_source, seen_at) VALUES(?1, ?2, ?3, ?4, ?5, ?6) ON CONFLICT DO NOTHING");
  if (!insert || !lookup || !conflict) return failed();

  const std::string storedAt = TimeText(now, "%04d-%02u-%02u %02d:%02d:%02d");
  insert.value().Bind(3, source);
  insert.value().Bind(4, storedAt);
  StoreCounts counts;
  for (const Draw& draw : draws) {
    if (!CheckIssue(draw.issue) || !CheckCode(draw.code)) {
      ++counts.rejected;
      continue;
    }
    Statement& add = insert.value();
    add.Bind(1, draw.issue);
    add.Bind(2, draw.code);
    // The failure is read before Reset, which would clear its system error.
    if (add.Step() != SQLITE_DONE) return failed();
    add.Reset();
    if (sqlite3_changes(db_.get()) == 1) {
      ++counts.added;
      continue;
    }
    Statement& stored = lookup.value();
    stored.Bind(1, draw.issue);
    if (stored.Step() != SQLITE_ROW) return failed();
    if (stored.Text(0) == draw.code) {
      ++counts.unchanged;
    } else {
      ++counts.conflicts;
      const std::string storedCode(stored.Text(0));
      const std::string storedSource(stored.Text(1));
      Statement& record = conflict.value();
      record.Bind(1, draw.issue);
      record.Bind(2, storedCode);
      record.Bind(3, storedSource);
      record.Bind(4, draw.code);
      record.Bind(5, source);
      record.Bind(6, storedAt);
      if (record.Step() != SQLITE_DONE) return failed();
      record.Reset();
    }
    stored.Reset();
  }
  if (auto committed = transaction.value().Commit(); !committed) return failed();
  return counts;
}

base::Result<std::vector<Draw>> DrawStore::Newest(std::size_t n) const {
  auto newest = Statement::Prepare(db_, "SELECT issue, code FROM draws ORDER BY issue DESC");
  if (!newest) return newest.error();
  std::vector<Draw> draws;
  draws.reserve(std::min<std::size_t>(n, 1 << 20));
  int rc = SQLITE_DONE;
  while (draws.size() < n && (rc = newest.value().Step()) == SQLITE_ROW) {
    const std::string_view issue = newest.value().Text(0), code = newest.value().Text(1);
    if (PassesTheDoor(issue, code)) draws.push_back({std::string(issue), std::string(code)});
  }
  if (rc != SQLITE_DONE && rc != SQLITE_ROW) return base::Error{db_.LastError()};
  std::reverse(draws.begin(), draws.end());
  return draws;
}

base::Result<ArchiveSummary> DrawStore::Summary() const {
  auto count = Statement::Prepare(db_, "SELECT count(*) FROM draws");
  auto first = Statement::Prepare(db_, "SELECT issue FROM draws ORDER BY issue LIMIT 1");
  auto last = Statement::Prepare(db_, "SELECT issue FROM draws ORDER BY issue DESC LIMIT 1");
  if (!count || !first || !last || count.value().Step() != SQLITE_ROW) {
    return base::Error{db_.LastError()};
  }
  ArchiveSummary summary;
  summary.count = count.value().Int(0);
  if (first.value().Step() == SQLITE_ROW) summary.first = first.value().Text(0);
  if (last.value().Step() == SQLITE_ROW) summary.last = last.value().Text(0);
  return summary;
}

base::Status DrawStore::VisitOldestFirst(const DrawVisitor& visit) const {
  auto all = Statement::Prepare(db_, "SELECT issue, code FROM draws ORDER BY issue");
  if (!all) return all.error();
  int rc;
  while ((rc = all.value().Step()) == SQLITE_ROW) {
    if (PassesTheDoor(all.value().Text(0), all.value().Text(1)))
      visit(all.value().Text(0), all.value().Text(1));
  }
  if (rc != SQLITE_DONE) return base::Error{db_.LastError()};
  return base::Ok{};
}

base::Result<std::vector<Conflict>> DrawStore::Conflicts() const {
  auto all = Statement::Prepare(db_,
                                "SELECT issue, stored_code, stored_source, offered_code, "
                                "offered_source, seen_at FROM conflicts ORDER BY rowid");
  if (!all) return all.error();
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
