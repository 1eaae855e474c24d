#pragma once

#include "core/context.h"

namespace push {

// 按钮_群发刷新: reads push.ini into 超级列表框_群发 (序号, group, 状态, check box).
void RefreshGroups(core::Context& ctx);

// Shows the groups read last in 超级列表框_群发, or with none one line that
// says how to add a group, and fills 标签_群发状态.
void ShowGroupList(core::Context& ctx);

// 按钮_群发发送: sends 编辑框_计划和集 to every checked group, in list order.
void SendToCheckedGroups(core::Context& ctx);

// The page's buttons and row boxes, and the sending after each new draw while
// 选择框_自动群发 is checked.
void BindPushHandlers(core::Context& ctx);

}  // namespace push
