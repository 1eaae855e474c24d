#pragma once

#include <filesystem>

#include "base/result.h"
#include "core/context.h"

namespace settings {

// sz.ini in the data directory: the twenty one-key panel settings and each
// plan page's own formula (自定义 and 所用公式) survive a restart. Saved only
// when the user asks for it.
std::filesystem::path SettingsFilePath(const core::Env& ctx);

// Writes every key in one replace of the file. A failure, or a key
// that could not be written, is shown in a message box naming the file and
// the reason, and returned.
base::Status SaveSettings(const core::Env& ctx);

// A missing or unreadable file, and a key missing from the file, leave their
// controls at their form values.
void LoadSettings(const core::Env& ctx);

void BindSettingsHandlers(const core::Env& ctx);

}  // namespace settings
