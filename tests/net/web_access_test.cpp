#include "net/web_access.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "base/codepage.h"
#include "http_server.h"
#include "net/cookie_store.h"
#include "raw_server.h"
#include "temp_dir.h"
#include "ui/memory_window.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const char kDefaultAgent[] =
    "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 2.0.50727; .NET CLR "
    "3.0.04506.648; .NET CLR 3.5.21022)";
const char kDefaultAccept[] =
    "image/gif, image/bmp, image/x-xbitmap, image/jpeg, image/pjpeg, "
    "application/x-shockwave-flash, application/vnd.ms-excel, application/vnd.ms-powerpoint, "
    "application/msword, */*";

std::string Ok(const std::string& body, const std::string& extraHeaders = "") {
  return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" +
         extraHeaders + "Connection: close\r\n\r\n" + body;
}

void AnswerOk(int connection, const std::string&) { RawServer::Send(connection, Ok("ok")); }

// The request's header lines as the server read them, status line first.
std::vector<std::string> Lines(const std::string& request) {
  std::vector<std::string> lines;
  size_t at = 0;
  size_t end = request.find("\r\n\r\n");
  while (at < end) {
    size_t next = request.find("\r\n", at);
    lines.push_back(request.substr(at, next - at));
    at = next + 2;
  }
  return lines;
}

// Values of the lines named `name` (exact header name).
std::vector<std::string> Header(const std::string& request, const std::string& name) {
  std::vector<std::string> values;
  for (const std::string& line : Lines(request)) {
    if (line.starts_with(name + ": ")) values.push_back(line.substr(name.size() + 2));
  }
  return values;
}

using Values = std::vector<std::string>;

class WebAccessTest : public ::testing::Test {
 protected:
  void SetUp() override { net::ProcessCookieStore().Clear(); }
};

TEST_F(WebAccessTest, BlankUrlReturnsNothingAtOnce) {
  for (const char* url : {"", "   "}) {
    net::WebResponse response = net::WebAccess({.url = url}, nullptr);
    EXPECT_EQ(response.body, "");
    EXPECT_EQ(response.error, "");
    EXPECT_FALSE(response.timedOut);
  }
}

TEST_F(WebAccessTest, DefaultHeaders) {
  RawServer server(AnswerOk);
  const std::string url = server.Url("/kaijiang/kaijiang?date=20240101");
  net::WebResponse response = net::WebAccess({.url = url}, nullptr);
  EXPECT_EQ(response.body, "ok");
  EXPECT_EQ(response.error, "");
  ASSERT_EQ(server.Requests().size(), 1u);
  const std::string request = server.Requests()[0];
  EXPECT_EQ(Lines(request)[0], "GET /kaijiang/kaijiang?date=20240101 HTTP/1.1");
  EXPECT_EQ(Header(request, "Host"), Values{"127.0.0.1:" + std::to_string(server.port())});
  EXPECT_EQ(Header(request, "User-Agent"), Values{kDefaultAgent});
  EXPECT_EQ(Header(request, "Accept"), Values{kDefaultAccept});
  EXPECT_EQ(Header(request, "Referer"), Values{url});
  EXPECT_EQ(Header(request, "Accept-Language"), Values{"zh-cn"});
  EXPECT_EQ(Header(request, "Cookie"), Values{});
  EXPECT_EQ(Header(request, "Content-Type"), Values{});
  EXPECT_EQ(Lines(request).size(), 6u) << request;  // nothing else goes along
}

TEST_F(WebAccessTest, HeaderRules) {
  struct Case {
    const char* headers;
    Values agent, accept, referer, language, extra;
    const char* extraName;
  };
  const std::string own = "http://own.example/";
  const Case cases[] = {
      {"User-Agent: abc\r\n", {"abc"}, {kDefaultAccept}, {}, {"zh-cn"}, {}, ""},
      {"RefererNo\r\n", {kDefaultAgent}, {kDefaultAccept}, {}, {"zh-cn"}, {}, "RefererNo"},
      {"Referer: http://own.example/\r\n",
       {kDefaultAgent},
       {kDefaultAccept},
       {own},
       {"zh-cn"},
       {},
       ""},
      // A caller's Accept-Language also holds back the default Accept line.
      {"Accept-Language: en\r\n", {kDefaultAgent}, {}, {}, {"en"}, {}, ""},
      {"Accept: text/html\r\nX-Trace: 7\r\n",
       {kDefaultAgent},
       {"text/html"},
       {},
       {"zh-cn"},
       {"7"},
       "X-Trace"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.headers);
    RawServer server(AnswerOk);
    const std::string url = server.Url("/p");
    net::WebAccess({.url = url, .headers = c.headers}, nullptr);
    ASSERT_EQ(server.Requests().size(), 1u);
    const std::string request = server.Requests()[0];
    EXPECT_EQ(Header(request, "User-Agent"), c.agent);
    EXPECT_EQ(Header(request, "Accept"), c.accept);
    const bool ownReferer = std::string(c.headers).find("Referer") != std::string::npos;
    EXPECT_EQ(Header(request, "Referer"), ownReferer ? c.referer : Values{url});
    EXPECT_EQ(Header(request, "Accept-Language"), c.language);
    if (*c.extraName) {
      EXPECT_EQ(Header(request, c.extraName), c.extra);
    }
    if (std::string(c.headers) == "RefererNo\r\n") {
      EXPECT_EQ(request.find("Referer"), std::string::npos) << request;
    }
  }
}

TEST_F(WebAccessTest, UrlWithoutSchemeAndItsPort) {
  RawServer server(AnswerOk);
  const std::string bare = "127.0.0.1:" + std::to_string(server.port()) + "/feed.xml";
  EXPECT_EQ(net::WebAccess({.url = bare}, nullptr).body, "ok");
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(Lines(server.Requests()[0])[0], "GET /feed.xml HTTP/1.1");
  EXPECT_EQ(Header(server.Requests()[0], "Referer"), Values{"http://" + bare});
}

TEST(RequestTarget, SchemePortAndSecurity) {
  struct Case {
    const char* url;
    bool secure;
    const char* host;
    int port;
    const char* path;
  };
  const Case cases[] = {
      {"http://host/path", false, "host", 80, "/path"},
      {"http://host:8080/path?q=1", false, "host", 8080, "/path?q=1"},
      {"https://host/p", true, "host", 443, "/p"},
      {"https://host:8443/p", true, "host", 443, "/p"},
      {"http://host/go?to=https://other/", true, "host", 443, "/go?to=https://other/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    net::RequestTarget target = net::TargetOf(c.url);
    EXPECT_EQ(target.secure, c.secure);
    EXPECT_EQ(target.host, c.host);
    EXPECT_EQ(target.port, c.port);
    EXPECT_EQ(target.path, c.path);
  }
}

TEST_F(WebAccessTest, ProxyGetsTheRequestForHttpAddresses) {
  RawServer proxy(AnswerOk);
  for (const std::string& given : {"127.0.0.1:" + std::to_string(proxy.port()),
                                   "http=127.0.0.1:" + std::to_string(proxy.port())}) {
    SCOPED_TRACE(given);
    EXPECT_EQ(
        net::WebAccess({.url = "http://draws.invalid/feed.xml", .proxy = given}, nullptr).body,
        "ok");
  }
  ASSERT_EQ(proxy.Requests().size(), 2u);
  for (const std::string& request : proxy.Requests()) {
    EXPECT_TRUE(Lines(request)[0].starts_with("GET http://draws.invalid")) << request;
    EXPECT_TRUE(Lines(request)[0].ends_with("/feed.xml HTTP/1.1")) << request;
  }
}

TEST_F(WebAccessTest, SystemProxySettingsAreNotUsed) {
  RawServer proxy(AnswerOk);
  RawServer target(AnswerOk);
  setenv("http_proxy", proxy.Url().c_str(), 1);
  setenv("HTTP_PROXY", proxy.Url().c_str(), 1);
  net::WebResponse response = net::WebAccess({.url = target.Url("/direct")}, nullptr);
  unsetenv("http_proxy");
  unsetenv("HTTP_PROXY");
  EXPECT_EQ(response.body, "ok");
  EXPECT_EQ(target.Requests().size(), 1u);
  EXPECT_EQ(proxy.Requests().size(), 0u);
}

TEST_F(WebAccessTest, PostBodyAndItsTwoHeaders) {
  RawServer server(AnswerOk);
  net::WebAccess(
      {.url = server.Url("/form"), .method = net::HttpMethod::Post, .postData = "a=1&b=%E5"},
      nullptr);
  ASSERT_EQ(server.Requests().size(), 1u);
  const std::string request = server.Requests()[0];
  EXPECT_EQ(Lines(request)[0], "POST /form HTTP/1.1");
  EXPECT_EQ(Header(request, "Content-Type"), Values{"application/x-www-form-urlencoded"});
  EXPECT_EQ(Header(request, "Content-Length"), Values{"9"});
  EXPECT_TRUE(request.ends_with("\r\n\r\na=1&b=%E5")) << request;

  // The caller's own Content-Type stays the only one; an empty POST gets neither line.
  RawServer second(AnswerOk);
  net::WebAccess({.url = second.Url("/j"),
                  .method = net::HttpMethod::Post,
                  .headers = "Content-Type: text/plain\r\n",
                  .postData = "{}"},
                 nullptr);
  net::WebAccess({.url = second.Url("/e"), .method = net::HttpMethod::Post}, nullptr);
  ASSERT_EQ(second.Requests().size(), 2u);
  EXPECT_EQ(Header(second.Requests()[0], "Content-Type"), Values{"text/plain"});
  EXPECT_EQ(Header(second.Requests()[0], "Content-Length"), Values{"2"});
  EXPECT_EQ(Header(second.Requests()[1], "Content-Type"), Values{});
}

TEST_F(WebAccessTest, CookiesSentReceivedAndStored) {
  HttpServer server;
  server.server().Get("/set", [](const httplib::Request&, httplib::Response& res) {
    res.set_header("Set-Cookie", "a=1; path=/");
    res.set_content("set", "text/plain");
  });
  std::vector<std::string> seen;
  std::mutex seenMutex;
  server.server().Get("/echo", [&](const httplib::Request& req, httplib::Response& res) {
    std::lock_guard lock(seenMutex);
    seen.push_back(req.get_header_value("Cookie"));
    res.set_content("echo", "text/plain");
  });

  net::WebResponse set = net::WebAccess({.url = server.Url("/set")}, nullptr);
  EXPECT_EQ(set.body, "set");
  EXPECT_EQ(set.newCookies, "a=1;");
  EXPECT_NE(set.rawHeaders.find("Set-Cookie: a=1; path=/\r\n"), std::string::npos);
  EXPECT_TRUE(set.rawHeaders.starts_with("HTTP/1.1 200 OK\r\n"));
  EXPECT_EQ(net::GetUrlCookies(server.Url("/"), "a"), "1");

  net::WebAccess({.url = server.Url("/echo")}, nullptr);  // the store's cookies go along
  net::WebAccess({.url = server.Url("/echo"), .cookies = "z=9; y=8"},
                 nullptr);  // only the caller's
  net::ClearUrlCookies(server.Url("/echo"));
  net::WebAccess({.url = server.Url("/echo")}, nullptr);
  std::lock_guard lock(seenMutex);
  EXPECT_EQ(seen, (Values{"a=1", "z=9; y=8", ""}));
}

TEST_F(WebAccessTest, CookiesSurviveLongHeaders) {
  HttpServer server;
  server.server().Get("/long", [](const httplib::Request&, httplib::Response& res) {
    res.set_header("X-Padding", std::string(3000, 'p'));
    res.set_header("Set-Cookie", "late=2; path=/");
    res.set_header("Set-Cookie", "bare=3");
    res.set_content("long", "text/plain");
  });
  net::WebResponse response = net::WebAccess({.url = server.Url("/long")}, nullptr);
  EXPECT_GT(response.rawHeaders.size(), 3000u);
  EXPECT_EQ(response.newCookies, "late=2;bare=3;");
  EXPECT_EQ(net::GetUrlCookies(server.Url("/"), "late"), "2");
  EXPECT_EQ(net::GetUrlCookies(server.Url("/"), "bare"), "3");
}

// A host that sets more cookies than a browser keeps: the store keeps the
// newest fifty, and clearing them leaves the next request without any.
TEST_F(WebAccessTest, AHostsCookiesStayBoundedAndCanBeCleared) {
  std::string setCookies;
  for (int i = 0; i < 60; ++i) {
    setCookies += "Set-Cookie: c" + std::to_string(i) + "=" + std::string(1000, 'v') + "\r\n";
  }
  RawServer server([&](int connection, const std::string& request) {
    RawServer::Send(connection, Ok("ok", request.starts_with("GET /set ") ? setCookies : ""));
  });
  net::WebAccess({.url = server.Url("/set")}, nullptr);
  net::WebAccess({.url = server.Url("/echo")}, nullptr);
  EXPECT_TRUE(net::ClearUrlCookies(server.Url("/echo")));
  net::WebAccess({.url = server.Url("/echo")}, nullptr);

  const std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  const Values sent = Header(requests[1], "Cookie");
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_TRUE(sent[0].starts_with("c10=")) << sent[0].substr(0, 20);
  EXPECT_EQ(std::count(sent[0].begin(), sent[0].end(), ';'), 49);
  EXPECT_EQ(Header(requests[2], "Cookie"), Values{});
}

TEST_F(WebAccessTest, RedirectFollowedOrReported) {
  HttpServer server;
  server.server().Get("/from", [](const httplib::Request&, httplib::Response& res) {
    res.set_redirect("/to");
    res.set_content("moved", "text/plain");
  });
  server.server().Get("/to", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("arrived", "text/plain");
  });
  net::WebResponse followed = net::WebAccess({.url = server.Url("/from")}, nullptr);
  EXPECT_EQ(followed.body, "arrived");
  EXPECT_TRUE(followed.rawHeaders.starts_with("HTTP/1.1 200")) << followed.rawHeaders;

  net::WebResponse reported =
      net::WebAccess({.url = server.Url("/from"), .followRedirects = false}, nullptr);
  EXPECT_EQ(reported.body, "moved");
  EXPECT_TRUE(reported.rawHeaders.starts_with("HTTP/1.1 302")) << reported.rawHeaders;
  EXPECT_NE(reported.rawHeaders.find("Location: /to\r\n"), std::string::npos);
}

TEST_F(WebAccessTest, ConnectionRefused) {
  int port;
  {
    RawServer closed(AnswerOk);
    port = closed.port();
  }
  net::WebResponse response = net::WebAccess(
      {.url = "http://127.0.0.1:" + std::to_string(port) + "/x", .cookies = "k=v"}, nullptr);
  EXPECT_EQ(response.body, "");
  EXPECT_EQ(response.rawHeaders, "");
  EXPECT_EQ(response.newCookies, "");
  EXPECT_FALSE(response.error.empty());
  EXPECT_FALSE(response.timedOut);
}

// An answer that does not arrive whole is no answer: nothing of it reaches the
// caller or the cookie store, so nobody reads rows out of half a page.
TEST_F(WebAccessTest, AnswerCutShortIsAFailedRequest) {
  const std::string part(1000, 'x');
  const std::string head = "HTTP/1.1 200 OK\r\nSet-Cookie: r=1\r\n";
  struct Case {
    const char* name;
    std::string sent;
    bool reset;
  };
  const std::vector<Case> cases = {
      {"fewer bytes than Content-Length", head + "Content-Length: 100000\r\n\r\n" + part, false},
      {"reset mid-body", head + "Content-Length: 100000\r\n\r\n" + part, true},
      {"chunked body without its last chunk",
       head + "Transfer-Encoding: chunked\r\n\r\n3e8\r\n" + part + "\r\n", false},
      {"reset mid-headers", head + "Content-Le", true},
      {"a header line past the library's limit",
       head + "X-Padding: " + std::string(300000, 'p') + "\r\n\r\n" + part, false},
  };
  for (const Case& cut : cases) {
    SCOPED_TRACE(cut.name);
    RawServer server([&](int connection, const std::string&) {
      RawServer::Send(connection, cut.sent);
      if (cut.reset) RawServer::Reset(connection);
    });
    net::WebResponse response = net::WebAccess({.url = server.Url("/day")}, nullptr);
    EXPECT_EQ(response.body, "");
    EXPECT_EQ(response.rawHeaders, "");
    EXPECT_EQ(response.newCookies, "");
    EXPECT_FALSE(response.error.empty());
    EXPECT_FALSE(response.timedOut);
    EXPECT_EQ(net::ProcessCookieStore().CookieText(server.Url("/day")), "");
  }
}

TEST_F(WebAccessTest, GarbageAnswerIsAFailure) {
  RawServer server([](int connection, const std::string&) {
    RawServer::Send(connection, "\x01\x02 not http at all\r\n\r\n");
  });
  net::WebResponse response = net::WebAccess({.url = server.Url("/g")}, nullptr);
  EXPECT_EQ(response.body, "");
  EXPECT_FALSE(response.error.empty());
}

TEST_F(WebAccessTest, BodyStopsAtTheLimit) {
  HttpServer server;
  const size_t limit = 32u << 20;
  server.server().Get("/huge", [&](const httplib::Request&, httplib::Response& res) {
    res.set_content(std::string(limit + (1u << 20), 'h'), "application/octet-stream");
  });
  net::WebResponse response = net::WebAccess({.url = server.Url("/huge")}, nullptr);
  EXPECT_EQ(response.body.size(), limit);
  EXPECT_EQ(response.error, "");
}

TEST_F(WebAccessTest, BodyConversions) {
  HttpServer server;
  server.server().Get("/utf8", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("开奖号码", "text/html; charset=utf-8");
  });
  server.server().Get("/big5", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("\xB6\x7D\xBC\xFA", "text/html; charset=big5");
  });
  const std::string gbk = base::Utf8ToGbk("开奖号码").value();
  EXPECT_EQ(net::WebAccess(
                {.url = server.Url("/utf8"), .conversion = net::BodyConversion::Utf8ToGbk}, nullptr)
                .body,
            gbk);
  EXPECT_EQ(net::WebAccess({.url = server.Url("/utf8")}, nullptr).body, "开奖号码");
  EXPECT_EQ(net::WebAccess({.url = server.Url("/big5"),
                            .conversion = net::BodyConversion::Big5ToSimplifiedGbk},
                           nullptr)
                .body,
            base::Utf8ToGbk("开奖").value());
}

TEST_F(WebAccessTest, TimedOutTextIsGbk) {
  EXPECT_EQ(base::GbkToUtf8(net::TimedOutText()).value(),
            "超时返回，指定网站不能访问，或者你的网络出现问题，你可以把参数中的＂超时返回＂的值设置"
            "长一些。");
}

// A server that never answers, 3 s limit: the timed-out text, never before
// 3 s and never after 6 s, on a worker thread and on the window thread.
TEST_F(WebAccessTest, SilentServerTimesOut) {
  ui::MemoryWindow window;
  for (ui::Window* waiter :
       {static_cast<ui::Window*>(nullptr), static_cast<ui::Window*>(&window)}) {
    SCOPED_TRACE(waiter ? "window" : "worker");
    RawServer server([&server](int, const std::string&) { server.WaitForStop(); });
    const auto start = Clock::now();
    net::WebResponse response =
        net::WebAccess({.url = server.Url("/"), .timeoutSeconds = 3}, waiter);
    const auto elapsed = Clock::now() - start;
    EXPECT_EQ(response.body, net::TimedOutText());
    EXPECT_TRUE(response.timedOut);
    EXPECT_EQ(response.rawHeaders, "");
    EXPECT_GE(elapsed, 3s);
    EXPECT_LT(elapsed, 6s);
  }
}

// The window keeps working while a request waits: a running timer ticks.
TEST_F(WebAccessTest, WindowProcessesEventsWhileWaiting) {
  RawServer server([&](int connection, const std::string&) {
    server.SleepUnlessStopped(1500);
    RawServer::Send(connection, Ok("late but fine"));
  });
  ui::MemoryWindow window;
  int ticks = 0;
  window.Bind("时钟_倒计时", ui::Event::Tick, [&](int) { ++ticks; });
  window.SetInterval("时钟_倒计时", 100);
  net::WebResponse response =
      net::WebAccess({.url = server.Url("/slow"), .timeoutSeconds = 10}, &window);
  EXPECT_EQ(response.body, "late but fine");
  EXPECT_GE(ticks, 5);
}

// An answer after the limit leaves no trace, not even its cookie.
TEST_F(WebAccessTest, LateAnswerIsDiscarded) {
  RawServer server([&](int connection, const std::string&) {
    server.SleepUnlessStopped(1500);
    RawServer::Send(connection, Ok("too late", "Set-Cookie: late=1\r\n"));
  });
  net::WebResponse response =
      net::WebAccess({.url = server.Url("/"), .timeoutSeconds = 1}, nullptr);
  EXPECT_TRUE(response.timedOut);
  std::this_thread::sleep_for(2500ms);
  EXPECT_EQ(net::GetUrlCookies(server.Url("/"), "late"), "");
}

// A self-signed certificate is not trusted: the page behind it is never taken.
// The server answers a client that skips the check first, so the refusal is
// the certificate's and not a dead server's.
TEST_F(WebAccessTest, HttpsRefusesAnUntrustedCertificate) {
  TempDir dir;
  const std::string cert = (dir.path() / "cert.pem").string();
  const std::string key = (dir.path() / "key.pem").string();
  const std::string make =
      "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1 "
      "-addext subjectAltName=IP:127.0.0.1 -keyout '" +
      key + "' -out '" + cert + "' 2>/dev/null";
  ASSERT_EQ(std::system(make.c_str()), 0);
  httplib::SSLServer server(cert.c_str(), key.c_str());
  ASSERT_TRUE(server.is_valid());
  server.Get("/", [](const httplib::Request&, httplib::Response& res) {
    res.set_content("secret", "text/plain");
  });
  // https always goes to 443; the suite runs as root, so a refused bind is a
  // fault of the machine, said as one.
  ASSERT_TRUE(server.bind_to_port("127.0.0.1", 443)) << "127.0.0.1:443 cannot be bound";
  std::thread listener([&] { server.listen_after_bind(); });
  while (!server.is_running()) std::this_thread::sleep_for(1ms);

  httplib::SSLClient unchecked("127.0.0.1", 443);
  unchecked.enable_server_certificate_verification(false);
  const httplib::Result direct = unchecked.Get("/");
  const net::WebResponse response =
      net::WebAccess({.url = "https://127.0.0.1/", .timeoutSeconds = 10}, nullptr);
  server.stop();
  listener.join();

  ASSERT_TRUE(direct) << httplib::to_string(direct.error());
  EXPECT_EQ(direct->body, "secret");
  EXPECT_EQ(response.body, "");
  EXPECT_FALSE(response.timedOut);
  EXPECT_NE(response.error.find("certificate"), std::string::npos) << response.error;
}

}  // namespace
