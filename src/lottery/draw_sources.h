#pragma once

#include <filesystem>
#include <string>

namespace lottery {

// Where the draw pages come from: base addresses (scheme, host, optional
// port) to which a lottery's fixed paths are appended, and the announcement
// page as a whole address. Read from sources.ini, section [sources], in the
// data directory, at each use; every missing key falls back to the local draw
// mirror.
struct DrawSources {
  std::string history;
  std::string feed1;
  std::string feed2;
  std::string video;
  std::string announcement;
};

inline constexpr int kDrawMirrorPort = 18733;

DrawSources DefaultDrawSources();
DrawSources LoadDrawSources(const std::filesystem::path& dataDir);

// A lottery's pages on those hosts: fixed by the sites.
struct SourcePages {
  std::string history;  // path and query of a day's page, up to the day span
  std::string firstFeed;
  std::string secondFeed;
};

}  // namespace lottery
