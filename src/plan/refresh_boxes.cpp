#include "plan/refresh_boxes.h"

#include <array>
#include <string>

namespace plan {
namespace {

struct RefreshBoxes {
  const char* oneKey;
  const char* planPage;
};

constexpr std::array<RefreshBoxes, 3> kRefreshBoxes = {{
    {"选择框_定位更新", "选择框_定位自动更新"},
    {"选择框_后二更新", "选择框_二星自动更新"},
    {"选择框_后三更新", "选择框_三星自动更新"},
}};

void Follow(ui::Window& window, const std::string& from, const std::string& to) {
  window.SetChecked(to, window.Checked(from));
}

}  // namespace

void BindRefreshBoxes(ui::Window& window) {
  for (const RefreshBoxes& boxes : kRefreshBoxes) {
    const std::string oneKey = boxes.oneKey;
    const std::string planPage = boxes.planPage;
    window.Bind(oneKey, ui::Event::Click,
                [&window, oneKey, planPage](int) { Follow(window, oneKey, planPage); });
    window.Bind(planPage, ui::Event::Click,
                [&window, oneKey, planPage](int) { Follow(window, planPage, oneKey); });
  }
}

void ShowRefreshSettingOnPlanPages(ui::Window& window) {
  for (const RefreshBoxes& boxes : kRefreshBoxes) Follow(window, boxes.oneKey, boxes.planPage);
}

}  // namespace plan
