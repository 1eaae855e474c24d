#include "draws/feed_fetch.h"

#include "net/cookie_store.h"
#include "net/web_access.h"

namespace draws {

std::string FeedUrl(const net::DrawSources& sources, Feed feed) {
  return feed == Feed::First ? sources.feed1 + std::string(kFirstFeedPath)
                             : sources.feed2 + std::string(kSecondFeedPath);
}

std::string FetchFeed(ui::Window& window, const std::string& url, int timeoutSeconds) {
  net::ClearUrlCookies(url);
  net::WebRequest request;
  request.url = url;
  request.timeoutSeconds = timeoutSeconds;
  return net::WebAccess(request, &window).body;
}

}  // namespace draws
