#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "base/result.h"
#include "plan/plan_run.h"
#include "plan/plan_settings.h"

namespace plan {

// gs.ini: section "1".."3" per plan kind, keys "1".."10" per preset. A value
// is a comma-separated list of integers, each standing for its four bytes
// (32-bit, little-endian) with zero bytes dropped; the bytes are the GBK text
// of the formula.
inline constexpr const char* kPresetFileName = "gs.ini";

// Decodes one stored value into a UTF-8 formula text.
std::string DecodeFormulaText(std::string_view stored);

// One number 0-255 per GBK byte of formula: "DCC*657" gives
// "68,67,67,42,54,53,55". Fails for a character GBK cannot hold.
base::Result<std::string> EncodeFormulaText(std::string_view formula);

// The ten presets of kind from dataDir/gs.ini; a missing file, section or key
// gives an empty formula.
PresetFormulas LoadPresetFormulas(const std::filesystem::path& dataDir, PlanKind kind);

}  // namespace plan
