#pragma once

#include <filesystem>

#include "core/context.h"

namespace settings {

// sz.ini in the data directory: the twenty one-key panel settings that
// survive a restart. Saved only when the user asks for it.
std::filesystem::path SettingsFilePath(const core::Env& ctx);

// Writes every key even when some fail; shows nothing. Returns how many keys
// could not be written, so callers and tests can tell.
int SaveSettings(const core::Env& ctx);

// A missing or unreadable file leaves every control at its form value.
void LoadSettings(const core::Env& ctx);

void BindSettingsHandlers(const core::Env& ctx);

}  // namespace settings
