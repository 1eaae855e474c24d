#include "app/program.h"

#include <utility>

#include "app/bind_handlers.h"
#include "app/startup.h"
#include "base/atomic_file.h"
#include "lottery/lottery.h"

namespace app {

Program::Program(std::filesystem::path dataDir, std::filesystem::path workDir)
    : dataDir_(std::move(dataDir)), workDir_(std::move(workDir)) {}

void Program::Start(ui::Window& window, bool runCreationHandler) {
  // Saves cut short by a kill left their temporaries; nothing else clears
  // those of a file that is not saved again.
  base::RemoveAbandonedTemporaries(dataDir_);
  context_.emplace(states_.MakeContext(window, dataDir_, workDir_, lottery::Chongqing()));
  BindHandlers(*context_);
  if (runCreationHandler) {
    RunCreationHandler(*context_);
  } else {
    // The creation handler is what shows the window; without it the window
    // must still come up.
    ShowWindowWithoutCreationHandler(*context_);
  }
}

}  // namespace app
