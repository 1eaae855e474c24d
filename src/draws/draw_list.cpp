#include "draws/draw_list.h"

#include "base/text.h"

namespace draws {

bool ApplyFeedDraw(ui::Window& window, const lottery::Lottery& lottery, Feed feed,
                   std::string_view body) {
  auto draw = ParseFeedDraw(feed, body, window.Now(), lottery);
  if (!draw) return false;
  auto record = FeedDrawToInsert(*draw, NewestDraw(window).issue);
  if (!record) return false;
  int row = window.InsertRow(kDrawList, 0);
  window.SetCell(kDrawList, row, 0, record->issue);
  window.SetCell(kDrawList, row, 1, record->code);
  return true;
}

void ShowLatestDraw(ui::Window& window) {
  const lottery::Draw newest = NewestDraw(window);
  window.SetText("透明标签_显示期号", " 第:" + newest.issue + " 期");
  const std::string& code = newest.code;
  if (code.empty()) return;
  for (std::size_t k = 0; k < 5; ++k) {
    char c = k < code.size() ? code[k] : '0';
    int digit = base::IsDigit(c) ? c - '0' : 0;
    window.SetPicture("图片框" + std::to_string(k + 1), ui::Picture{digit});
  }
}

void FillStartIssueCombo(ui::Window& window, const std::string& combo, bool requireLongIssue) {
  std::string top = NewestDraw(window).issue;
  if (top.empty() || (requireLongIssue && top.size() <= 10)) return;
  window.ClearItems(combo);
  for (const lottery::Draw& draw : ReadDrawList(window)) window.AddItem(combo, draw.issue);
  if (window.ItemCount(combo) >= 10) window.SetCurrentIndex(combo, 9);
}

}  // namespace draws
