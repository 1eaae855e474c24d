#pragma once

#include "core/context.h"

namespace output {

// Click on any of 选择框_集合定位/二星/三星: clear the position of a kind
// switched off, give a kind switched on the smallest free number.
void UpdatePositions(core::Context& ctx);

// 按钮_集合开始: refresh the automatically refreshed plans, then write the
// collection into 编辑框_计划和集.
void BuildCollection(core::Context& ctx);

// Writes the collection from the plans as they stand, without re-running
// them: used after an automatic update, which has just refreshed them.
void ComposeCollection(core::Context& ctx);

// 按钮_集合复制: the box's text to the clipboard, then "复制成功".
void CopyCollection(core::Context& ctx);

}  // namespace output
