#pragma once

#include <vector>

#include "push/group.h"

namespace push {

// What the 群发 page keeps between events: the groups its list shows.
struct PushState {
  std::vector<Group> groups;  // row i of 超级列表框_群发
  bool sending = false;       // a send is under way: another click waits for it
};

}  // namespace push
