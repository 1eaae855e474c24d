#include "push/push_handlers.h"

#include <chrono>
#include <optional>
#include <string>

#include "base/leading_number.h"
#include "push/group_send.h"
#include "push/push_file.h"
#include "push/push_state.h"

namespace push {
namespace {

constexpr const char* kList = "超级列表框_群发";
constexpr const char* kSendButton = "按钮_群发发送";
constexpr const char* kPushFile = "push.ini";
constexpr const char* kSentRecord = "push_sent.ini";
constexpr int kStatusColumn = 2;

std::chrono::milliseconds SecondsIn(const ui::Window& window, const char* box) {
  const double seconds = base::LeadingNumber(window.Text(box));
  using Count = std::chrono::milliseconds::rep;
  return std::chrono::milliseconds(seconds > 0 ? base::ClampedInteger<Count>(seconds * 1000) : 0);
}

void ShowGroups(core::Context& ctx) {
  ui::Window& window = ctx.window;
  window.DeleteAllRows(kList);
  const auto& groups = ctx.push.groups;
  for (std::size_t i = 0; i < groups.size(); ++i) {
    const int row = window.InsertRow(kList, -1);
    window.SetCell(kList, row, 0, std::to_string(i + 1));
    window.SetCell(kList, row, 1, groups[i].name);
    window.SetCell(kList, row, kStatusColumn, groups[i].configError);
    window.SetRowChecked(kList, row, groups[i].checked);
  }
}

void SaveCheckStates(core::Context& ctx) {
  auto saved = WriteCheckedStates(ctx.dataDir / kPushFile, ctx.push.groups);
  if (!saved) ctx.window.MessageBox("群发", "无法保存 push.ini：" + saved.error().message);
}

void CheckAll(core::Context& ctx, bool checked) {
  for (std::size_t row = 0; row < ctx.push.groups.size(); ++row) {
    ctx.push.groups[row].checked = checked;
    ctx.window.SetRowChecked(kList, static_cast<int>(row), checked);
  }
  SaveCheckStates(ctx);
}

void RowChecked(core::Context& ctx, int row) {
  if (row < 0 || row >= static_cast<int>(ctx.push.groups.size())) return;
  ctx.push.groups[static_cast<std::size_t>(row)].checked = ctx.window.RowChecked(kList, row);
  SaveCheckStates(ctx);
}

void Send(core::Context& ctx, const std::optional<DrawMark>& draw) {
  if (ctx.push.sending) return;
  ui::Window& window = ctx.window;
  ctx.push.sending = true;
  window.SetEnabled(kSendButton, false);
  SendOptions options;
  options.partPause = SecondsIn(window, "编辑框_发送间阁");
  options.groupPause = SecondsIn(window, "编辑框_群间间隔");
  options.clock = [&window] {
    const auto now = window.Now();
    const std::chrono::hh_mm_ss time(now - std::chrono::floor<std::chrono::days>(now));
    return TimeOfDay{static_cast<int>(time.hours().count()),
                     static_cast<int>(time.minutes().count()),
                     static_cast<int>(time.seconds().count())};
  };
  // The rows may be refreshed while a send waits; only rows still there show.
  auto status = [&window](std::size_t row, const std::string& text) {
    if (static_cast<int>(row) < window.RowCount(kList)) {
      window.SetCell(kList, static_cast<int>(row), kStatusColumn, text);
    }
  };
  const std::vector<Group> groups = ctx.push.groups;
  // The window waits: events keep running, and the console's clock moves with
  // every pause.
  auto sent = SendToGroups(groups, window.Text("编辑框_计划和集"), draw, window, options, status);
  ctx.push.sending = false;
  window.SetEnabled(kSendButton, true);
  if (!sent) window.MessageBox("群发", sent.error().message);
}

void SendNewDraw(core::Context& ctx) {
  if (!ctx.window.Checked("选择框_自动群发")) return;
  const std::string issue = ctx.window.Cell("列表框_开奖", 0, 0);
  if (issue.empty()) return;
  RefreshGroups(ctx);
  Send(ctx, DrawMark{issue, ctx.dataDir / kSentRecord});
}

}  // namespace

void RefreshGroups(core::Context& ctx) {
  const auto file = ctx.dataDir / kPushFile;
  auto groups = ReadGroups(file);
  if (!groups) {
    ctx.push.groups.clear();
    ShowGroups(ctx);
    ctx.window.MessageBox("群发", groups.error().message);
    return;
  }
  ctx.push.groups = std::move(groups.value());
  ShowGroups(ctx);
  if (!ctx.push.groups.empty() && ReadableByOthers(file)) {
    ctx.window.SetCell(kList, 0, kStatusColumn, PermissionHint());
  }
}

void SendToCheckedGroups(core::Context& ctx) { Send(ctx, std::nullopt); }

void BindPushHandlers(core::Context& ctx) {
  ui::Window& window = ctx.window;
  window.Bind("按钮_群发刷新", ui::Event::Click, [&ctx](int) { RefreshGroups(ctx); });
  window.Bind("按钮_群发全选", ui::Event::Click, [&ctx](int) { CheckAll(ctx, true); });
  window.Bind("按钮_群发全不选", ui::Event::Click, [&ctx](int) { CheckAll(ctx, false); });
  window.Bind(kList, ui::Event::RowCheck, [&ctx](int row) { RowChecked(ctx, row); });
  window.Bind(kSendButton, ui::Event::Click, [&ctx](int) { SendToCheckedGroups(ctx); });
  ctx.onCollectionRebuilt.push_back([&ctx] { SendNewDraw(ctx); });
}

}  // namespace push
