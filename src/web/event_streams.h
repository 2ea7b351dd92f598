// Live event streams (server-sent events): a page opens one stream for the
// topic it shows (one stage of one event, or the home page's progress) and
// is sent an event whenever that topic changes. Streams cost no worker: the
// connection loop hands a stream's socket over here once its request has
// arrived, and one thread of the hub watches all of them (a closed client,
// a slow client's unsent bytes, the heartbeat). Publish writes to the
// sockets directly, without waiting: what a socket cannot take at once is
// kept (up to a bound) and sent when it can.
//
// Event ids are "<start>-<n>": the hub's start time and a counter, so that
// a client reconnecting with Last-Event-ID after a restart is told it may
// have missed something. Each topic keeps its last few events for such
// reconnects.
//
// Thread-safe.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace web {

struct StreamLimits {
  size_t per_client = 8;
  size_t total = 20000;
  std::chrono::milliseconds heartbeat{15000};
  size_t replay = 16;
  size_t max_unsent = 64u << 10;
  /// Longest topic name a client may ask for.
  size_t max_topic = 256;
};

class StreamHub {
 public:
  explicit StreamHub(StreamLimits limits);
  ~StreamHub();
  StreamHub(const StreamHub&) = delete;
  StreamHub& operator=(const StreamHub&) = delete;

  /// Starts the hub's thread; Stop closes every stream and ends it.
  void Start();
  void Stop();

  /// Takes over a connected, non-blocking socket whose GET asked for
  /// `topic`: answers 200 with the stream's head, the events the client
  /// missed since `last_event_id` (or a greeting naming when the topic last
  /// changed), and from then on the topic's events. Too many streams of
  /// `client` (or in all): 429, and the socket is closed; a bad topic: 400.
  /// Returns the status sent.
  int Adopt(int fd, const std::string& client, const std::string& topic, const std::string& last_event_id);

  /// Sends an event to every stream of `topic`; `data` is one line (JSON).
  /// Returns the event's id.
  std::string Publish(const std::string& topic, const std::string& event, const std::string& data);

  /// The topics that have open streams.
  std::vector<std::string> Topics() const;
  /// Runs `fn` about once a second on the hub's thread (a cheap check of
  /// something that may publish). Set before Start.
  void OnTick(std::function<void()> fn);

  /// Open streams, in all and of one client address.
  size_t streams() const;
  size_t streams_of(const std::string& client) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace web
