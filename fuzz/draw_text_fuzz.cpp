// A draw file from the user: whatever it holds and however it is cut into
// pieces, every draw taken from it passes the archive's door, the lines are
// counted as the line ends say, and the cut changes nothing.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "archive/draw_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  const std::size_t pieceSize = data.ConsumeIntegralInRange<std::size_t>(1, 4096);
  const std::string text = data.ConsumeRemainingBytesAsString();

  archive::DrawTextReader whole(lottery::Chongqing());
  whole.Feed(text);
  whole.Finish();
  archive::DrawTextReader cut(lottery::Chongqing());
  for (std::size_t at = 0; at < text.size(); at += pieceSize) {
    cut.Feed(std::string_view(text).substr(at, pieceSize));
  }
  cut.Finish();

  for (const lottery::Draw& draw : whole.draws()) {
    if (!lottery::CheckIssue(draw.issue, lottery::Chongqing()) ||
        !lottery::CheckCode(draw.code, lottery::Chongqing())) {
      std::abort();
    }
  }
  std::int64_t lines = 0;
  for (char c : text) lines += c == '\n';
  if (!text.empty() && text.back() != '\n') ++lines;
  const auto& scan = whole.scan();
  if (scan.lines != lines || scan.firstRejects.size() > archive::kKeptRejects ||
      scan.rejected < static_cast<std::int64_t>(scan.firstRejects.size()) ||
      scan.rejected + static_cast<std::int64_t>(whole.draws().size()) > lines) {
    std::abort();
  }
  if (cut.draws() != whole.draws() || cut.scan().lines != scan.lines ||
      cut.scan().rejected != scan.rejected || cut.scan().firstRejects != scan.firstRejects) {
    std::abort();
  }
  return 0;
}
