#include "net/url_text.h"

#include <gtest/gtest.h>

namespace {

struct UrlCase {
  const char* url;
  const char* host;
  const char* path;
  int port;
};

TEST(UrlText, HostPathAndPort) {
  const UrlCase cases[] = {
      {"http://www.Example.com/kaijiang/kaijiang?date=2024", "www.example.com",
       "/kaijiang/kaijiang?date=2024", 80},
      {"example.com/a/b", "example.com", "/a/b", 80},
      {"http://Example.COM:8080/x", "example.com", "/x", 8080},
      {"http://127.0.0.1:8080", "127.0.0.1", "/", 8080},
      {"host:8080/feed.xml", "host", "/feed.xml", 8080},
      // Only "http://" is skipped before the port; https requests go to 443 anyway.
      {"https://secure.example.com/p", "secure.example.com", "/p", 0},
      {"http://h.com:abc/", "h.com", "/", 0},
      {"http://h.com", "h.com", "/", 80},
  };
  for (const UrlCase& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(net::UrlHost(c.url), c.host);
    EXPECT_EQ(net::UrlPath(c.url), c.path);
    EXPECT_EQ(net::UrlPort(c.url), c.port);
  }
}

TEST(UrlText, SchemeCompletionCountsLetterCase) {
  EXPECT_EQ(net::CompleteUrlScheme("a.com/x"), "http://a.com/x");
  EXPECT_EQ(net::CompleteUrlScheme("http://a.com"), "http://a.com");
  EXPECT_EQ(net::CompleteUrlScheme("https://a.com"), "https://a.com");
  EXPECT_EQ(net::CompleteUrlScheme("HTTP://a.com"), "http://HTTP://a.com");
}

TEST(UrlText, TextBetween) {
  const std::string page = R"(<td class="n">12345</td><TD class="n">678</TD>)";
  EXPECT_EQ(net::TextBetween(page, "<td class=#引号n#引号>", "</td>"), "12345");
  EXPECT_EQ(net::TextBetween(page, "<TD", "</TD>", 1, true), R"( class="n">678)");
  // Ignoring case the first <td matches; with case counting only the second.
  EXPECT_EQ(net::TextBetween(page, "<TD", "</TD>"), R"( class="n">12345)");
  EXPECT_EQ(net::TextBetween(page, "<tr>", "</td>"), "");
  EXPECT_EQ(net::TextBetween(page, "<td", "</table>"), "");
  // The start counts from 1; past the first <td the search finds the second.
  EXPECT_EQ(net::TextBetween(page, "<td", ">", 2), R"( class="n")");
  EXPECT_EQ(net::TextBetween("a=1\r\nUser-Agent: abc\r\n", "user-agent:", "\r\n"), " abc");
}

TEST(UrlText, TextBefore) {
  EXPECT_EQ(net::TextBefore("a=1; path=/", ";"), "a=1");
  EXPECT_EQ(net::TextBefore("a=1", ";"), "");
  EXPECT_EQ(net::TextBefore("xAyaz", "a", 1, true), "xAy");
  EXPECT_EQ(net::TextBefore("xAyaz", "a"), "x");
  EXPECT_EQ(net::TextBefore("a;b;c", ";", 3), "a;b");
  EXPECT_EQ(net::TextBefore("a;b", ";", -4), "a");
}

}  // namespace
