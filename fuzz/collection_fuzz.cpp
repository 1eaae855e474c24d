// What the user types into the collection page and what the result boxes
// hold: positions always order, blocks never exceed their row count.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "output/collection.h"
#include "output/number_text.h"
#include "output/plan_block.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  output::PerKind positions;
  for (std::string& position : positions) {
    position = data.ConsumeRandomLengthString(12);
    if (std::isnan(output::NumericValue(position))) std::abort();
  }
  const std::vector<int> order = output::CollectionOrder(positions);
  const auto included = std::count_if(positions.begin(), positions.end(),
                                      [](const std::string& p) { return !p.empty(); });
  if (static_cast<long>(order.size()) != included) std::abort();

  const std::string rowText = data.ConsumeRandomLengthString(8);
  const int rows = output::RowCount(rowText);
  const std::string report = data.ConsumeRemainingBytesAsString();
  const std::string block = output::PlanBlock(report, rows);
  std::size_t lines = 0;
  for (std::size_t at = block.find("\r\n"); at != std::string::npos;
       at = block.find("\r\n", at + 2)) {
    ++lines;
  }
  if (rows < 0 || lines > static_cast<std::size_t>(rows)) std::abort();
  if (!block.empty() && (block.size() < 2 || block.compare(block.size() - 2, 2, "\r\n") != 0)) {
    std::abort();
  }
  return 0;
}
