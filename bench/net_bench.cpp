// Requests per second for a small feed from a server on 127.0.0.1, and what
// WebAccess adds over a bare libcurl request to the same server in the same run.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <string>

#include "net/http_server.h"  // tests/net
#include "net/web_access.h"
#include "ui/memory_window.h"

namespace {

// About the size of a latest-draw feed.
std::string Feed() {
  std::string xml = "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n<xml>\r\n";
  for (int i = 0; i < 5; ++i) {
    xml += "<row expect=\"20240101-05" + std::to_string(i) +
           "\" opencode=\"1,2,3,4,5\" opentime=\"2024-01-01 10:50:00\"/>\r\n";
  }
  return xml + "</xml>\r\n";
}

HttpServer& Server() {
  static HttpServer* server = [] {
    auto* s = new HttpServer;
    s->server().Get("/feed.xml", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(Feed(), "text/xml");
    });
    return s;
  }();
  return *server;
}

void BM_WebAccessWorkerThread(benchmark::State& state) {
  const std::string url = Server().Url("/feed.xml");
  for (auto _ : state) {
    net::WebResponse response = net::WebAccess({.url = url, .timeoutSeconds = 5}, nullptr);
    if (response.body.size() < 100) state.SkipWithError("no feed");
    benchmark::DoNotOptimize(response);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WebAccessWorkerThread)->UseRealTime();

void BM_WebAccessWindowThread(benchmark::State& state) {
  const std::string url = Server().Url("/feed.xml");
  ui::MemoryWindow window;
  for (auto _ : state) {
    net::WebResponse response = net::WebAccess({.url = url, .timeoutSeconds = 5}, &window);
    if (response.body.size() < 100) state.SkipWithError("no feed");
    benchmark::DoNotOptimize(response);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WebAccessWindowThread)->UseRealTime();

size_t Collect(char* data, size_t size, size_t count, void* body) {
  static_cast<std::string*>(body)->append(data, size * count);
  return size * count;
}

// The same request on the calling thread: a fresh handle and connection each
// time, as WebAccess makes them.
void BM_BareCurl(benchmark::State& state) {
  const std::string url = Server().Url("/feed.xml");
  curl_global_init(CURL_GLOBAL_DEFAULT);
  for (auto _ : state) {
    std::string body;
    CURL* curl = curl_easy_init();
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_PROXY, "");
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    if (curl_easy_perform(curl) != CURLE_OK || body.size() < 100) state.SkipWithError("no feed");
    curl_easy_cleanup(curl);
    benchmark::DoNotOptimize(body);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BareCurl)->UseRealTime();

}  // namespace
