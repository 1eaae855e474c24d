#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "lottery/draw.h"
#include "lottery/lottery.h"

namespace archive {

struct RejectedLine {
  std::int64_t line = 0;  // 1-based
  std::string reason;
  bool operator==(const RejectedLine&) const = default;
};

// What reading a draw text found besides its draws.
struct DrawTextScan {
  std::int64_t lines = 0;
  std::int64_t rejected = 0;
  std::vector<RejectedLine> firstRejects;  // at most kKeptRejects
};

inline constexpr std::size_t kKeptRejects = 20;
// Longer lines are rejected without being held: a file without line ends
// must not end up in memory whole.
inline constexpr std::size_t kMaxLineBytes = 1024;

// Splits a draw text fed in pieces of any size into lines (LF or CR LF, a
// UTF-8 BOM at the start skipped) and parses each with ParseDrawLine for
// the lottery, which must outlive the reader.
class DrawTextReader {
 public:
  explicit DrawTextReader(const lottery::Lottery& lottery) : lottery_(&lottery) {}

  void Feed(std::string_view bytes);
  // Ends the last line when the text does not end with a line end.
  void Finish();

  // The draws read so far; the caller may take them and clear the vector.
  std::vector<lottery::Draw>& draws() { return draws_; }
  const DrawTextScan& scan() const { return scan_; }

 private:
  void EndLine(std::string_view tail);
  void Hold(std::string_view piece);
  void Take(std::string_view line);
  void Reject(std::string reason);

  const lottery::Lottery* lottery_;
  std::string held_;  // the start of a line split between pieces
  bool lineOpen_ = false;
  bool overlong_ = false;
  std::vector<lottery::Draw> draws_;
  DrawTextScan scan_;
};

// Reads a draw file of the lottery piece by piece in bounded memory, handing its draws on in
// batches of batchSize (the last one smaller). Fails for a missing or
// unreadable file, one that is not a text file, or when takeDraws fails
// (then it stops there).
using DrawBatchSink = std::function<base::Status(std::span<const lottery::Draw> draws)>;
base::Result<DrawTextScan> ReadDrawFile(const std::filesystem::path& file,
                                        const lottery::Lottery& lottery,
                                        const DrawBatchSink& takeDraws, std::size_t batchSize);

// Control bytes that text never holds, NUL above all.
bool LooksBinary(std::string_view head);

}  // namespace archive
