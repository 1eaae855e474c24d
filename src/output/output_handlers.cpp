#include "output/output_handlers.h"

#include "output/collection_page.h"
#include "output/hint.h"

namespace output {

void BindOutputHandlers(core::Context& ctx) {
  ui::Window& window = ctx.window;
  for (const char* box : {"选择框_集合定位", "选择框_集合二星", "选择框_集合三星"}) {
    window.Bind(box, ui::Event::Click, [&ctx](int) { UpdatePositions(ctx); });
  }
  window.Bind("按钮_集合开始", ui::Event::Click, [&ctx](int) { BuildCollection(ctx); });
  window.Bind("按钮_集合复制", ui::Event::Click, [&ctx](int) { CopyCollection(ctx); });
  window.Bind("按钮_提示粘贴", ui::Event::Click, [&ctx](int) { PasteHint(ctx); });
  window.Bind("按钮_提示清空", ui::Event::Click, [&ctx](int) { ClearHint(ctx); });
  ctx.events.Subscribe(core::Event::DrawInserted, core::Stage::Collection, [&ctx] {
    if (ctx.window.Checked("选择框_集合自动")) {
      ComposeCollection(ctx);
      ctx.events.Raise(core::Event::CollectionRebuilt);
    }
  });
}

}  // namespace output
