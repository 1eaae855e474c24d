#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "base/result.h"

namespace search {

// The best formulas of a search become the presets of their kind: written as
// presets 1..m of kind (1 position, 2 two-star, 3 three-star) into
// dataDir/gs.ini, each encoded by plan::EncodeFormulaText, in one replace of
// the file; presets after m keep what they held. A formula that cannot be
// stored keeps its preset's old value while the others are written; the error
// names it, and says why the file could not be written.
base::Status SaveBestAsPresets(const std::filesystem::path& dataDir, int kind,
                               const std::vector<std::string>& formulas);

}  // namespace search
