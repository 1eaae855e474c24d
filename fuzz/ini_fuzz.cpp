// The INI reader and editor on arbitrary file text: no crash, and a key just
// set reads back as set.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "storage/ini_file.h"

namespace {

// Names and values the program itself writes: no brackets, '=', quotes,
// comment marks, line breaks or blanks at the ends.
std::string Plain(FuzzedDataProvider& data, std::size_t most) {
  static constexpr char kAlphabet[] = "abcAB019 _-";
  std::string text;
  const std::size_t length = data.ConsumeIntegralInRange<std::size_t>(1, most);
  for (std::size_t i = 0; i < length; ++i) {
    text += kAlphabet[data.ConsumeIntegralInRange<std::size_t>(0, sizeof kAlphabet - 2)];
  }
  while (!text.empty() && text.front() == ' ') text.erase(0, 1);
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text.empty() ? "k" : text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  const std::string section = Plain(data, 4);
  const std::string key = Plain(data, 4);
  const std::string value = data.ConsumeBool() ? std::string() : Plain(data, 8);
  const std::string content = data.ConsumeRemainingBytesAsString();

  (void)storage::LookupIniKey(content, section, key, "fallback");
  const std::string updated = storage::SetIniKey(content, section, key, value);
  if (storage::LookupIniKey(updated, section, key, "\x01") != value) {
    std::abort();
  }
  return 0;
}
