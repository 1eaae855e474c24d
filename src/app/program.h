#pragma once

#include <filesystem>
#include <optional>

#include "app/program_state.h"

namespace app {

// The program-wide state from the entry point to the end of the run. Nothing
// is saved when it ends: settings are written only by their button.
class Program {
 public:
  Program(std::filesystem::path dataDir, std::filesystem::path workDir);
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Called once the main window has been built from its form: binds every
  // handler, then runs the creation handler unless `runCreationHandler` is
  // false. Without it the controls keep their form values, yet clicks still
  // reach their handlers, so scripts can drive a plan over rows they insert.
  void Start(ui::Window& window, bool runCreationHandler = true);

  ProgramState& state() { return state_; }
  // Set by Start.
  Context* context() { return context_ ? &*context_ : nullptr; }

 private:
  ProgramState state_;
  std::filesystem::path dataDir_;
  std::filesystem::path workDir_;
  std::optional<Context> context_;
};

}  // namespace app
