#pragma once

#include <string>

#include "draws/feed_draw.h"
#include "net/draw_sources.h"
#include "ui/window.h"

namespace draws {

// The feed's address at its configured base.
std::string FeedUrl(const net::DrawSources& sources, Feed feed);

// One request for a feed with fresh cookies: its body, or the timed-out text.
std::string FetchFeed(ui::Window& window, const std::string& url, int timeoutSeconds);

}  // namespace draws
