#include "search/save_best_as_presets.h"

#include "plan/preset_formula_file.h"
#include "storage/ini_file.h"

namespace search {

base::Status SaveBestAsPresets(const std::filesystem::path& dataDir, int kind,
                               const std::vector<std::string>& formulas) {
  std::vector<storage::IniEntry> entries;
  std::string problems;
  auto report = [&problems](const std::string& problem) {
    problems += (problems.empty() ? "" : "；") + problem;
  };
  for (std::size_t i = 0; i < formulas.size(); ++i) {
    auto encoded = plan::EncodeFormulaText(formulas[i]);
    if (encoded) {
      entries.push_back({std::to_string(kind), std::to_string(i + 1), encoded.value()});
    } else {
      report("预设 " + std::to_string(i + 1) + "：" + encoded.error().message);
    }
  }
  if (auto written = storage::WriteIniKeys(dataDir / plan::kPresetFileName, entries); !written) {
    report(written.error().message);
  }
  if (!problems.empty()) return base::Error{problems};
  return base::Ok{};
}

}  // namespace search
