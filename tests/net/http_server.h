#pragma once

#include <httplib.h>

#include <chrono>
#include <string>
#include <thread>

// A cpp-httplib server on 127.0.0.1 with an ephemeral port, listening on its
// own thread for as long as the object lives.
class HttpServer {
 public:
  HttpServer() {
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    // stop() only reaches a server that is already running.
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~HttpServer() {
    server_.stop();
    thread_.join();
  }
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  httplib::Server& server() { return server_; }
  int port() const { return port_; }
  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }

 private:
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
};
