#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "base/result.h"

namespace push {

// The last draw issue sent to each group, kept in the data directory so that
// a draw's text reaches a group at most once, also across a restart. The file
// is UTF-8 INI: one section per group name with its issue=.
using SentRecord = std::map<std::string, std::string, std::less<>>;

// The record; empty when the file does not exist yet, an error when it
// exists but cannot be read (sending must then not guess).
base::Result<SentRecord> ReadSentRecord(const std::filesystem::path& file);

// Notes that the group has been sent the issue (one atomic replace).
base::Status RecordSent(const std::filesystem::path& file, std::string_view group,
                        std::string_view issue);

}  // namespace push
