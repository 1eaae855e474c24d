#pragma once

#include "ui/window.h"

namespace plan {

// Each kind's 自动更新 is one setting shown twice: on the one-key panel
// (选择框_定位更新, 选择框_后二更新, 选择框_后三更新: the boxes the refresh reads
// and sz.ini keeps) and on the kind's plan page (选择框_定位自动更新,
// 选择框_二星自动更新, 选择框_三星自动更新).

// Checking or unchecking either box of a kind sets the other to match.
void BindRefreshBoxes(ui::Window& window);

// The plan pages show the one-key panel's setting. The form starts the two
// apart; the window's creation calls this once the settings are loaded.
void ShowRefreshSettingOnPlanPages(ui::Window& window);

}  // namespace plan
