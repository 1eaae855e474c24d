#pragma once

#include <string>

#include "archive/draw_store.h"

namespace archive {

// "号码库：N 期，FIRST 至 LAST", or "号码库：空" for an empty archive.
std::string FormatArchiveSummary(const ArchiveSummary& summary);

}  // namespace archive
