// lanzhou-soak: whole days of draws through the real program. Starts the
// local draw mirror on a draw file, a chat webhook of two groups and
// `lanzhou --console` against them, then moves the console's clock from draw
// minute to draw minute of the day and night schedules, appending each draw
// to the file at its minute; now and then a draw comes late (only after the
// program's first poll) or never. Checks that every draw that came is
// inserted once, at the top, in order, archived once, and sent to each group
// once; samples the program's resident memory along the way. With
// --kill-every, the program is killed (SIGKILL) while it takes a draw in and
// started again: the archive must open whole and keep what it had.
#include <fcntl.h>
#include <httplib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "archive_check.h"
#include "chat_hook.h"
#include "child_process/child_process.h"
#include "mirror_draws.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono;

constexpr const char* kUsage =
    "usage: lanzhou-soak [--short] [--day YYYY-MM-DD] [--days N] [--late-every N]\n"
    "                    [--missing-every N] [--kill-every N] [--bin DIR] [--work DIR]\n"
    "  --short            only the evening of one day: the draws from 22:00 to midnight\n"
    "  --day D            the first day whose draws are run (default 2014-01-05)\n"
    "  --days N           how many days in a row (default 1)\n"
    "  --late-every N     every Nth draw arrives only after the first poll (default 7)\n"
    "  --missing-every N  every Nth draw never arrives (default 23)\n"
    "  --kill-every N     every Nth draw the program is killed while taking it in, then\n"
    "                     started again (default 0: never)\n"
    "  --bin DIR          where lanzhou and lanzhou-drawd are (default: beside this program)\n"
    "  --work DIR         data directory and draw file (default: a fresh one under /tmp,\n"
    "                     removed after a run that passed)\n";

[[noreturn]] void Fail(const std::string& message) {
  std::cerr << "lanzhou-soak: " << message << "\n";
  std::exit(1);
}

// The console's one-line answer to a query; any "error:" line ends the run.
std::string Ask(ChildProcess& console, const std::string& query) {
  if (!console.WriteLine(query)) Fail("the console is gone (" + query + ")");
  std::optional<std::string> line = console.ReadLine(600000);
  if (!line) Fail("no answer to " + query);
  if (line->starts_with("error:")) Fail(query + ": " + *line);
  return *line;
}

long RssKb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with("VmRSS:")) return std::stol(line.substr(6));
  }
  return -1;
}

std::string ClockText(drawd::LocalSeconds t) {
  const auto day = floor<days>(t);
  const year_month_day date{day};
  const hh_mm_ss<seconds> time{t - day};
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                static_cast<int>(time.seconds().count()));
  return text;
}

std::optional<drawd::LocalSeconds> ParseClock(const std::string& text) {
  auto date = drawd::ParseDashedDate(std::string_view(text).substr(0, 10));
  if (text.size() != 19 || !date) return std::nullopt;
  return drawd::LocalSeconds{local_days(*date).time_since_epoch()} +
         hours(std::stoi(text.substr(11, 2))) + minutes(std::stoi(text.substr(14, 2))) +
         seconds(std::stoi(text.substr(17, 2)));
}

std::string Line(const lottery::Draw& draw) { return draw.issue + " " + draw.code; }

lottery::Draw DrawOf(year_month_day date, int sequence) {
  return drawd::SimulatedDraw({date, sequence});
}

// The sequence that starts the evening of a day: its last draws that fall in
// one window.
int EveningStart(year_month_day date) {
  const lottery::Schedule& schedule = drawd::MirroredLottery().schedule;
  auto windowOf = [&](int sequence) {
    return schedule.WindowAt(schedule.DrawTime(date, sequence));
  };
  int first = schedule.DrawsPerDay();
  while (first > 1 && windowOf(first - 1) == windowOf(first)) --first;
  return first;
}

// The second feed: answers the newest draw already published, in its own
// shape. For a late draw it is where the draw gets published: the program
// asks it only once the first feed had nothing new, so the draw is appended
// to the file then and the first feed has it on the next pass.
class SecondFeed {
 public:
  explicit SecondFeed(fs::path drawFile) : drawFile_(std::move(drawFile)) {
    server_.Get("/static/ssc/newlyopenlist.xml", [this](const httplib::Request&,
                                                        httplib::Response& response) {
      std::lock_guard lock(mutex_);
      std::string body = "<xml>";
      if (newest_) {
        const std::string issue = lottery::LongIssueText(drawd::IssueOf(*newest_));
        std::string code;
        for (char digit : newest_->code) code += std::string(code.empty() ? "" : ",") + digit;
        body += "<row expect=\"" + issue + "\" opencode=\"" + code + "\" opentime=\"\"/>";
      }
      response.set_content(body + "</xml>", "text/xml");
      if (late_) {
        Append(*late_);
        late_.reset();
        ++latePublished_;
      }
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::sleep_for(milliseconds(1));
  }
  ~SecondFeed() {
    server_.stop();
    thread_.join();
  }

  int port() const { return port_; }

  void Publish(const lottery::Draw& draw) {
    std::lock_guard lock(mutex_);
    Append(draw);
  }
  void PublishOnNextRequest(const lottery::Draw& draw) {
    std::lock_guard lock(mutex_);
    late_ = draw;
  }
  int LatePublished() {
    std::lock_guard lock(mutex_);
    return latePublished_;
  }

 private:
  void Append(const lottery::Draw& draw) {
    std::ofstream(drawFile_, std::ios::app) << Line(draw) << "\n";
    newest_ = draw;
  }

  fs::path drawFile_;
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
  std::mutex mutex_;
  std::optional<lottery::Draw> newest_;
  std::optional<lottery::Draw> late_;
  int latePublished_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  bool shortRun = false;
  year_month_day day = 2014y / January / 5d;
  int dayCount = 1, lateEvery = 7, missingEvery = 23, killEvery = 0;
  fs::path bin = fs::canonical("/proc/self/exe").parent_path();
  fs::path work;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--short") {
      shortRun = true;
      continue;
    }
    if (arg == "--help" || i + 1 >= argc) {
      std::cerr << kUsage;
      return arg == "--help" ? 0 : 2;
    }
    std::string value = argv[++i];
    if (arg == "--day") {
      auto parsed = drawd::ParseDashedDate(value);
      if (!parsed) Fail("bad day " + value);
      day = *parsed;
    } else if (arg == "--days") {
      dayCount = std::max(1, std::stoi(value));
    } else if (arg == "--late-every") {
      lateEvery = std::stoi(value);
    } else if (arg == "--missing-every") {
      missingEvery = std::stoi(value);
    } else if (arg == "--kill-every") {
      killEvery = std::stoi(value);
    } else if (arg == "--bin") {
      bin = value;
    } else if (arg == "--work") {
      work = value;
    } else {
      std::cerr << kUsage;
      return 2;
    }
  }
  const bool ownWork = work.empty();
  if (ownWork) {
    char pattern[] = "/tmp/lanzhou-soak-XXXXXX";
    if (!mkdtemp(pattern)) Fail("cannot make a work directory");
    work = pattern;
  }
  fs::create_directories(work);
  const fs::path drawFile = work / "draws.txt";
  const year_month_day yesterday{local_days(day) - days(1)};

  // The draws run through: whole issue days, their last draw at midnight, or
  // one evening. What lies before is in the file from the start.
  const int drawsPerDay = drawd::MirroredLottery().schedule.DrawsPerDay();
  const int first = shortRun ? EveningStart(day) : 1;
  if (shortRun) dayCount = 1;
  std::vector<lottery::Draw> run;
  for (int d = 0; d < dayCount; ++d) {
    const year_month_day date{local_days(day) + days(d)};
    for (int sequence = d == 0 ? first : 1; sequence <= drawsPerDay; ++sequence) {
      run.push_back(DrawOf(date, sequence));
    }
  }
  {
    std::ofstream out(drawFile, std::ios::trunc);
    for (int sequence = 1; sequence <= drawsPerDay; ++sequence)
      out << Line(DrawOf(yesterday, sequence)) << "\n";
    for (int sequence = 1; sequence < first; ++sequence) out << Line(DrawOf(day, sequence)) << "\n";
  }

  SecondFeed secondFeed(drawFile);
  ChildProcess mirror(
      {(bin / "lanzhou-drawd").string(), "--port", "0", "--draws", drawFile.string()});
  std::string banner = mirror.ReadLine(10000).value_or("");
  std::size_t at = banner.find("http://127.0.0.1:");
  if (at == std::string::npos) Fail("the mirror did not start: " + banner);
  const std::string mirrorBase = banner.substr(at);
  {
    std::ofstream sources(work / "sources.ini", std::ios::trunc);
    sources << "[sources]\r\nhistory=" << mirrorBase << "\r\nfeed1=" << mirrorBase
            << "\r\nfeed2=http://127.0.0.1:" << secondFeed.port() << "\r\nvideo=" << mirrorBase
            << "\r\nannouncement=" << mirrorBase << "/announcement.html\r\n";
    // Presets for the plans that run after every new draw ("DCC*657", "AB+9").
    std::ofstream presets(work / "gs.ini", std::ios::trunc);
    for (int kind = 1; kind <= 3; ++kind) {
      presets << "[" << kind << "]\r\n1=68,67,67,42,54,53,55\r\n2=65,66,43,57\r\n";
    }
  }
  ChatHook hook;
  const std::vector<std::string> groups = {"/group1", "/group2"};
  {
    std::ofstream push(work / "push.ini", std::ios::trunc);
    for (const std::string& group : groups)
      push << "[" << group.substr(1) << "]\ntype=webhook\nurl=" << hook.Url(group)
           << "\nchecked=1\n";
  }

  const drawd::LocalSeconds start =
      shortRun ? drawd::DrawTime({day, first}) - minutes(2)
               : drawd::LocalSeconds{local_days(day).time_since_epoch()} + seconds(30);
  const auto realStart = steady_clock::now();
  // Started at a clock time, with every plan kind following each new draw
  // and the collection rebuilt and sent to the groups, as a user who ticked
  // the boxes has it; the draw list it shows then, newest first.
  std::vector<std::string> expected;
  std::set<std::string> shown;  // every draw the list showed, across restarts
  auto startConsole = [&](drawd::LocalSeconds clock) {
    auto console = std::make_unique<ChildProcess>(
        std::vector<std::string>{(bin / "lanzhou").string(), "--console", "--data-dir",
                                 work.string(), "--clock", ClockText(clock)});
    const int rows = std::stoi(Ask(*console, "count 列表框_开奖"));
    for (const char* box : {"选择框_定位更新", "选择框_后二更新", "选择框_后三更新",
                            "选择框_集合自动", "选择框_自动群发"}) {
      Ask(*console, std::string("check ") + box + " 1\nchecked " + box);
    }
    Ask(*console, "set 编辑框_群间间隔 0\ntext 编辑框_群间间隔");
    expected.clear();
    for (int row = 0; row < rows; ++row) {
      expected.push_back(Ask(*console, "cell 列表框_开奖 " + std::to_string(row) + " 0") + " " +
                         Ask(*console, "cell 列表框_开奖 " + std::to_string(row) + " 1"));
    }
    if (expected.empty()) Fail("the first refresh brought no draws");
    shown.insert(expected.begin(), expected.end());
    return console;
  };
  std::unique_ptr<ChildProcess> console = startConsole(start);
  const long rssStart = RssKb(console->pid());
  long rssMax = rssStart;
  std::cout << "start " << ClockText(start) << ": " << expected.size() << " rows, newest "
            << expected.front() << ", RSS " << rssStart << " kB\n";

  std::mt19937 random(20140105);
  std::set<std::string> inFlight;  // draws taken in while the program was killed
  int kills = 0;
  int inserted = 0, late = 0, missing = 0;
  std::vector<std::string> insertedIssues;
  // How long the console takes for the draw minute and the polling after it,
  // in real time: a kill lands somewhere within it.
  microseconds takeIn{50000};
  for (std::size_t i = 0; i < run.size(); ++i) {
    const lottery::Draw& draw = run[i];
    const drawd::LocalSeconds due = drawd::DrawTime(drawd::IssueOf(draw));
    // Up to shortly before the draw minute, at the clock's own pace.
    auto now = ParseClock(Ask(*console, "now"));
    if (!now) Fail("bad clock answer");
    if (*now < due - seconds(20)) {
      Ask(*console,
          "wait " + std::to_string(duration_cast<milliseconds>(due - seconds(20) - *now).count()) +
              "\nnow");
    }
    const int number = static_cast<int>(i) + 1;
    const bool isMissing = missingEvery > 0 && number % missingEvery == 0;
    const bool isLate = !isMissing && lateEvery > 0 && number % lateEvery == 0;
    const bool isKilled = !isLate && killEvery > 0 && number % killEvery == 0;
    if (isMissing) {
      ++missing;
    } else if (isLate) {
      secondFeed.PublishOnNextRequest(draw);
      ++late;
    } else {
      secondFeed.Publish(draw);
    }
    if (!isMissing) {
      insertedIssues.push_back(draw.issue);
      ++inserted;
    }
    if (isKilled) {
      // Killed while polling, storing or sending; what the list held before
      // was archived when it came in.
      const std::vector<std::string> before = expected;
      if (!console->WriteLine("wait 150000")) Fail("the console is gone");
      std::this_thread::sleep_for(
          microseconds(std::uniform_int_distribution<long>(0, takeIn.count())(random)));
      kill(console->pid(), SIGKILL);
      console.reset();
      ++kills;
      const ArchiveContents archived = ReadArchive(work / "draws.db");
      if (archived.integrity != "ok")
        Fail("killed at " + draw.issue + ", the archive is " + archived.integrity);
      for (const std::string& line : before) {
        if (!archived.draws.contains(line))
          Fail("killed at " + draw.issue + ", the archive lost " + line);
      }
      if (!isMissing) inFlight.insert(draw.issue);
      // Started again after the polling: its first refresh brings the draw.
      console = startConsole(due + seconds(150));
      if (!isMissing && expected.front() != Line(draw))
        Fail("restarted after " + draw.issue + ", the top row is " + expected.front());
      continue;
    }
    // Through the draw minute and the update's two minutes of polling.
    const auto takeInStart = steady_clock::now();
    Ask(*console, "wait 150000\nnow");
    takeIn = duration_cast<microseconds>(steady_clock::now() - takeInStart);
    const std::string top =
        Ask(*console, "cell 列表框_开奖 0 0") + " " + Ask(*console, "cell 列表框_开奖 0 1");
    if (!isMissing) {
      expected.insert(expected.begin(), Line(draw));
      shown.insert(Line(draw));
    }
    if (top != expected.front()) {
      Fail("after " + draw.issue +
           (isMissing ? " (missing)"
            : isLate  ? " (late)"
                      : "") +
           " the top row is " + top + ", not " + expected.front());
    }
    const long rss = RssKb(console->pid());
    rssMax = std::max(rssMax, rss);
    if (drawd::IssueOf(draw).sequence == drawsPerDay) {
      std::cout << "day " << draw.issue.substr(0, 8) << " done: " << expected.size()
                << " rows, RSS " << rss << " kB\n";
    }
  }
  // Nothing that came later sneaks in after the last draw.
  Ask(*console, "wait 600000\nnow");

  const int rows = std::stoi(Ask(*console, "count 列表框_开奖"));
  std::vector<std::string> actual;
  for (int row = 0; row < rows; ++row) {
    actual.push_back(Ask(*console, "cell 列表框_开奖 " + std::to_string(row) + " 0") + " " +
                     Ask(*console, "cell 列表框_开奖 " + std::to_string(row) + " 1"));
  }
  const long rssEnd = RssKb(console->pid());
  const std::string clockEnd = Ask(*console, "now");
  const double realSeconds = duration<double>(steady_clock::now() - realStart).count();
  console->WriteLine("quit");
  console.reset();

  std::cout << "end " << clockEnd << ": " << rows << " rows; " << run.size() << " draws due, "
            << inserted << " inserted (" << late << " late), " << missing << " missing\n"
            << "RSS start " << rssStart << " kB, end " << rssEnd << " kB, max " << rssMax << " kB\n"
            << "late draws published on the program's poll: " << secondFeed.LatePublished() << "\n"
            << "memory growth " << (rssEnd - rssStart) / std::max(1, dayCount) << " kB per day\n"
            << "kills while taking a draw in: " << kills << "\n"
            << "real time " << realSeconds << " s\n";
  if (actual != expected) {
    for (std::size_t row = 0; row < std::max(actual.size(), expected.size()); ++row) {
      std::string a = row < actual.size() ? actual[row] : "-";
      std::string e = row < expected.size() ? expected[row] : "-";
      if (a != e) std::cerr << "row " << row << ": " << a << ", expected " << e << "\n";
    }
    Fail("the draw list is not the draws that came, newest first, each once");
  }
  std::cout << "ok: every draw that came is in the list once, in order\n";

  // Every draw the list ever showed is archived, once, and nothing else.
  const ArchiveContents archived = ReadArchive(work / "draws.db");
  if (archived.integrity != "ok") Fail("the archive at the end is " + archived.integrity);
  if (archived.draws != shown) {
    for (const std::string& line : shown)
      if (!archived.draws.contains(line)) std::cerr << "not archived: " << line << "\n";
    for (const std::string& line : archived.draws)
      if (!shown.contains(line)) std::cerr << "archived but never shown: " << line << "\n";
    Fail("the archive is not the draws the list showed");
  }
  for (const auto& entry : fs::directory_iterator(work)) {
    if (entry.path().filename().string().starts_with("draws.db.broken"))
      Fail("the archive was set aside as broken: " + entry.path().string());
  }
  std::cout << "ok: the archive holds the " << shown.size() << " draws shown, each once\n";

  // Each draw's text went to each group once; a draw taken in by a program
  // that was killed on the way may have gone out before the kill, or not.
  for (const std::string& group : groups) {
    for (const std::string& issue : insertedIssues) {
      const int sent = hook.Count(group, "重庆:" + issue + " ");
      if (sent > 1 || (sent == 0 && !inFlight.contains(issue)))
        Fail(issue + " went to " + group + " " + std::to_string(sent) + " times");
    }
  }
  std::cout << "ok: each draw's text went to each of " << groups.size() << " groups once ("
            << hook.Posts(groups[0]) << " posts each; " << inFlight.size()
            << " draws taken in across a kill)\n";
  if (ownWork) fs::remove_all(work);
  return 0;
}
