#include "app/bind_handlers.h"

#include "app/startup.h"
#include "settings/settings_file.h"

namespace app {

void BindHandlers(Context& ctx) {
  BindStartupHandlers(ctx);
  settings::BindSettingsHandlers(ctx);
}

}  // namespace app
