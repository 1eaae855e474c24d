#pragma once

#include <cstdlib>
#include <filesystem>

// The program under test: the one this build made, or the one in the
// directory LANZHOU_BIN_DIR names (a sanitizer build's, say).
inline std::filesystem::path LanzhouProgram() {
  const char* bin = std::getenv("LANZHOU_BIN_DIR");
  return std::filesystem::path(bin ? bin : LANZHOU_TEST_BIN_DIR) / "lanzhou";
}
