#pragma once

// A MemoryWindow with the draw handlers bound, and a local HTTP server on an
// ephemeral port named in the data directory's sources.ini.

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "app/area_states.h"
#include "core/context.h"
#include "draws/draw_handlers.h"
#include "draws/draw_list.h"
#include "lottery/lottery.h"
#include "storage/ini_file.h"
#include "temp_dir.h"
#include "ui/memory_window.h"

namespace draws_test {

using namespace std::chrono;

inline ui::LocalTime At(year_month_day day, int hour, int minute, int second = 0) {
  return ui::LocalTime{local_days(day).time_since_epoch()} + hours(hour) + minutes(minute) +
         seconds(second);
}

class LocalServer {
 public:
  LocalServer() = default;
  LocalServer(const LocalServer&) = delete;
  LocalServer& operator=(const LocalServer&) = delete;
  ~LocalServer() { Stop(); }

  httplib::Server& server() { return server_; }
  int port() const { return port_; }

  void Start() {
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    // stop() only ends a server that already runs
    while (!server_.is_running()) std::this_thread::sleep_for(milliseconds(1));
  }
  void Stop() {
    if (thread_.joinable()) {
      server_.stop();
      thread_.join();
    }
  }

 private:
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
};

// Bodies the fake sources answer with, changeable while requests run.
class FakeSources {
 public:
  void SetDayPage(const std::string& span, const std::string& body) {
    std::lock_guard lock(mutex_);
    dayPages_[span] = body;
  }
  // Feed bodies by request number (0-based, per feed); the last one repeats.
  void SetFeed(int feed, std::vector<std::string> bodies) {
    std::lock_guard lock(mutex_);
    feeds_[feed] = std::move(bodies);
  }
  int FeedRequests(int feed) const { return feedRequests_[feed - 1]; }

  void Install(httplib::Server& server) {
    server.Get("/kaijiang/kaijiang", [this](const httplib::Request& request,
                                            httplib::Response& response) {
      std::lock_guard lock(mutex_);
      auto page = dayPages_.find(request.get_param_value("span"));
      response.set_content(page == dayPages_.end() ? "<html></html>" : page->second, "text/html");
    });
    for (int feed : {1, 2}) {
      server.Get(
          feed == 1 ? "/static/public/ssc/xml/newlyopen.xml" : "/static/ssc/newlyopenlist.xml",
          [this, feed](const httplib::Request&, httplib::Response& response) {
            std::lock_guard lock(mutex_);
            int number = feedRequests_[feed - 1]++;
            const std::vector<std::string>& bodies = feeds_[feed];
            if (bodies.empty()) return;
            response.set_content(bodies[std::min<std::size_t>(number, bodies.size() - 1)],
                                 "text/xml");
          });
    }
  }

 private:
  std::mutex mutex_;
  std::map<std::string, std::string> dayPages_;
  std::map<int, std::vector<std::string>> feeds_;
  std::atomic<int> feedRequests_[2] = {0, 0};
};

inline std::string DayRow(int sequence, const std::string& code) {
  char text[96];
  std::snprintf(text, sizeof text,
                "<tr><td class='gray'>%03d</td><td class='red big'>%s</td></tr>\r\n", sequence,
                code.c_str());
  return text;
}

inline std::string FirstFeedBody(const std::string& issueKey, const std::string& code) {
  return "<xml><row expect=\"" + issueKey + "\" starttime=\"\" opencode=\"" + code +
         "\" order=\"1\"/></xml>";
}

inline std::string SecondFeedBody(const std::string& longIssue, const std::string& code) {
  return "<xml><row expect=\"" + longIssue + "\" opencode=\"" + code + "\" opentime=\"\"/></xml>";
}

class Harness {
 public:
  Harness() : ctx{states.MakeContext(window, dir.path(), dir.path(), lottery::Chongqing())} {
    draws::BindDrawHandlers(ctx);
    // Where the archive stores the draw: the first to hear of it.
    ctx.events.Subscribe(core::Event::DrawInserted, core::Stage::Archive, [this] {
      ++drawsInserted;
      autoTimerDuringHook = window.Interval("时钟_自动更新");
    });
  }

  // Points every source at base ("http://127.0.0.1:PORT").
  void UseSources(const std::string& base) {
    auto file = dir.path() / "sources.ini";
    for (const char* key : {"history", "feed1", "feed2", "video"}) {
      ASSERT_TRUE(storage::WriteIniKey(file, "sources", key, base).ok());
    }
    ASSERT_TRUE(
        storage::WriteIniKey(file, "sources", "announcement", base + "/announcement.html").ok());
  }
  void UseServer(const LocalServer& server) {
    UseSources("http://127.0.0.1:" + std::to_string(server.port()));
  }

  void AddRow(const std::string& issue, const std::string& code) {
    int row = window.InsertRow(draws::kDrawList, -1);
    window.SetCell(draws::kDrawList, row, 0, issue);
    window.SetCell(draws::kDrawList, row, 1, code);
  }
  std::string Issue(int row) const { return window.Cell(draws::kDrawList, row, 0); }
  std::string Code(int row) const { return window.Cell(draws::kDrawList, row, 1); }
  int Rows() const { return window.RowCount(draws::kDrawList); }

  TempDir dir;
  ui::MemoryWindow window;
  app::AreaStates states;
  core::Context ctx;
  int drawsInserted = 0;
  int autoTimerDuringHook = -1;
};

}  // namespace draws_test
