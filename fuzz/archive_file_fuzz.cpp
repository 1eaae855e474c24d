// A draws.db as anyone may leave it: opening it never crashes; a file it
// cannot use is left byte for byte; every draw the archive hands out passes
// the door, and a draw stored in it can be read back.
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "archive/draw_store.h"

namespace {

// In memory where the machine has it: every input is a fresh file.
const std::filesystem::path& Directory() {
  static const std::filesystem::path directory = [] {
    std::error_code error;
    const std::filesystem::path shm = "/dev/shm";
    const auto base =
        std::filesystem::is_directory(shm, error) ? shm : std::filesystem::temp_directory_path();
    return base / ("lanzhou-archive-fuzz-" + std::to_string(::getpid()));
  }();
  return directory;
}

// A fresh file per input: empty the directory (the last input's file, its
// journals, a file set aside) rather than remake it, which costs twice the
// syscalls.
void RemoveTheLastInput() {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(Directory(), ignored)) {
    std::filesystem::remove(entry.path(), ignored);
  }
}

std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void MustPassTheDoor(std::string_view issue, std::string_view code) {
  if (!lottery::CheckIssue(issue, lottery::Chongqing()) ||
      !lottery::CheckCode(code, lottery::Chongqing())) {
    std::abort();
  }
}

}  // namespace

// SQLite's memory statistics take a lock per allocation and each connection's
// lookaside is a large allocation that ASan fills: neither is under test.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
  sqlite3_config(SQLITE_CONFIG_LOOKASIDE, 0, 0);
  std::filesystem::remove_all(Directory());
  std::filesystem::create_directories(Directory());
  // Fork mode starts a process per job: each would leave its directory behind.
  std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(Directory(), ignored);
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::filesystem::path file = Directory() / archive::kArchiveFileName;
  RemoveTheLastInput();
  const std::string content(reinterpret_cast<const char*>(bytes), size);
  std::ofstream(file, std::ios::binary) << content;

  using namespace std::chrono;
  const local_seconds now = local_days{year{2026} / 12 / 10} + hours{12};
  auto opened = archive::DrawStore::Open(file, lottery::Chongqing(), now);
  if (!opened) {
    if (ReadBytes(file) != content) std::abort();
    return 0;
  }
  archive::DrawStore& store = opened.value().store;
  if (auto newest = store.Newest(64)) {
    for (const lottery::Draw& draw : newest.value()) MustPassTheDoor(draw.issue, draw.code);
  }
  (void)store.VisitOldestFirst(MustPassTheDoor);
  (void)store.Summary();
  (void)store.Conflicts();

  const lottery::Draw draw{"20261210-059", "12345"};
  auto stored = store.Store({&draw, 1}, "fuzz", now);
  if (stored && stored.value().added == 1) {
    bool found = false;
    (void)store.VisitOldestFirst([&](std::string_view issue, std::string_view code) {
      found = found || (issue == draw.issue && code == draw.code);
    });
    if (!found) std::abort();
  }
  return 0;
}
