#pragma once

#include <httplib.h>

#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A chat platform's webhook on 127.0.0.1 that takes every post and keeps its
// body, by path: one path per group.
class ChatHook {
 public:
  ChatHook() {
    server_.Post(R"(.*)", [this](const httplib::Request& request, httplib::Response& response) {
      std::lock_guard lock(mutex_);
      posts_[request.path].push_back(request.body);
      response.set_content("{}", "application/json");
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~ChatHook() {
    server_.stop();
    thread_.join();
  }
  ChatHook(const ChatHook&) = delete;
  ChatHook& operator=(const ChatHook&) = delete;

  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  // How many posts to path hold text.
  int Count(const std::string& path, const std::string& text) {
    std::lock_guard lock(mutex_);
    int count = 0;
    for (const std::string& body : posts_[path]) count += body.find(text) != std::string::npos;
    return count;
  }
  std::size_t Posts(const std::string& path) {
    std::lock_guard lock(mutex_);
    return posts_[path].size();
  }

 private:
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
  std::mutex mutex_;
  std::map<std::string, std::vector<std::string>> posts_;
};
