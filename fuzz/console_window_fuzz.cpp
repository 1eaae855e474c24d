// Console scripts run on a window: any line gets an answer or an "error: ..."
// line, never a crash. Each input gets a fresh window, since the window has no
// reset and state kept between inputs would make a crash unrepeatable; that
// costs milliseconds per input, so fuzz_console covers the line parsing at
// full speed and this target the commands behind it.
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "app/console.h"
#include "ui/memory_window.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(bytes), size);
  ui::MemoryWindow window;
  std::ostringstream out;
  app::Console console(window, out);
  while (!input.empty()) {
    const std::size_t end = input.find('\n');
    const std::string_view line = input.substr(0, end);
    input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    if (!console.Execute(line)) break;
  }
  return 0;
}
