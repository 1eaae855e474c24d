#pragma once

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "net/http_server.h"
#include "push/waiter.h"
#include "temp_dir.h"

namespace push_test {

// A waiter that keeps a simulated clock, as the console does: pauses move the
// clock without taking real time, and are recorded in order. Request waits
// block for real and note the limit they were given.
class ClockWaiter : public push::Waiter {
 public:
  void Pause(std::chrono::milliseconds duration) override {
    std::lock_guard lock(mutex_);
    pauses_.push_back(duration);
    clock_ += duration;
  }
  bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) override {
    {
      std::lock_guard lock(mutex_);
      waitLimits_.push_back(limit);
    }
    return real_.WaitUntil(done, limit);
  }
  void Wake() override { real_.Wake(); }

  std::vector<std::chrono::milliseconds> pauses() const {
    std::lock_guard lock(mutex_);
    return pauses_;
  }
  std::vector<std::chrono::milliseconds> waitLimits() const {
    std::lock_guard lock(mutex_);
    return waitLimits_;
  }
  std::chrono::milliseconds clock() const {
    std::lock_guard lock(mutex_);
    return clock_;
  }

 private:
  push::BlockingWaiter real_;
  mutable std::mutex mutex_;
  std::vector<std::chrono::milliseconds> pauses_;
  std::vector<std::chrono::milliseconds> waitLimits_;
  std::chrono::milliseconds clock_{0};
};

// One request as a platform imitation received it.
struct Received {
  std::string path;
  httplib::Params params;  // the query, decoded
  std::string contentType;
  std::string body;
};

// A local server standing in for a chat platform: records every POST and
// answers with the handler the test gives (by default 200 with `body`).
class PlatformServer {
 public:
  using Answer = std::function<void(const Received&, httplib::Response&)>;

  explicit PlatformServer(std::string body = "{}") {
    answer_ = [body](const Received&, httplib::Response& response) {
      response.set_content(body, "application/json");
    };
    server_.server().Post(
        R"(.*)", [this](const httplib::Request& request, httplib::Response& response) {
          Received received{request.path, request.params, request.get_header_value("Content-Type"),
                            request.body};
          Answer answer;
          {
            std::lock_guard lock(mutex_);
            requests_.push_back(received);
            answer = answer_;
          }
          answer(received, response);
        });
  }

  void SetAnswer(Answer answer) {
    std::lock_guard lock(mutex_);
    answer_ = std::move(answer);
  }
  std::vector<Received> Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
  }
  std::string Url(const std::string& path) const { return server_.Url(path); }

 private:
  mutable std::mutex mutex_;
  Answer answer_;
  std::vector<Received> requests_;
  HttpServer server_;  // last: it stops before what its handler uses goes
};

// A port on 127.0.0.1 that refuses connections: bound, never listening.
class RefusingPort {
 public:
  RefusingPort() {
    socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) std::abort();
    socklen_t length = sizeof address;
    ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
  }
  ~RefusingPort() { ::close(socket_); }
  RefusingPort(const RefusingPort&) = delete;
  RefusingPort& operator=(const RefusingPort&) = delete;
  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }

 private:
  int socket_ = -1;
  int port_ = 0;
};

// An https server on 127.0.0.1 with a certificate of its own making, which
// no client should trust; it counts the posts that reach it.
class SelfSignedServer {
 public:
  SelfSignedServer() : server_(Certificate(dir_).c_str(), (dir_.path() / "key.pem").c_str()) {
    if (!server_.is_valid()) std::abort();
    server_.Post(R"(.*)", [this](const httplib::Request&, httplib::Response& response) {
      ++posts_;
      response.set_content("", "application/json");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    listener_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~SelfSignedServer() {
    server_.stop();
    listener_.join();
  }
  SelfSignedServer(const SelfSignedServer&) = delete;
  SelfSignedServer& operator=(const SelfSignedServer&) = delete;

  int port() const { return port_; }
  int posts() const { return posts_; }
  std::string Url(const std::string& path) const {
    return "https://127.0.0.1:" + std::to_string(port_) + path;
  }

 private:
  static std::string Certificate(const TempDir& dir) {
    const std::string cert = (dir.path() / "cert.pem").string();
    const std::string make =
        "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1 "
        "-addext subjectAltName=IP:127.0.0.1 -keyout '" +
        (dir.path() / "key.pem").string() + "' -out '" + cert + "' 2>/dev/null";
    if (std::system(make.c_str()) != 0) std::abort();
    return cert;
  }

  TempDir dir_;
  httplib::SSLServer server_;
  int port_ = 0;
  std::atomic<int> posts_{0};
  std::thread listener_;
};

// The signatures as the platforms compute them, straight from OpenSSL, so the
// program's own signing is checked against an independent computation.
inline std::string ReferenceSignature(const std::string& key, const std::string& message) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  HMAC(EVP_sha256(), key.data(), static_cast<int>(key.size()),
       reinterpret_cast<const unsigned char*>(message.data()), message.size(), digest, &length);
  unsigned char text[64];
  const int textLength = EVP_EncodeBlock(text, digest, static_cast<int>(length));
  return std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(textLength));
}

}  // namespace push_test
