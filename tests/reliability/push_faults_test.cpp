// Platforms that misbehave, met by the 群发 page the way a user meets them:
// the send button clicked with a timer running. Whatever the platform does,
// the window keeps ticking, the 状态 column says what happened, a failure is
// tried again only where the retry rule allows, and nothing is posted twice.
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <cctype>
#include <chrono>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "app/area_states.h"
#include "lottery/lottery.h"
#include "net/raw_server.h"
#include "push/push_handlers.h"
#include "push_harness.h"
#include "temp_dir.h"
#include "ui/memory_window.h"

namespace {

using namespace std::chrono;
using namespace std::chrono_literals;
using push_test::PlatformServer;

constexpr const char* kList = "超级列表框_群发";

// One platform the group posts to, and how many posts reached it.
struct Platform {
  std::function<std::string()> url;
  std::function<std::size_t()> posts;
};

struct Fault {
  const char* name;
  std::function<Platform()> start;
  std::size_t posts;  // by the retry rule
  const char* status;
};

// The servers of a case live as long as its platform's functions.
template <typename Server, typename... Args>
std::shared_ptr<Server> Start(Args&&... args) {
  return std::make_shared<Server>(std::forward<Args>(args)...);
}

Platform Answering(int status, const std::string& body, httplib::Headers headers = {}) {
  auto server = Start<PlatformServer>();
  server->SetAnswer([=](const push_test::Received&, httplib::Response& response) {
    response.status = status;
    for (const auto& [name, value] : headers) response.set_header(name, value);
    response.set_content(body, "application/json");
  });
  return {[server] { return server->Url("/h"); }, [server] { return server->Requests().size(); }};
}

Platform Raw(RawServer::Handler handler) {
  auto server = Start<RawServer>(std::move(handler));
  return {[server] { return server->Url("/h"); }, [server] { return server->Requests().size(); }};
}

const std::vector<Fault>& Faults() {
  static const std::vector<Fault> faults = {
      {"refused",
       [] {
         auto port = Start<push_test::RefusingPort>();
         return Platform{[port] { return port->Url("/h"); }, [] { return std::size_t{0}; }};
       },
       0, "失败：连接被拒绝"},
      {"reset mid-answer",
       [] {
         return Raw([](int connection, const std::string&) {
           RawServer::Send(connection, "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n{\"errc");
           RawServer::Reset(connection);
         });
       },
       1, "失败：连接中断"},
      {"never answers",
       [] {
         auto self = std::make_shared<RawServer*>(nullptr);
         auto server =
             Start<RawServer>([self](int, const std::string&) { (*self)->WaitForStop(); });
         *self = server.get();
         return Platform{[server] { return server->Url("/h"); },
                         [server] { return server->Requests().size(); }};
       },
       1, "失败：超时"},
      {"trickles",
       [] {
         return Raw([](int connection, const std::string&) {
           RawServer::Send(connection, "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n");
           for (int i = 0; i < 100; ++i) {
             if (::send(connection, "x", 1, MSG_NOSIGNAL) <= 0) return;
             std::this_thread::sleep_for(150ms);
           }
         });
       },
       1, "失败：超时"},
      {"500", [] { return Answering(500, ""); }, 2, "失败：HTTP 500"},
      {"429",
       [] {
         return Answering(429, "", {{"Retry-After", "5"}});
       },
       2, "失败：HTTP 429"},
      {"redirect to another host",
       [] {
         auto elsewhere = Start<PlatformServer>();
         auto redirecting = Start<PlatformServer>();
         redirecting->SetAnswer([elsewhere](const push_test::Received&, httplib::Response& r) {
           r.set_redirect(elsewhere->Url("/steal"), 307);
         });
         // Posts anywhere count: the other host must get none.
         return Platform{[redirecting] { return redirecting->Url("/h"); },
                         [redirecting, elsewhere] {
                           return redirecting->Requests().size() + elsewhere->Requests().size();
                         }};
       },
       1, "失败：HTTP 307"},
      {"100 MB answer",
       [] {
         return Raw([](int connection, const std::string&) {
           constexpr std::size_t kHuge = 100u << 20;
           RawServer::Send(connection, "HTTP/1.1 200 OK\r\nContent-Length: " +
                                           std::to_string(kHuge) + "\r\n\r\n");
           const std::string chunk(64 * 1024, 'x');
           for (std::size_t sent = 0; sent < kHuge; sent += chunk.size()) {
             if (::send(connection, chunk.data(), chunk.size(), MSG_NOSIGNAL) <= 0) return;
           }
         });
       },
       1, "已发送 20:00:"},
      {"self-signed https",
       [] {
         auto server = Start<push_test::SelfSignedServer>();
         return Platform{[server] { return server->Url("/h"); },
                         [server] { return static_cast<std::size_t>(server->posts()); }};
       },
       0, "失败：证书验证失败"},
  };
  return faults;
}

class PushFaultsTest : public ::testing::TestWithParam<Fault> {
 protected:
  PushFaultsTest() {
    window.SetClock(local_days{2024y / May / 10} + 20h);
    push::BindPushHandlers(ctx);
    // A timer of our own stands for everything else the window does.
    window.Bind("时钟_倒计时", ui::Event::Tick, [this](int) { ++ticks; });
    window.SetInterval("时钟_倒计时", 100);
  }

  TempDir dir;
  ui::MemoryWindow window;
  app::AreaStates states;
  core::Context ctx{states.MakeContext(window, dir.path(), dir.path(), lottery::Chongqing())};
  int ticks = 0;
};

TEST_P(PushFaultsTest, TheWindowTicksTheStatusSaysWhyAndNothingGoesTwice) {
  const Platform platform = GetParam().start();
  std::ofstream(dir.path() / "push.ini")
      << "[群]\ntype=webhook\nurl=" << platform.url() << "\nchecked=1\n";
  window.Click("按钮_群发刷新");
  window.SetText("编辑框_计划和集", "定位胆 5码");
  window.SetText("编辑框_群间间隔", "0");

  const auto start = steady_clock::now();
  window.Click("按钮_群发发送");
  const auto elapsed = duration_cast<milliseconds>(steady_clock::now() - start);
  // A request waits ten seconds at most; a retry's pause takes no real time here.
  EXPECT_LT(elapsed, 25s);
  // The timer fires every 100 ms of the wait; half of that is plenty of slack.
  EXPECT_GE(ticks, elapsed.count() / 200) << elapsed.count() << " ms";
  EXPECT_EQ(window.Cell(kList, 0, 2).rfind(GetParam().status, 0), 0u) << window.Cell(kList, 0, 2);
  EXPECT_EQ(platform.posts(), GetParam().posts);
  EXPECT_TRUE(window.Enabled("按钮_群发发送"));
}

std::string CaseName(const ::testing::TestParamInfo<Fault>& param) {
  std::string name;
  for (char c : std::string(param.param.name))
    name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Faults, PushFaultsTest, ::testing::ValuesIn(Faults()), CaseName);

}  // namespace
