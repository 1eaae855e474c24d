#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "lottery/draw.h"
#include "lottery/lottery.h"
#include "storage/sqlite_db.h"

namespace archive {

inline constexpr const char* kArchiveFileName = "draws.db";

// What one Store call did with its draws.
struct StoreCounts {
  std::int64_t added = 0;
  std::int64_t unchanged = 0;  // stored before with the same code
  std::int64_t conflicts = 0;  // stored before with another code, kept
  std::int64_t rejected = 0;   // refused at the door
  bool operator==(const StoreCounts&) const = default;
};

// The archive at a glance; first and last are empty when count is 0.
struct ArchiveSummary {
  std::int64_t count = 0;
  std::string first;
  std::string last;
  bool operator==(const ArchiveSummary&) const = default;
};

// The same issue offered with another code than the stored one.
struct Conflict {
  std::string issue;
  std::string storedCode;
  std::string storedSource;
  std::string offeredCode;
  std::string offeredSource;
  std::string seenAt;  // "YYYY-MM-DD HH:MM:SS"
  bool operator==(const Conflict&) const = default;
};

struct OpenedStore;

// Every draw ever seen, in draws.db (SQLite, WAL), keyed by lottery and
// issue; a store reads and adds the draws of the one lottery it was opened
// for. Draws are only ever added: a stored draw is never changed or removed.
// One thread at a time.
class DrawStore {
 public:
  // Opens or creates the archive for the lottery, which must outlive the
  // store. An archive of the first version, which held Chongqing's draws
  // alone, is brought to the current one in place. A file that is not an
  // archive (not SQLite, another schema, a failed integrity check) is renamed
  // aside to "<file>.broken-YYYYMMDD-HHMMSS" and a new archive made in its
  // place; the notice then says so. Fails, touching nothing, when the file
  // cannot be opened at all (no access, locked, a directory, a newer archive
  // version) or its upgrade fails.
  static base::Result<OpenedStore> Open(const std::filesystem::path& file,
                                        const lottery::Lottery& lottery,
                                        std::chrono::local_seconds now);

  const lottery::Lottery& lottery() const { return *lottery_; }

  // Stores a batch in one transaction. Each draw is checked at the door; an
  // issue already stored keeps its code, and another code is recorded as a
  // conflict with both sources.
  base::Result<StoreCounts> Store(std::span<const lottery::Draw> draws, std::string_view source,
                                  std::chrono::local_seconds now);

  // The newest n draws, oldest first.
  base::Result<std::vector<lottery::Draw>> Newest(std::size_t n) const;
  base::Result<ArchiveSummary> Summary() const;
  // Every draw, oldest first.
  using DrawVisitor = std::function<void(std::string_view issue, std::string_view code)>;
  base::Status VisitOldestFirst(const DrawVisitor& visit) const;
  base::Result<std::vector<Conflict>> Conflicts() const;

 private:
  DrawStore(storage::Database db, const lottery::Lottery& lottery)
      : db_(std::move(db)), lottery_(&lottery) {}

  storage::Database db_;
  const lottery::Lottery* lottery_;
};

struct OpenedStore {
  DrawStore store;
  // Empty, or the text the page shows after a broken file was set aside.
  std::string notice;
  std::optional<std::filesystem::path> brokenFile;  // where it went
};

}  // namespace archive
