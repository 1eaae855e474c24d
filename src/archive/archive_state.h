#pragma once

#include <optional>

#include "archive/draw_store.h"

namespace archive {

// The open archive, once the program has opened it.
struct ArchiveState {
  std::optional<DrawStore> store;
};

}  // namespace archive
