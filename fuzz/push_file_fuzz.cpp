// push.ini as a user may leave it: reading never fails hard, and writing the
// check states back changes nothing but the checked= lines, after which
// every group reads back with the state it was given.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "push/push_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  const auto flips = data.ConsumeIntegral<std::uint64_t>();
  const std::string content = data.ConsumeRemainingBytesAsString();

  std::vector<push::Group> groups = push::ParseGroups(content);
  std::map<std::string, int> sections;
  for (const push::Group& group : groups) ++sections[group.name];
  for (std::size_t i = 0; i < groups.size(); ++i) groups[i].checked = (flips >> (i % 64)) & 1;

  const std::vector<push::Group> back = push::ParseGroups(push::SetCheckedStates(content, groups));
  if (back.size() != groups.size()) std::abort();
  for (std::size_t i = 0; i < groups.size(); ++i) {
    if (back[i].name != groups[i].name || back[i].url != groups[i].url ||
        back[i].secret != groups[i].secret || back[i].chatId != groups[i].chatId) {
      std::abort();
    }
    // Sections of one name share their state: the first group given wins.
    if (sections[groups[i].name] == 1 && back[i].checked != groups[i].checked) std::abort();
  }
  return 0;
}
