#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "base/result.h"

namespace search {

// Writes formulas as presets 1..m of kind (1 position, 2 two-star, 3
// three-star) into dataDir/gs.ini, each encoded by plan::EncodeFormulaText;
// presets after m keep what they held. Every key is tried; the first failure
// is returned.
base::Status SavePresetFormulas(const std::filesystem::path& dataDir, int kind,
                                const std::vector<std::string>& formulas);

}  // namespace search
