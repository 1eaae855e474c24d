// Both latest-draw feeds from the network, with the insert rule against any
// top row: a draw taken from a feed is always a well-formed row.
#include <fuzzer/FuzzedDataProvider.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "draws/feed_draw.h"
#include "draws/issue_key.h"
#include "lottery/lottery.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  const draws::Feed feed = data.ConsumeBool() ? draws::Feed::First : draws::Feed::Second;
  const std::string topIssue = data.ConsumeRandomLengthString(16);
  const std::string body = data.ConsumeRemainingBytesAsString();

  const auto draw = draws::ParseFeedDraw(
      feed, body, std::chrono::local_days{std::chrono::year{2014} / 1 / 5} + std::chrono::hours(12),
      lottery::Chongqing());
  if (!draw) return 0;
  if (!draws::IsDigits(draw->issueKey, 9) || !draws::IsDigits(draw->code, 5)) std::abort();
  const auto row = draws::FeedDrawToInsert(*draw, topIssue);
  if (row && (row->code != draw->code || row->issue.size() != 12 || row->issue[8] != '-' ||
              draws::IssueKeyText(row->issue) != draw->issueKey)) {
    std::abort();
  }
  return 0;
}
