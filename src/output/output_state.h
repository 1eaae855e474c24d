#pragma once

#include <array>
#include <string>

namespace output {

// The last plan block of each kind, as the collection was composed from them.
struct OutputState {
  std::array<std::string, 3> blockTexts;
};

}  // namespace output
