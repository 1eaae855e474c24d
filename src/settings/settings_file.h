#pragma once

#include <filesystem>

#include "app/program_state.h"

namespace settings {

// sz.ini in the data directory: the twenty one-key panel settings that
// survive a restart. Saved only when the user asks for it.
std::filesystem::path SettingsFilePath(const app::Context& ctx);

// Writes every key even when some fail; shows nothing. Returns how many keys
// could not be written, so callers and tests can tell.
int SaveSettings(app::Context& ctx);

// A missing or unreadable file leaves every control at its form value.
void LoadSettings(app::Context& ctx);

void BindSettingsHandlers(app::Context& ctx);

}  // namespace settings
