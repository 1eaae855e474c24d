#pragma once

#include <memory>
#include <thread>

#include "base/result.h"
#include "mirror_source.h"

namespace drawd {

inline constexpr int kDefaultPort = 18733;

// The mirror's HTTP server on 127.0.0.1, answering GET and HEAD with
// Answer(). It holds out against clients that misbehave: a request with a
// body gets 413 from its header alone and the connection is closed unread;
// a request head must arrive whole within a few seconds, also between
// requests on one connection; idle connections take no thread, and the
// listening queue is the system's. Range headers are ignored: every answer
// is the whole page. The source must outlive the server.
class MirrorServer {
 public:
  explicit MirrorServer(MirrorSource& source);
  ~MirrorServer();
  MirrorServer(const MirrorServer&) = delete;
  MirrorServer& operator=(const MirrorServer&) = delete;

  // Listens on 127.0.0.1:port, 0 picking a free port; the port it got.
  base::Result<int> Listen(int port);
  // Serves on the calling thread until Stop().
  void Run();
  // Serves on a thread of its own until Stop() or the server goes.
  void Start();
  // Ends the serving, from any thread; open connections are dropped.
  void Stop();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::thread serving_;
};

}  // namespace drawd
