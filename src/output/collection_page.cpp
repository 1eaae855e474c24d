#include "output/collection_page.h"

#include "draws/draw_list_reading.h"
#include "output/collection.h"
#include "output/output_state.h"
#include "output/plan_block.h"
#include "plan/plan_handlers.h"

namespace output {

namespace {

constexpr std::array<const char*, plan::kPlanKindCount> kIncludeBoxes = {
    "选择框_集合定位", "选择框_集合二星", "选择框_集合三星"};
constexpr std::array<const char*, plan::kPlanKindCount> kPositionBoxes = {
    "编辑框_集合定位位", "编辑框_集合二星位", "编辑框_集合三星位"};
constexpr std::array<const char*, plan::kPlanKindCount> kRowBoxes = {
    "编辑框_集合定位行", "编辑框_集合二星行", "编辑框_集合三星行"};
constexpr std::array<const char*, plan::kPlanKindCount> kResultBoxes = {
    "编辑框_后一结果", "编辑框_后二结果", "编辑框_后三结果"};

PerKind ReadAll(const ui::Window& window,
                const std::array<const char*, plan::kPlanKindCount>& names) {
  PerKind texts;
  for (int i = 0; i < plan::kPlanKindCount; ++i) {
    texts[i] = window.Text(names[i]);
  }
  return texts;
}

}  // namespace

void UpdatePositions(core::Context& ctx) {
  std::array<bool, plan::kPlanKindCount> included{};
  for (int i = 0; i < plan::kPlanKindCount; ++i) {
    included[i] = ctx.window.Checked(kIncludeBoxes[i]);
  }
  const PerKind before = ReadAll(ctx.window, kPositionBoxes);
  const PerKind after = UpdatedPositions(included, before);
  for (int i = 0; i < plan::kPlanKindCount; ++i) {
    if (after[i] != before[i]) {
      ctx.window.SetText(kPositionBoxes[i], after[i]);
    }
  }
}

void BuildCollection(core::Context& ctx) {
  plan::RefreshPresetPlans(ctx);
  ComposeCollection(ctx);
}

void ComposeCollection(core::Context& ctx) {
  ui::Window& window = ctx.window;
  const PerKind reports = ReadAll(window, kResultBoxes);
  const PerKind rows = ReadAll(window, kRowBoxes);
  for (int i = 0; i < plan::kPlanKindCount; ++i) {
    ctx.output.blockTexts[i] = PlanBlock(reports[i], RowCount(rows[i]));
  }
  CollectionInput input;
  input.order = CollectionOrder(ReadAll(window, kPositionBoxes));
  input.blocks = ctx.output.blockTexts;
  input.separator = window.Text("编辑框_集合分割符");
  input.hint = window.Text("编辑框_提示语");
  input.withDraw = window.Checked("选择框_集合奖号");
  input.draw = draws::NewestDraw(window);
  window.SetText("编辑框_计划和集", "");
  window.AppendText("编辑框_计划和集", CollectionText(input));
}

void CopyCollection(core::Context& ctx) {
  // The message follows whatever the clipboard did with the text.
  ctx.window.SetClipboardText(ctx.window.Text("编辑框_计划和集"));
  ctx.window.MessageBox("信息：", "复制成功");
}

}  // namespace output
