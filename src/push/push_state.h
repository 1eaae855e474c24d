#pragma once

namespace push {

// What the 群发 page keeps between events.
struct PushState {
  bool sending = false;  // a send is under way: a second one waits its turn
};

}  // namespace push
