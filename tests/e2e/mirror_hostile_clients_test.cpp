// The local draw mirror (`lanzhou-drawd`) against clients that misbehave: a
// request body it must not read, connections left idle or fed a byte at a
// time, a thousand-part Range header. The mirror stays small, keeps answering
// everyone else and sends every page whole.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "child_process/child_process.h"

namespace {

using namespace std::chrono;
using namespace std::chrono_literals;
using SteadyClock = steady_clock;

const std::filesystem::path kBin = LANZHOU_TEST_BIN_DIR;
const std::string kFeed = "/static/ssc/newlyopenlist.xml";

// One client connection to the mirror, closed when the object goes.
class Connection {
 public:
  explicit Connection(int port) {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~Connection() { close(fd_); }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  bool connected() const { return connected_; }

  // False once the mirror is gone.
  bool Send(const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
      ssize_t n = send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) return false;
      sent += static_cast<std::size_t>(n);
    }
    return true;
  }

  // What arrives until the mirror ends the connection; nullopt when it is
  // still open after `limit`.
  std::optional<std::string> ReadToClose(milliseconds limit) {
    const auto until = SteadyClock::now() + limit;
    for (;;) {
      const auto left = duration_cast<milliseconds>(until - SteadyClock::now());
      pollfd ready{fd_, POLLIN, 0};
      if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
        return std::nullopt;
      }
      char chunk[65536];
      ssize_t got = recv(fd_, chunk, sizeof chunk, 0);
      if (got <= 0) return received_;  // an orderly end or a reset
      received_.append(chunk, static_cast<std::size_t>(got));
    }
  }

 private:
  int fd_ = -1;
  bool connected_ = false;
  std::string received_;
};

std::string StatusLine(const std::string& answer) { return answer.substr(0, answer.find("\r\n")); }

std::string Body(const std::string& answer) {
  std::size_t end = answer.find("\r\n\r\n");
  return end == std::string::npos ? std::string() : answer.substr(end + 4);
}

class MirrorHostileClientsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mirror.emplace(std::vector<std::string>{(kBin / "lanzhou-drawd").string(), "--port", "0",
                                            "--clock", "2014-01-05T14:00:00"});
    ASSERT_TRUE(mirror->started());
    const std::string banner = mirror->ReadLine(10000).value_or("");
    ASSERT_NE(banner.find("http://127.0.0.1:"), std::string::npos) << banner;
    port = std::stoi(banner.substr(banner.rfind(':') + 1));
  }

  // One GET on a connection of its own; the whole answer, or a mark when the
  // mirror has not finished it within 10 s.
  std::string Get(const std::string& path, const std::string& headerLines = "") {
    Connection connection(port);
    connection.Send("GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n" +
                    headerLines + "\r\n");
    return connection.ReadToClose(10s).value_or("<no whole answer within 10 s>");
  }

  long PeakRssKb() const {
    std::ifstream status("/proc/" + std::to_string(mirror->pid()) + "/status");
    std::string line;
    while (std::getline(status, line)) {
      if (line.starts_with("VmHWM:")) return std::stol(line.substr(6));
    }
    return -1;
  }

  std::optional<ChildProcess> mirror;
  int port = 0;
};

// A body is refused from its header alone, with the connection closed: the
// mirror answers at once instead of waiting for a terabyte, and a sender that
// goes on finds it gone long before the mirror could grow.
TEST_F(MirrorHostileClientsTest, BodiesAreRefusedWithoutBeingRead) {
  struct Case {
    const char* name;
    std::string head;
  };
  const std::string host = " HTTP/1.1\r\nHost: 127.0.0.1\r\n";
  const std::vector<Case> cases = {
      {"POST of a terabyte", "POST " + kFeed + host + "Content-Length: 1099511627776\r\n\r\n"},
      {"GET with a terabyte", "GET " + kFeed + host + "Content-Length: 1099511627776\r\n\r\n"},
      {"chunked POST", "POST " + kFeed + host + "Transfer-Encoding: chunked\r\n\r\n"},
  };
  const std::string chunk(1 << 16, 'b');
  for (const Case& hostile : cases) {
    SCOPED_TRACE(hostile.name);
    Connection connection(port);
    ASSERT_TRUE(connection.connected());
    connection.Send(hostile.head + chunk);
    const std::optional<std::string> answer = connection.ReadToClose(10s);
    ASSERT_TRUE(answer.has_value()) << "still open after 10 s";
    EXPECT_EQ(StatusLine(*answer), "HTTP/1.1 413 Payload Too Large");

    Connection flood(port);
    std::size_t sent = 0;
    for (bool open = flood.Send(hostile.head); open && sent < (256u << 20); sent += chunk.size()) {
      open = flood.Send(chunk);
    }
    EXPECT_LT(sent, 64u << 20) << "bytes of body taken";
  }
  EXPECT_LT(PeakRssKb(), 64 * 1024) << "kB";
  EXPECT_EQ(StatusLine(Get(kFeed)), "HTTP/1.1 200 OK");
}

// A request head that never ends is refused at its limit, not kept growing.
TEST_F(MirrorHostileClientsTest, AnEndlessRequestHeadIsCutOff) {
  Connection connection(port);
  ASSERT_TRUE(connection.connected());
  const std::string chunk(1 << 16, 'h');
  std::size_t sent = 0;
  bool open = connection.Send("GET " + kFeed + " HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Long: ");
  for (; open && sent < (256u << 20); sent += chunk.size()) open = connection.Send(chunk);
  EXPECT_LT(sent, 64u << 20) << "bytes of head taken";
  EXPECT_LT(PeakRssKb(), 64 * 1024) << "kB";
  EXPECT_EQ(StatusLine(Get(kFeed)), "HTTP/1.1 200 OK");
}

// Two hundred connections that never send a byte and one that sends a header
// byte a second: the feed is still answered at once, and the mirror ends all
// of them within a few seconds.
TEST_F(MirrorHostileClientsTest, IdleConnectionsStarveNobodyAndAreClosed) {
  std::vector<std::unique_ptr<Connection>> idle;
  for (int i = 0; i < 200; ++i) {
    idle.push_back(std::make_unique<Connection>(port));
    ASSERT_TRUE(idle.back()->connected());
  }
  Connection trickling(port);
  trickling.Send("GET " + kFeed + " HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Slow: ");

  EXPECT_EQ(StatusLine(Get(kFeed)), "HTTP/1.1 200 OK");

  const auto until = SteadyClock::now() + 20s;
  bool trickleEnded = false;
  while (!trickleEnded && SteadyClock::now() < until) {
    trickling.Send("a");
    trickleEnded = trickling.ReadToClose(1s).has_value();
  }
  EXPECT_TRUE(trickleEnded) << "a byte a second kept the connection for 20 s";
  int stillOpen = 0;
  for (auto& connection : idle) {
    const auto left = std::max(duration_cast<milliseconds>(until - SteadyClock::now()), 0ms);
    if (!connection->ReadToClose(left).has_value()) ++stillOpen;
  }
  EXPECT_EQ(stillOpen, 0);
}

// The listening socket queues as many connections as the system allows by
// default (ss shows a listener's backlog as its Send-Q).
TEST_F(MirrorHostileClientsTest, ListensWithTheSystemsBacklog) {
  const std::string command = "ss -ltnH 'sport = :" + std::to_string(port) + "'";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char line[512] = {};
  const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
  pclose(pipe);
  ASSERT_TRUE(read) << command << " printed nothing";
  std::istringstream fields(line);
  std::string state;
  long queued = -1, backlog = -1;
  fields >> state >> queued >> backlog;
  EXPECT_EQ(state, "LISTEN") << line;
  EXPECT_GE(backlog, 128) << line;
}

// Every answer is the whole page, whatever Range asks for.
TEST_F(MirrorHostileClientsTest, RangeHeadersAreIgnored) {
  const std::string whole = Get(kFeed);
  ASSERT_EQ(StatusLine(whole), "HTTP/1.1 200 OK");
  std::string manyParts = "bytes=0-0";
  for (int i = 1; i < 2000; ++i) manyParts += "," + std::to_string(i % 10) + "-";
  for (const std::string& range :
       {manyParts, std::string("bytes=5-9"), std::string("bytes=999-"), std::string("pages=1")}) {
    SCOPED_TRACE(range.substr(0, 40));
    const std::string answer = Get(kFeed, "Range: " + range + "\r\n");
    EXPECT_EQ(StatusLine(answer), "HTTP/1.1 200 OK");
    // sizes first: a multipart answer would fill the screen
    EXPECT_EQ(Body(answer).size(), Body(whole).size());
    EXPECT_TRUE(Body(answer) == Body(whole));
    EXPECT_EQ(answer.find("Content-Range"), std::string::npos);
  }
}

}  // namespace
