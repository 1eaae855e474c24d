#pragma once

#include <iosfwd>

#include "app/command_line.h"

namespace app {

// `lanzhou --import-draws FILE` / `--export-draws FILE`: the archive of the
// data directory without a window. Import prints its summary line and the
// refused lines and exits 0 when the file could be read; export prints
// "exported N". Either exits 1 on a failure, said on `err`. With both, the
// import runs first.
int RunDrawFileCommands(const Options& options, std::ostream& out, std::ostream& err);

}  // namespace app
