// The web module's HTTP/1.1 server: a worker pool, keep-alive, read and
// write timeouts, a request body limit, an access log line per request, and
// a graceful stop that lets running requests finish. Static files of the
// site are sent as they are; .asp pages run through the page host.
//
// Start and Stop may be called from different threads.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "web/config.h"

namespace web {

class PageServer {
 public:
  explicit PageServer(ServerConfig config);
  ~PageServer();
  PageServer(const PageServer&) = delete;
  PageServer& operator=(const PageServer&) = delete;

  /// Binds the address; false (with the reason in `error`) when it cannot.
  bool Bind(std::string& error);
  /// The bound port (after Bind).
  int port() const;
  /// Serves until Stop; returns when the running requests have finished.
  void Run();
  /// Stops accepting, finishes what runs, and makes Run return.
  void Stop();

  const ServerConfig& config() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace web
