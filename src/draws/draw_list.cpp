#include "draws/draw_list.h"

#include "base/text.h"

namespace draws {

namespace {

std::string TopIssue(const ui::Window& window) {
  return window.RowCount(kDrawList) > 0 ? window.Cell(kDrawList, 0, 0) : std::string();
}

}  // namespace

bool ApplyFeedDraw(ui::Window& window, const lottery::Lottery& lottery, Feed feed,
                   std::string_view body) {
  auto draw = ParseFeedDraw(feed, body, window.Now(), lottery);
  if (!draw) return false;
  auto record = FeedDrawToInsert(*draw, TopIssue(window));
  if (!record) return false;
  int row = window.InsertRow(kDrawList, 0);
  window.SetCell(kDrawList, row, 0, record->issue);
  window.SetCell(kDrawList, row, 1, record->code);
  return true;
}

void ShowLatestDraw(ui::Window& window) {
  window.SetText("透明标签_显示期号", " 第:" + TopIssue(window) + " 期");
  std::string code = window.RowCount(kDrawList) > 0 ? window.Cell(kDrawList, 0, 1) : "";
  if (code.empty()) return;
  for (std::size_t k = 0; k < 5; ++k) {
    char c = k < code.size() ? code[k] : '0';
    int digit = base::IsDigit(c) ? c - '0' : 0;
    window.SetPicture("图片框" + std::to_string(k + 1), ui::Picture{digit});
  }
}

void FillStartIssueCombo(ui::Window& window, const std::string& combo, bool requireLongIssue) {
  std::string top = TopIssue(window);
  if (top.empty() || (requireLongIssue && top.size() <= 10)) return;
  window.ClearItems(combo);
  int rows = window.RowCount(kDrawList);
  for (int row = 0; row < rows; ++row) window.AddItem(combo, window.Cell(kDrawList, row, 0));
  if (window.ItemCount(combo) >= 10) window.SetCurrentIndex(combo, 9);
}

}  // namespace draws
