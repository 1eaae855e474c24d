#include "lottery/draw_sources.h"

#include "storage/ini_file.h"

namespace lottery {
namespace {

// A base address is joined to paths that begin with "/".
std::string BaseAddress(std::string value) {
  size_t first = value.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  value = value.substr(first, value.find_last_not_of(" \t") - first + 1);
  while (value.ends_with('/')) value.pop_back();
  return value;
}

}  // namespace

DrawSources DefaultDrawSources() {
  const std::string mirror = "http://127.0.0.1:" + std::to_string(kDrawMirrorPort);
  return {mirror, mirror, mirror, mirror, mirror + "/announcement.html"};
}

DrawSources LoadDrawSources(const std::filesystem::path& dataDir) {
  const std::filesystem::path file = dataDir / "sources.ini";
  const DrawSources defaults = DefaultDrawSources();
  auto base = [&](const char* key, const std::string& fallback) {
    std::string value = BaseAddress(storage::ReadIniKey(file, "sources", key, ""));
    return value.empty() ? fallback : value;
  };
  DrawSources sources;
  sources.history = base("history", defaults.history);
  sources.feed1 = base("feed1", defaults.feed1);
  sources.feed2 = base("feed2", defaults.feed2);
  sources.video = base("video", defaults.video);
  std::string announcement = storage::ReadIniKey(file, "sources", "announcement", "");
  size_t first = announcement.find_first_not_of(" \t");
  sources.announcement =
      first == std::string::npos
          ? defaults.announcement
          : announcement.substr(first, announcement.find_last_not_of(" \t") - first + 1);
  return sources;
}

}  // namespace lottery
