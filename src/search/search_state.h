#pragma once

namespace search {

// What the search page keeps between events.
struct SearchState {
  bool running = false;
  bool stopRequested = false;
  int selectedResultRow = -1;
};

}  // namespace search
