#pragma once

#include <string>

#include "core/context.h"

namespace net {

enum class DrawVideoPage { Chongqing = 1, Jiangxi = 2 };

// The page's address on the draw-video site `videoBase`.
std::string DrawVideoUrl(const std::string& videoBase, DrawVideoPage page);

// Clears the page's cookies, then loads it in 超文本浏览框_开奖.
void ShowDrawVideo(const core::Env& context, DrawVideoPage page);

// The two refresh buttons of the 开奖 tab.
void BindDrawVideoHandlers(const core::Env& context);

}  // namespace net
