#include "push/push_handlers.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>

#include "base/leading_number.h"
#include "draws/draw_list_reading.h"
#include "push/group_send.h"
#include "push/outcome_text.h"
#include "push/push_file.h"
#include "push/push_state.h"

namespace push {
namespace {

constexpr const char* kList = "超级列表框_群发";
constexpr const char* kStatusLabel = "标签_群发状态";
constexpr const char* kSendButton = "按钮_群发发送";
constexpr const char* kPushFile = "push.ini";
constexpr const char* kSentRecord = "push_sent.ini";
constexpr int kNameColumn = 1;
constexpr int kStatusColumn = 2;

std::chrono::milliseconds SecondsIn(const ui::Window& window, const char* box) {
  const double seconds = base::LeadingNumber(window.Text(box));
  using Count = std::chrono::milliseconds::rep;
  return std::chrono::milliseconds(seconds > 0 ? base::ClampedInteger<Count>(seconds * 1000) : 0);
}

// Where the groups come from and where their format is shown; `pause` joins
// the two halves: a comma on the list's line, a line break on the label.
std::string HowToAddGroups(const core::Context& ctx, const char* pause) {
  return "群写在 " + (ctx.dataDir / kPushFile).string() + pause +
         "格式见 README 的“Chat groups (`push.ini`)”一节，写好后点“刷新群号”";
}

std::string NoGroupText(const core::Context& ctx) {
  return "列表中没有群。" + HowToAddGroups(ctx, "\n");
}

// 标签_群发状态: the whole status of the selected group, or while none is
// selected of the notice row, under the group's name; with no group, how to
// add one.
void ShowStatus(core::Context& ctx) {
  ui::Window& window = ctx.window;
  const auto& groups = ctx.push.groups;
  if (groups.empty()) {
    window.SetText(kStatusLabel, NoGroupText(ctx));
    return;
  }
  const int rows = std::min(static_cast<int>(groups.size()), window.RowCount(kList));
  int row = window.CurrentRow(kList);
  if (row < 0 || row >= rows) row = ctx.push.noticeRow;
  const std::string status = row >= 0 && row < rows ? window.Cell(kList, row, kStatusColumn) : "";
  window.SetText(kStatusLabel,
                 status.empty() ? "" : groups[static_cast<std::size_t>(row)].name + "\n" + status);
}

void ShowGroups(core::Context& ctx) {
  ui::Window& window = ctx.window;
  window.DeleteAllRows(kList);
  const auto& groups = ctx.push.groups;
  ctx.push.howToLine = groups.empty();
  if (ctx.push.howToLine) {
    // A line that is no group: no 序号, and sending and 全选 go by the
    // groups, so only a click reaches its box, and RowChecked takes that back.
    const int row = window.InsertRow(kList, -1);
    window.SetCell(kList, row, kNameColumn, "列表中没有群");
    window.SetCell(kList, row, kStatusColumn, HowToAddGroups(ctx, "，"));
  }
  for (std::size_t i = 0; i < groups.size(); ++i) {
    const int row = window.InsertRow(kList, -1);
    window.SetCell(kList, row, 0, std::to_string(i + 1));
    window.SetCell(kList, row, kNameColumn, groups[i].name);
    window.SetCell(kList, row, kStatusColumn, groups[i].configError);
    window.SetRowChecked(kList, row, groups[i].checked);
  }
}

// Once the list is filled: the label shows the first row that warns.
void NoteFirstWarning(core::Context& ctx) {
  ctx.push.noticeRow = -1;
  for (int row = 0; row < static_cast<int>(ctx.push.groups.size()); ++row) {
    if (!ctx.window.Cell(kList, row, kStatusColumn).empty()) {
      ctx.push.noticeRow = row;
      break;
    }
  }
  ShowStatus(ctx);
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
  if (row < 0 || row >= static_cast<int>(ctx.push.groups.size())) {
    // The line that says how to add a group keeps its box empty; a row put
    // in by someone else is theirs.
    if (ctx.push.howToLine && row == 0) ctx.window.SetRowChecked(kList, row, false);
    return;
  }
  ctx.push.groups[static_cast<std::size_t>(row)].checked = ctx.window.RowChecked(kList, row);
  SaveCheckStates(ctx);
}

void Send(core::Context& ctx, const std::optional<DrawMark>& draw) {
  if (ctx.push.sending) return;
  ui::Window& window = ctx.window;
  const std::vector<Group> groups = ctx.push.groups;
  if (std::none_of(groups.begin(), groups.end(), IsSendable)) {
    window.SetText(kStatusLabel,
                   "无法发送：" + (groups.empty() ? NoGroupText(ctx) : "没有已勾选且配置无误的群"));
    return;
  }
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
  // The rows may be refreshed while a send waits; only groups still there show.
  auto status = [&ctx](std::size_t row, const std::string& text) {
    const int at = static_cast<int>(row);
    if (row >= ctx.push.groups.size() || at >= ctx.window.RowCount(kList)) return;
    ctx.window.SetCell(kList, at, kStatusColumn, text);
    if (IsFailedText(text)) ctx.push.noticeRow = at;
    ShowStatus(ctx);
  };
  // The window waits: events keep running, and the console's clock moves with
  // every pause.
  auto sent = SendToGroups(groups, window.Text("编辑框_计划和集"), draw, window, options, status);
  ctx.push.sending = false;
  window.SetEnabled(kSendButton, true);
  if (!sent) window.MessageBox("群发", sent.error().message);
}

void SendNewDraw(core::Context& ctx) {
  if (!ctx.window.Checked("选择框_自动群发")) return;
  const std::string issue = draws::NewestDraw(ctx.window).issue;
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
    NoteFirstWarning(ctx);
    ctx.window.MessageBox("群发", groups.error().message);
    return;
  }
  ctx.push.groups = std::move(groups.value());
  ShowGroups(ctx);
  if (!ctx.push.groups.empty() && ReadableByOthers(file)) {
    ctx.window.SetCell(kList, 0, kStatusColumn, PermissionHint());
  }
  NoteFirstWarning(ctx);
}

void ShowGroupList(core::Context& ctx) {
  ShowGroups(ctx);
  NoteFirstWarning(ctx);
}

void SendToCheckedGroups(core::Context& ctx) { Send(ctx, std::nullopt); }

void BindPushHandlers(core::Context& ctx) {
  ui::Window& window = ctx.window;
  window.Bind("按钮_群发刷新", ui::Event::Click, [&ctx](int) { RefreshGroups(ctx); });
  window.Bind("按钮_群发全选", ui::Event::Click, [&ctx](int) { CheckAll(ctx, true); });
  window.Bind("按钮_群发全不选", ui::Event::Click, [&ctx](int) { CheckAll(ctx, false); });
  window.Bind(kList, ui::Event::RowCheck, [&ctx](int row) { RowChecked(ctx, row); });
  window.Bind(kList, ui::Event::RowClick, [&ctx](int) { ShowStatus(ctx); });
  window.Bind(kSendButton, ui::Event::Click, [&ctx](int) { SendToCheckedGroups(ctx); });
  ctx.events.Subscribe(core::Event::CollectionRebuilt, core::Stage::Push,
                       [&ctx] { SendNewDraw(ctx); });
}

}  // namespace push
