// Console command lines from a script or a chat bot, cut and unescaped
// without running them: parsing changes nothing, so one console serves every
// input.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "app/console.h"
#include "app/console_line.h"
#include "ui/memory_window.h"

namespace {

bool Inside(std::string_view part, std::string_view whole) {
  return part.empty() ||
         (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  static ui::MemoryWindow window;
  static std::ostringstream out;
  static const app::Console console(window, out);
  const std::string_view line(reinterpret_cast<const char*>(bytes), size);

  const auto parsed = console.Parse(line);
  if (parsed) {
    const app::ParsedLine& words = parsed.value();
    if (words.word != line.substr(0, line.find(' '))) std::abort();
    for (std::size_t i = 0; i < words.args.size(); ++i) {
      if (!Inside(words.args[i], line)) std::abort();
      if (i + 1 < words.args.size() && words.args[i].find(' ') != std::string_view::npos) {
        std::abort();
      }
    }
  }
  if (!out.str().empty()) std::abort();

  if (app::UnescapeText(app::EscapeText(line)).value() != line) std::abort();
  // Escaping writes these four as escapes, so only a line without them raw
  // comes back unchanged.
  constexpr std::string_view kEscapedRaw("\n\r\t\0", 4);
  const auto plain = app::UnescapeText(line);
  if (plain && line.find_first_of(kEscapedRaw) == std::string_view::npos &&
      app::EscapeText(plain.value()) != line) {
    std::abort();
  }
  return 0;
}
