#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A TCP server on 127.0.0.1 that hands each connection to a handler as raw
// bytes: for checking the exact request text and for misbehaving answers
// (silence, a reset in the middle of the body, garbage).
class RawServer {
 public:
  // handler(connection, request text) answers on the connection; the server
  // closes it afterwards.
  using Handler = std::function<void(int connection, const std::string& request)>;

  explicit RawServer(Handler handler) : handler_(std::move(handler)) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 16) != 0) {
      std::abort();
    }
    socklen_t length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }

  ~RawServer() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    stopped_.notify_all();
    thread_.join();
    close(listener_);
  }

  RawServer(const RawServer&) = delete;
  RawServer& operator=(const RawServer&) = delete;

  int port() const { return port_; }
  std::string Url(const std::string& path = "/") const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }

  std::vector<std::string> Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
  }

  // For handlers that never answer: blocks until the server is being destroyed.
  void WaitForStop() {
    std::unique_lock lock(mutex_);
    stopped_.wait(lock, [this] { return stopping_; });
  }

  // Sleeps up to `milliseconds`, less when the server is being destroyed.
  void SleepUnlessStopped(int milliseconds) {
    std::unique_lock lock(mutex_);
    stopped_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return stopping_; });
  }

  static void Send(int connection, const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
      ssize_t n = send(connection, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) return;
      sent += static_cast<size_t>(n);
    }
  }

  // Closes with RST instead of an orderly end.
  static void Reset(int connection) {
    linger hard{1, 0};
    setsockopt(connection, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
  }

 private:
  bool Stopping() {
    std::lock_guard lock(mutex_);
    return stopping_;
  }

  void Serve() {
    while (!Stopping()) {
      pollfd waiting{listener_, POLLIN, 0};
      if (poll(&waiting, 1, 50) <= 0) continue;
      int connection = accept(listener_, nullptr, nullptr);
      if (connection < 0) continue;
      std::string request = ReadRequest(connection);
      {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
      }
      handler_(connection, request);
      close(connection);
    }
  }

  // The header block and, when announced, the body; gives up after 5 s of silence.
  static std::string ReadRequest(int connection) {
    timeval patience{5, 0};
    setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
    std::string request;
    char buffer[4096];
    size_t wanted = std::string::npos;
    while (wanted == std::string::npos || request.size() < wanted) {
      ssize_t n = recv(connection, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      request.append(buffer, static_cast<size_t>(n));
      size_t end = request.find("\r\n\r\n");
      if (wanted == std::string::npos && end != std::string::npos) {
        size_t length = 0;
        size_t at = request.find("Content-Length: ");
        if (at != std::string::npos && at < end)
          length = std::strtoul(request.c_str() + at + 16, nullptr, 10);
        wanted = end + 4 + length;
      }
    }
    return request;
  }

  Handler handler_;
  int listener_ = -1;
  int port_ = 0;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::condition_variable stopped_;
  bool stopping_ = false;
  std::vector<std::string> requests_;
};
