#pragma once

#include <filesystem>
#include <optional>

#include "app/area_states.h"
#include "core/context.h"

namespace app {

// The program-wide state from the entry point to the end of the run. Nothing
// is saved when it ends: settings are written only by their button.
class Program {
 public:
  // Every file the program reads or writes lives in dataDir, the record of
  // used formulas too: an installed program's working directory may be / or
  // the home directory.
  explicit Program(const std::filesystem::path& dataDir) : Program(dataDir, dataDir) {}
  // A test may keep the record of used formulas (jhgsj.dll) in workDir.
  Program(std::filesystem::path dataDir, std::filesystem::path workDir);
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Called once the main window has been built from its form: binds every
  // handler, then runs the creation handler unless `runCreationHandler` is
  // false. Without it the controls keep their form values, yet clicks still
  // reach their handlers, so scripts can drive a plan over rows they insert.
  void Start(ui::Window& window, bool runCreationHandler = true);

  // Set by Start.
  core::Context* context() { return context_ ? &*context_ : nullptr; }

 private:
  AreaStates states_;
  std::filesystem::path dataDir_;
  std::filesystem::path workDir_;
  std::optional<core::Context> context_;
};

}  // namespace app
