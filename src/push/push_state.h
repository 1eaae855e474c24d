#pragma once

#include <vector>

#include "push/group.h"

namespace push {

// What the 群发 page keeps between events: the groups its list shows.
struct PushState {
  std::vector<Group> groups;  // row i of 超级列表框_群发
  bool sending = false;       // a send is under way: another click waits for it
  // The row 标签_群发状态 shows while none is selected: the last to fail a
  // send, or after a refresh the first whose status warns; -1 for none.
  int noticeRow = -1;
  bool howToLine = false;  // with no group, row 0 says how to add one
};

}  // namespace push
