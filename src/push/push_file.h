#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/result.h"
#include "push/group.h"

namespace push {

// push.ini: UTF-8 INI as the INI layer reads it (storage/ini_file.h), one
// section per group, the section name being the group's name; keys type,
// url, secret, chat_id, checked (ASCII case ignored, the first of a repeated
// key counts). Lines before the first section and comments are ignored.

// The groups in file order, each checked for the keys its type needs.
std::vector<Group> ParseGroups(std::string_view content);

// Reads push.ini; an error text when it is missing or unreadable.
base::Result<std::vector<Group>> ReadGroups(const std::filesystem::path& file);

// The content with each named section's checked= set to its group's state:
// every other byte stays, a section without the key gets one after its last
// key line. Sections of groups not given are left alone.
std::string SetCheckedStates(std::string_view content, const std::vector<Group>& groups);

// Writes the groups' check states back into push.ini as one atomic replace,
// leaving the file with mode 0600. A missing or unreadable file is an error
// and nothing is written.
base::Status WriteCheckedStates(const std::filesystem::path& file,
                                const std::vector<Group>& groups);

// Whether group or others may read the file (its secrets).
bool ReadableByOthers(const std::filesystem::path& file);

// The hint shown when they may.
const std::string& PermissionHint();

}  // namespace push
