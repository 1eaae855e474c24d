// gs.ini values as users and old versions left them: any text decodes, and a
// formula the file can hold comes back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "plan/preset_formula_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(bytes), size);
  (void)plan::DecodeFormulaText(text);

  if (text.find('\0') == std::string::npos) {
    const auto encoded = plan::EncodeFormulaText(text);
    if (encoded.ok() && plan::DecodeFormulaText(encoded.value()) != text) {
      std::abort();
    }
  }
  return 0;
}
