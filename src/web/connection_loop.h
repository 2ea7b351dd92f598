// The server's front: one event-loop thread accepts connections and reads
// requests; a pool of workers serves them. A worker is taken only when a
// request has arrived whole (RequestFramer), so idle and slow connections
// cost a buffer, not a thread. What an anonymous client could stretch is
// bounded here: total deadlines for the head and the body that a byte a
// second cannot reset, the body size for chunked bodies too, the header
// count, and the connections of one client address. Pipelined requests are
// served one at a time in the order they came, and their responses go out
// in that order.
//
// Thread-safe: Run on one thread, Stop from any.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "web/request_framing.h"

namespace httplib {
class Stream;
}

namespace web {

/// A reply the loop writes itself, without a worker: `parts` go out in
/// order with one system call where the socket takes them; `owner` keeps
/// their bytes alive until then.
struct ReadyReply {
  std::shared_ptr<const void> owner;
  std::string_view parts[4];
  size_t count = 0;
  bool close = false;  // the connection ends after it
};

struct ConnectionLimits {
  size_t workers = 64;
  /// Workers running at once while requests wait (0: one a core), and the
  /// tick over which a running worker that hardly used the CPU is taken as
  /// waiting, so that another is woken (see web::Limits).
  size_t running_workers = 0;
  std::chrono::milliseconds worker_stall{10};
  std::chrono::milliseconds long_request{250};
  size_t keep_alive_max_requests = 100;
  std::chrono::milliseconds keep_alive_timeout{5000};
  /// From the connection's first byte (or its accept) to the end of the head.
  std::chrono::milliseconds header_deadline{10000};
  /// From the end of the head to the end of the body, plus the time the
  /// declared length takes at `min_body_rate` bytes a second.
  std::chrono::milliseconds body_deadline{30000};
  size_t min_body_rate = 64u << 10;
  std::chrono::milliseconds write_timeout{10000};
  /// A worker's reply up to this size is held and sent in one piece; what
  /// the socket does not take at once the loop sends, not the worker.
  size_t held_reply_bytes = 256u << 10;
  size_t connections_per_client = 64;
  /// Addresses whose connections are not counted per client (a reverse
  /// proxy carries many visitors' requests).
  std::vector<std::string> uncapped;
  FramingLimits framing;
};

class ConnectionLoop {
 public:
  /// Serves one whole request read from `stream` (exactly its bytes, but
  /// a POST's body, which comes in `body`, taken out of the connection's
  /// buffer and freed of its chunked framing; what is written goes to the
  /// client). `close_connection`: the last request of the connection. Sets
  /// `connection_closed` when the client asked to close. False when the
  /// connection must close.
  using Serve =
      std::function<bool(httplib::Stream& stream, std::string& body, bool close_connection, bool& connection_closed)>;

  /// Called on the loop's thread with each whole request before a worker
  /// is taken for it (`request`: exactly its bytes; `client`: the peer's
  /// address). True when it took the socket over (a long-lived event
  /// stream): the loop then forgets the connection without closing it.
  using Takeover = std::function<bool(int fd, std::string_view request, const std::string& client)>;

  /// Called on the loop's thread with each whole request the takeover
  /// declined (`last`: the connection ends after it): true when `reply`
  /// answers it, written by the loop.
  using Ready = std::function<bool(std::string_view request, const std::string& client, bool last, ReadyReply& reply)>;

  ConnectionLoop(ConnectionLimits limits, Serve serve, Takeover takeover = {}, Ready ready = {});
  ~ConnectionLoop();
  ConnectionLoop(const ConnectionLoop&) = delete;
  ConnectionLoop& operator=(const ConnectionLoop&) = delete;

  /// Listens on host:port (0: any free port); false with the reason.
  bool Bind(const std::string& host, int port, std::string& error);
  int port() const;
  /// Serves until Stop; returns when the requests being served have ended.
  void Run();
  /// Stops accepting and reading, lets running requests finish.
  void Stop();
  bool running() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace web
