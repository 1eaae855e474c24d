#pragma once

#include "base/waiter.h"

namespace push {

// The sender waits through the program's one wait: the window passes itself,
// a tool or a worker thread a BlockingWaiter.
using base::BlockingWaiter;
using base::Waiter;

}  // namespace push
