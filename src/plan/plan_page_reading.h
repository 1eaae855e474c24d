#pragma once

#include <array>
#include <string>

#include "ui/window.h"

namespace plan {

// The radios of the one-key panel's position, 万 to 个.
inline constexpr std::array<const char*, 5> kPositionRadios = {
    "单选框_万", "单选框_千", "单选框_百", "单选框_十", "单选框_个"};

// The text of the combo box's selected item; empty with no selection.
std::string SelectedItem(const ui::Window& window, const std::string& combo);

// Selects in `combo` the position whose radio is checked; leaves it otherwise.
void SelectCheckedPosition(ui::Window& window, const std::string& combo);

}  // namespace plan
