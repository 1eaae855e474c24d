#pragma once

#include <string>

#include "draws/feed_draw.h"
#include "lottery/draw_sources.h"
#include "ui/window.h"

namespace draws {

// The feed's page of the lottery at the feed's configured base.
std::string FeedUrl(const lottery::DrawSources& sources, const lottery::SourcePages& pages,
                    Feed feed);

// One request for a feed with fresh cookies: its body, or the timed-out text.
std::string FetchFeed(ui::Window& window, const std::string& url, int timeoutSeconds);

}  // namespace draws
