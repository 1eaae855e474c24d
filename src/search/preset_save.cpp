#include "search/preset_save.h"

#include "plan/preset_store.h"
#include "settings/ini_file.h"

namespace search {

base::Status SavePresetFormulas(const std::filesystem::path& dataDir, int kind,
                                const std::vector<std::string>& formulas) {
  base::Status result = base::Ok{};
  const auto file = dataDir / plan::kPresetFileName;
  for (std::size_t i = 0; i < formulas.size(); ++i) {
    auto encoded = plan::EncodeFormulaText(formulas[i]);
    base::Status written = encoded.ok()
                               ? settings::WriteIniKey(file, std::to_string(kind),
                                                       std::to_string(i + 1), encoded.value())
                               : base::Status(encoded.error());
    if (!written.ok() && result.ok()) result = written;
  }
  return result;
}

}  // namespace search
