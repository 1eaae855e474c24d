#include <gtest/gtest.h>

#include <QApplication>
#include <QNetworkCookie>
#include <QTest>
#include <QWebEngineCookieStore>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "gui/html_viewer.h"
#include "gui/qt_window.h"
#include "net/http_server.h"

// The browser engine for real: these tests start its helper processes.
namespace gui {
namespace {

constexpr int kLoadLimitMs = 60000;

// What the browser asked the local server for, with the cookies it sent.
class PageServer {
 public:
  struct Request {
    std::string path;
    std::string cookie;
  };

  PageServer() {
    // One request per connection: a kept-alive one would hold the server's
    // stop for seconds.
    http_.server().set_keep_alive_max_count(1);
    http_.server().Get(
        R"(/page/(\w+))", [this](const httplib::Request& request, httplib::Response& response) {
          {
            std::lock_guard lock(mutex_);
            requests_.push_back({request.path, request.get_header_value("Cookie")});
          }
          if (request.has_param("cookie")) {
            response.set_header("Set-Cookie", "visit=" + request.get_param_value("cookie"));
          }
          response.set_content("<html><body>" + request.path + "</body></html>", "text/html");
        });
  }

  std::string Url(const std::string& path) const { return http_.Url(path); }

  std::vector<Request> Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
  }

  bool WaitForRequests(std::size_t count) const {
    return QTest::qWaitFor([&] { return Requests().size() >= count; }, kLoadLimitMs);
  }

 private:
  mutable std::mutex mutex_;
  std::vector<Request> requests_;
  HttpServer http_;
};

class QtBrowserTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (QApplication::instance() == nullptr) {
      setenv("QT_QPA_PLATFORM", "offscreen", 0);
      unsetenv("LANZHOU_NO_WEBENGINE");
      setenv("LANZHOU_MESSAGEBOX_LOG", "1", 1);
      PrepareWebEngineEnvironment();
      static int argc = 1;
      static char name[] = "qt_browser_test";
      static char* argv[] = {name, nullptr};
      new QApplication(argc, argv);
    }
  }

  // scripts/setup installs the engine's helper process: without it these
  // tests fail rather than pass unseen.
  void SetUp() override { ASSERT_TRUE(WebEngineUsable()) << "the browser engine cannot run here"; }

  PageServer server;
};

TEST_F(QtBrowserTest, AnAddressSentBeforeTheBrowserExistsIsLoadedOnceItDoes) {
  HtmlViewer viewer(nullptr);
  viewer.resize(300, 200);
  std::vector<int> progress;
  viewer.OnProgress([&](int percent) { progress.push_back(percent); });
  viewer.Navigate(server.Url("/page/first"));
  viewer.Navigate(server.Url("/page/last"));
  viewer.ClearCookies("127.0.0.1");  // nothing to clear yet
  EXPECT_FALSE(viewer.HasWebEngine());
  EXPECT_EQ(viewer.findChild<QWebEngineView*>(), nullptr);
  QTest::qWait(200);
  EXPECT_TRUE(server.Requests().empty());

  viewer.CreateBrowser();
  ASSERT_TRUE(viewer.HasWebEngine());
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return !progress.empty() && progress.back() == 100; }, kLoadLimitMs));
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].path, "/page/last");
  EXPECT_EQ(viewer.Address(), server.Url("/page/last"));
  EXPECT_EQ(viewer.findChild<QWebEngineView*>()->geometry(), viewer.rect());

  viewer.CreateBrowser();  // a second call makes no second browser
  EXPECT_EQ(viewer.findChildren<QWebEngineView*>().size(), 1);

  viewer.Navigate(server.Url("/page/again"));
  ASSERT_TRUE(server.WaitForRequests(2));
  EXPECT_EQ(server.Requests()[1].path, "/page/again");
}

TEST_F(QtBrowserTest, ClearCookiesDeletesOnlyTheCookiesThatReachTheHost) {
  HtmlViewer viewer(nullptr);
  viewer.CreateBrowser();
  QWebEngineCookieStore* store =
      viewer.findChild<QWebEngineView*>()->page()->profile()->cookieStore();
  // Connected after the viewer's own connections, so the viewer has seen each
  // change by the time the test does.
  int added = 0;
  int removed = 0;
  QObject::connect(store, &QWebEngineCookieStore::cookieAdded, &viewer,
                   [&](const QNetworkCookie&) { ++added; });
  QObject::connect(store, &QWebEngineCookieStore::cookieRemoved, &viewer,
                   [&](const QNetworkCookie&) { ++removed; });

  viewer.Navigate(server.Url("/page/set?cookie=1"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return added == 1; }, kLoadLimitMs));
  viewer.Navigate(server.Url("/page/sent"));
  ASSERT_TRUE(server.WaitForRequests(2));
  EXPECT_EQ(server.Requests()[1].cookie, "visit=1");

  viewer.ClearCookies("127.0.0.2");
  viewer.ClearCookies("27.0.0.1");
  viewer.Navigate(server.Url("/page/kept"));
  ASSERT_TRUE(server.WaitForRequests(3));
  EXPECT_EQ(server.Requests()[2].cookie, "visit=1");
  EXPECT_EQ(removed, 0);

  viewer.ClearCookies("127.0.0.1");
  ASSERT_TRUE(QTest::qWaitFor([&] { return removed == 1; }, kLoadLimitMs));
  viewer.Navigate(server.Url("/page/cleared"));
  ASSERT_TRUE(server.WaitForRequests(4));
  EXPECT_EQ(server.Requests()[3].path, "/page/cleared");
  EXPECT_EQ(server.Requests()[3].cookie, "");
}

std::vector<HtmlViewer*> Viewers(const QtWindow& window) {
  const auto found = window.Widget()->findChildren<HtmlViewer*>();
  return {found.begin(), found.end()};
}

TEST_F(QtBrowserTest, TheWindowPaintsBeforeItsBrowsersExistAndMakesThemRightAfter) {
  QtWindow window;
  ASSERT_EQ(Viewers(window).size(), 2u);
  std::vector<int> progress;
  window.Bind("超文本浏览框1", ui::Event::Progress,
              [&](int percent) { progress.push_back(percent); });
  window.Navigate("超文本浏览框1", server.Url("/page/announcement"));

  int paintedWithoutBrowsers = 0;
  int paintedWithBrowsers = 0;
  window.AfterFirstPaint([&] {
    for (HtmlViewer* viewer : Viewers(window)) {
      (viewer->HasWebEngine() ? paintedWithBrowsers : paintedWithoutBrowsers) += 1;
    }
  });
  for (HtmlViewer* viewer : Viewers(window)) {
    EXPECT_FALSE(viewer->HasWebEngine());
  }
  QTest::qWait(100);
  EXPECT_EQ(paintedWithoutBrowsers + paintedWithBrowsers, 0) << "ran before the window showed";

  window.SetVisible(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return paintedWithoutBrowsers == 2; }, kLoadLimitMs));
  EXPECT_EQ(paintedWithBrowsers, 0);
  for (HtmlViewer* viewer : Viewers(window)) {
    EXPECT_TRUE(viewer->HasWebEngine());
  }
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return !progress.empty() && progress.back() == 100; }, kLoadLimitMs));
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0].path, "/page/announcement");

  // Asked for after the first paint, it still runs, and only once.
  int late = 0;
  window.AfterFirstPaint([&] { ++late; });
  ASSERT_TRUE(QTest::qWaitFor([&] { return late == 1; }, kLoadLimitMs));
  window.Widget()->repaint();
  QTest::qWait(50);
  EXPECT_EQ(late, 1);
  EXPECT_EQ(paintedWithoutBrowsers, 2);
}

}  // namespace
}  // namespace gui
