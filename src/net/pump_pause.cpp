#include "net/pump_pause.h"

namespace net {

void PumpPause(ui::Window& window, std::chrono::microseconds duration) {
  // Below a millisecond the pause is only a chance to repaint.
  window.ProcessEvents();
  if (duration >= std::chrono::milliseconds(1)) {
    window.Pause(std::chrono::ceil<std::chrono::milliseconds>(duration));
  }
}

}  // namespace net
