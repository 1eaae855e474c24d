#include "net/cookie_store.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace std::chrono;

// Forwards to a real store and remembers every store operation.
class RecordingStore : public net::CookieStore {
 public:
  struct Set {
    std::string url, name, data;
  };
  void SetCookie(std::string_view url, std::string_view name, std::string_view data) override {
    sets.push_back({std::string(url), std::string(name), std::string(data)});
    if (!frozen) net::CookieStore::SetCookie(url, name, data);
  }
  void ClearHost(std::string_view url) override {
    if (!frozen) net::CookieStore::ClearHost(url);
  }
  std::vector<Set> sets;
  bool frozen = false;  // a store that ignores every change
};

TEST(CookieDate, WritesTheDateAsGiven) {
  const local_days july7{July / 7 / 2010};
  EXPECT_EQ(net::CookieDate(local_seconds(july7 + 10h + 16min + 39s)),
            "Wed, 7-Jul-2010 10:16:39 GMT");
  EXPECT_EQ(net::CookieDate(local_seconds(local_days{January / 1 / 2024} + 9h + 5min + 3s)),
            "Mon, 1-Jan-2024 9:5:3 GMT");
}

TEST(CookieDate, ReadsBothForms) {
  const sys_seconds expected = sys_days{July / 7 / 2010} + 10h + 16min + 39s;
  EXPECT_EQ(net::ParseCookieDate("Wed, 7-Jul-2010 10:16:39 GMT"), expected);
  EXPECT_EQ(net::ParseCookieDate("Wed, 07 Jul 2010 10:16:39 GMT"), expected);
  EXPECT_EQ(net::ParseCookieDate("soon"), std::nullopt);
}

TEST(CookieDomain, LastTwoLabels) {
  EXPECT_EQ(net::CookieDomain("p.q.r"), "q.r");
  EXPECT_EQ(net::CookieDomain("q.r"), "q.r");
  EXPECT_EQ(net::CookieDomain("a.b.c.d"), "c.d");
  EXPECT_EQ(net::CookieDomain("localhost"), ".");
}

TEST(CookieStore, KeepsCookiesPerHostAndExpiresThem) {
  net::CookieStore store;
  store.SetCookie("http://a.com", "x", "1; path=/");
  store.SetCookie("http://a.com", "y", "2");
  store.SetCookie("http://b.com", "z", "3");
  EXPECT_EQ(store.CookieText("http://a.com/page"), "x=1; y=2");
  EXPECT_EQ(store.CookieText("http://b.com"), "z=3");
  EXPECT_EQ(store.CookieText("http://c.com"), "");

  store.SetCookie("http://a.com", "x", "9");
  EXPECT_EQ(store.CookieText("http://a.com"), "x=9; y=2");
  store.SetCookie("http://a.com", "x", "x=deleted; expires=Wed, 7-Jul-2010 10:16:39 GMT; path=/");
  EXPECT_EQ(store.CookieText("http://a.com"), "y=2");
  store.SetCookie("http://a.com", "y", "2; max-age=0");
  EXPECT_EQ(store.CookieText("http://a.com"), "");
}

TEST(CookieStore, HugeMaxAgeNeverExpires) {
  // Past the clock's range, as a hostile server may send it.
  net::CookieStore store;
  store.SetCookie("http://a.com", "x", "1; max-age=9223372036854775807");
  store.SetCookie("http://a.com", "y", "2; max-age=" + std::string(80, '9'));
  EXPECT_EQ(store.CookieText("http://a.com"), "x=1; y=2");
}

TEST(CookieStore, DomainAndPathAttributes) {
  net::CookieStore store;
  store.SetCookie("http://www.q.r", "d", "1; domain=.q.r");
  store.SetCookie("http://www.q.r", "p", "2; path=/deep");
  store.SetCookie("http://www.q.r", "evil", "3; domain=other.com");
  EXPECT_EQ(store.CookieText("http://img.q.r/"), "d=1");
  EXPECT_EQ(store.CookieText("http://www.q.r/"), "d=1");
  EXPECT_EQ(store.CookieText("http://www.q.r/deep/x"), "p=2; d=1");
  EXPECT_EQ(store.CookieText("http://other.com/"), "");
}

TEST(GetUrlCookies, ByName) {
  net::CookieStore store;
  store.SetCookie("http://h.com", "a", "1");
  store.SetCookie("http://h.com", "b", "2");
  store.SetCookie("http://h.com", "ab", "3");
  EXPECT_EQ(net::GetUrlCookies("h.com/any/path", "", store), "a=1; b=2; ab=3");
  EXPECT_EQ(net::GetUrlCookies("http://h.com", "b", store), "2");
  EXPECT_EQ(net::GetUrlCookies("http://h.com", "a", store), "1");
  EXPECT_EQ(net::GetUrlCookies("http://h.com", "AB", store), "3");
  EXPECT_EQ(net::GetUrlCookies("http://h.com", "c", store), "");
}

TEST(GetUrlCookies, TextOfBufferSizeReadsAsEmpty) {
  net::CookieStore store;
  // "a=" + 3000 + "; b=" + 3000 + "; c=" + 1490 = 7500
  store.SetCookie("http://h.com", "a", std::string(3000, 'v'));
  store.SetCookie("http://h.com", "b", std::string(3000, 'v'));
  store.SetCookie("http://h.com", "c", std::string(1490, 'v'));
  EXPECT_EQ(net::GetUrlCookies("http://h.com", "", store), "");
  store.SetCookie("http://h.com", "c", std::string(1489, 'v'));
  EXPECT_EQ(net::GetUrlCookies("http://h.com", "", store).size(), 7499u);
}

TEST(CookieStore, ACookieIsAtMost4096BytesOfNameAndValue) {
  net::CookieStore store;
  store.SetCookie("http://h.com", "big", std::string(4093, 'v'));  // 3 + 4093 = 4096
  EXPECT_EQ(store.CookieText("http://h.com").size(), 4097u);
  // one byte more is refused, and the stored cookie stays as it was
  store.SetCookie("http://h.com", "big", std::string(4094, 'w'));
  EXPECT_EQ(store.CookieText("http://h.com"), "big=" + std::string(4093, 'v'));
  store.SetCookie("http://h.com", "huge", std::string(100000, 'v') + "; path=/");
  EXPECT_EQ(net::GetUrlCookies("http://h.com", "huge", store), "");
}

TEST(CookieStore, ADomainKeepsItsNewestFiftyCookies) {
  net::CookieStore store;
  store.SetCookie("http://other.com", "o", "1");
  for (int i = 0; i < 55; ++i) store.SetCookie("http://h.com", "c" + std::to_string(i), "1");
  std::string expected;
  for (int i = 5; i < 55; ++i) expected += (i > 5 ? "; c" : "c") + std::to_string(i) + "=1";
  EXPECT_EQ(store.CookieText("http://h.com"), expected);
  // a new value for a cookie it has evicts nothing
  store.SetCookie("http://h.com", "c5", "2");
  EXPECT_EQ(net::GetUrlCookies("http://h.com", "c5", store), "2");
  EXPECT_EQ(net::GetUrlCookies("http://h.com", "c6", store), "1");
  // nor does it touch another host's
  EXPECT_EQ(store.CookieText("http://other.com"), "o=1");
}

TEST(ClearUrlCookies, NothingStoredStoresNothing) {
  RecordingStore store;
  EXPECT_TRUE(net::ClearUrlCookies("http://h.com/x", store));
  EXPECT_TRUE(store.sets.empty());
}

TEST(ClearUrlCookies, OnePassPerCookie) {
  RecordingStore store;
  store.SetCookie("http://p.q.r", "a", "1");
  store.SetCookie("http://p.q.r", "b", "2");
  store.sets.clear();

  EXPECT_TRUE(net::ClearUrlCookies("p.q.r/jxssc/", store));
  EXPECT_EQ(net::GetUrlCookies("http://p.q.r", "", store), "");
  ASSERT_EQ(store.sets.size(), 4u);
  const std::string expiry = "=deleted; expires=Wed, 7-Jul-2010 10:16:39 GMT; path=/";
  const std::vector<std::tuple<std::string, std::string, std::string>> expected = {
      {"http://p.q.r/jxssc/", "a", "a" + expiry},
      {"http://p.q.r/jxssc/", "a", "a" + expiry + "; domain=q.r"},
      {"http://p.q.r/jxssc/", "b", "b" + expiry},
      {"http://p.q.r/jxssc/", "b", "b" + expiry + "; domain=q.r"},
  };
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(std::tie(store.sets[i].url, store.sets[i].name, store.sets[i].data), expected[i]);
  }
}

TEST(ClearUrlCookies, DomainCookiesGoToo) {
  net::CookieStore store;
  store.SetCookie("http://www.q.r", "d", "1; domain=q.r");
  store.SetCookie("http://www.q.r", "h", "2");
  EXPECT_TRUE(net::ClearUrlCookies("http://www.q.r/", store));
  EXPECT_EQ(store.CookieText("http://www.q.r/"), "");
}

// More than the 7500-byte reader takes: the deletions still go over every one.
TEST(ClearUrlCookies, AHostPastTheReaderLimitIsClearedToo) {
  RecordingStore store;
  for (int i = 0; i < 40; ++i) {
    store.SetCookie("http://h.com", "c" + std::to_string(i), std::string(300, 'v'));
  }
  ASSERT_GE(store.CookieText("http://h.com").size(), 7500u);
  store.sets.clear();
  EXPECT_TRUE(net::ClearUrlCookies("http://h.com/static/feed.xml", store));
  EXPECT_EQ(store.CookieText("http://h.com/static/feed.xml"), "");
  EXPECT_EQ(store.sets.size(), 80u);  // a pass of two deletions per cookie
}

// Cookies the deletion cookies (path=/, the host or its last two labels) do
// not name: they would otherwise go along with every later request.
TEST(ClearUrlCookies, CookiesTheDeletionsCannotReachGoToo) {
  struct Case {
    const char* name;
    std::string data;
  };
  const std::vector<Case> cases = {
      {"another path", "1; path=/static"},
      {"a wider domain", "1; domain=r"},
      {"another path of a wider domain", "1; path=/static; domain=.r"},
  };
  for (const Case& kept : cases) {
    SCOPED_TRACE(kept.name);
    net::CookieStore store;
    store.SetCookie("http://p.q.r/static/x", "k", kept.data);
    store.SetCookie("http://p.q.r", "plain", "2");
    ASSERT_NE(store.CookieText("http://p.q.r/static/feed.xml"), "plain=2");
    EXPECT_TRUE(net::ClearUrlCookies("http://p.q.r/static/feed.xml", store));
    EXPECT_EQ(store.CookieText("http://p.q.r/static/feed.xml"), "");
  }
}

TEST(ClearUrlCookies, NoProgressEndsWithFalse) {
  RecordingStore store;
  store.SetCookie("http://h.com", "a", "1");
  store.sets.clear();
  store.frozen = true;
  EXPECT_FALSE(net::ClearUrlCookies("http://h.com", store));
  EXPECT_EQ(store.sets.size(), 2u);  // one pass, then it gives up
}

}  // namespace
