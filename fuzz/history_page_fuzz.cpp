// A day page from the network: whatever it holds, every item taken from it is
// a well-formed "YYYYMMDD-NNNddddd".
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "draws/history_page.h"

namespace {

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
  const std::vector<std::string> items = draws::ParseHistoryPage(page, "20140301");
  for (const std::string& item : items) {
    if (!WellFormed(item)) std::abort();
  }
  std::vector<std::string> list = {
      "20140228-120"
      "12345"};
  draws::PrependHistoryItems(list, page, "20140301");
  if (list.size() != items.size() + 1 || list.back() !=
                                             "20140228-120"
                                             "12345") {
    std::abort();
  }
  return 0;
}
