#include "plan/preset_formula_file.h"

#include <climits>
#include <cstdint>

#include "base/codepage.h"
#include "base/text.h"
#include "storage/ini_file.h"

namespace plan {
namespace {

// Older installations read a value into a 10240-byte buffer; longer ones are
// cut the same way.
constexpr std::size_t kMaxStoredValue = 10239;

// atoi on a 32-bit platform: blanks, a sign, digits; out-of-range values
// saturate as strtol does there.
std::int32_t ReadInt32(std::string_view piece) {
  std::size_t i = 0;
  while (i < piece.size() && (piece[i] == ' ' || (piece[i] >= '\t' && piece[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < piece.size() && (piece[i] == '+' || piece[i] == '-')) negative = piece[i++] == '-';
  std::int64_t value = 0;
  for (; i < piece.size() && base::IsDigit(piece[i]); ++i) {
    value = value * 10 + (piece[i] - '0');
    if (value > static_cast<std::int64_t>(INT32_MAX) + 1) break;
  }
  if (negative) value = -value;
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::string DecodeFormulaText(std::string_view stored) {
  std::string bytes;
  while (true) {
    auto comma = stored.find(',');
    auto value = static_cast<std::uint32_t>(ReadInt32(stored.substr(0, comma)));
    for (int shift = 0; shift < 32; shift += 8) {
      auto byte = static_cast<char>((value >> shift) & 0xFF);
      if (byte != 0) bytes.push_back(byte);
    }
    if (comma == std::string_view::npos) break;
    stored.remove_prefix(comma + 1);
  }
  if (auto text = base::GbkToUtf8(bytes)) return *text;
  return base::DecodeGbkOrUtf8(bytes);
}

base::Result<std::string> EncodeFormulaText(std::string_view formula) {
  auto bytes = base::Utf8ToGbk(formula);
  if (!bytes) return base::Error{"公式含有无法保存的字符"};
  std::string stored;
  for (char c : *bytes) {
    if (!stored.empty()) stored.push_back(',');
    stored += std::to_string(static_cast<unsigned char>(c));
  }
  return stored;
}

PresetFormulas LoadPresetFormulas(const std::filesystem::path& dataDir, PlanKind kind) {
  PresetFormulas formulas;
  auto file = dataDir / kPresetFileName;
  auto section = std::to_string(static_cast<int>(kind));
  for (std::size_t k = 0; k < formulas.size(); ++k) {
    std::string stored = storage::ReadIniKey(file, section, std::to_string(k + 1), "");
    if (stored.size() > kMaxStoredValue) stored.resize(kMaxStoredValue);
    if (!stored.empty()) formulas[k] = DecodeFormulaText(stored);
  }
  return formulas;
}

}  // namespace plan
