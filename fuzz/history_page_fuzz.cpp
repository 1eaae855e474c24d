// A day page from the network: whatever it holds, every item taken from it is
// a well-formed "YYYYMMDD-NNNddddd", and the items already listed stay behind
// the new ones. One parse per input: the page pattern dominates the cost.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "draws/history_page.h"
#include "lottery/lottery.h"

namespace {

constexpr char kListed[] = "20140228-12012345";

bool WellFormed(const std::string& item) {
  if (item.size() != 17 || item.compare(0, 8, "20140301") != 0 || item[8] != '-') {
    return false;
  }
  for (std::size_t i = 9; i < item.size(); ++i) {
    if (item[i] < '0' || item[i] > '9') return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string page(reinterpret_cast<const char*>(bytes), size);
  std::vector<std::string> list = {kListed};
  draws::PrependHistoryItems(list, page, "20140301", lottery::Chongqing());
  if (list.empty() || list.back() != kListed) std::abort();
  for (std::size_t i = 0; i + 1 < list.size(); ++i) {
    if (!WellFormed(list[i])) std::abort();
  }
  return 0;
}
