#include "web/connection_loop.h"

#include <algorithm>
#include <arpa/inet.h>
#include <fcntl.h>
#include <httplib.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <pthread.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <ctime>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace web {

namespace {

using Clock = std::chrono::steady_clock;

// What one read event takes from a socket before the loop turns to the
// others, so that one fast sender cannot starve the rest.
constexpr size_t kReadPerEvent = 256u << 10;

std::string AddressText(const sockaddr_storage& ss, int& port) {
  char buf[INET6_ADDRSTRLEN] = "";
  if (ss.ss_family == AF_INET) {
    auto* a = reinterpret_cast<const sockaddr_in*>(&ss);
    inet_ntop(AF_INET, &a->sin_addr, buf, sizeof buf);
    port = ntohs(a->sin_port);
  } else if (ss.ss_family == AF_INET6) {
    auto* a = reinterpret_cast<const sockaddr_in6*>(&ss);
    inet_ntop(AF_INET6, &a->sin6_addr, buf, sizeof buf);
    port = ntohs(a->sin6_port);
  }
  return buf;
}

// Writes all of `data` to a non-blocking socket, waiting at most `timeout`
// for each stretch of room.
bool WriteAll(int fd, const char* data, size_t n, std::chrono::milliseconds timeout) {
  while (n > 0) {
    ssize_t w = ::send(fd, data, n, MSG_NOSIGNAL);
    if (w > 0) {
      data += w;
      n -= static_cast<size_t>(w);
      continue;
    }
    if (w < 0 && errno == EINTR) continue;
    if (w < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      pollfd p{fd, POLLOUT, 0};
      if (::poll(&p, 1, static_cast<int>(timeout.count())) <= 0) return false;
      continue;
    }
    return false;
  }
  return true;
}

const char* RefusalText(int status) {
  switch (status) {
    case 400: return "400 Bad Request";
    case 413: return "413 Payload Too Large";
    case 429: return "429 Too Many Requests";
    case 431: return "431 Request Header Fields Too Large";
    case 501: return "501 Not Implemented";
    default: return "400 Bad Request";
  }
}

// One request's bytes to read, the client's socket to write to. What is
// written is held, up to `hold` bytes, and goes out in one piece when the
// request is served (the loop sends what the socket does not take at once,
// so a slow reader does not keep the worker); a larger reply goes straight
// to the socket once it outgrows the hold.
class FramedStream : public httplib::Stream {
 public:
  FramedStream(int fd, std::string_view request, const std::string& addr, int port,
               std::chrono::milliseconds write_timeout, size_t hold)
      : fd_(fd), request_(request), addr_(addr), port_(port), write_timeout_(write_timeout), hold_(hold) {}

  bool is_readable() const override { return pos_ < request_.size(); }
  bool is_writable() const override {
    pollfd p{fd_, POLLOUT, 0};
    return ::poll(&p, 1, static_cast<int>(write_timeout_.count())) > 0 && (p.revents & POLLOUT);
  }
  ssize_t read(char* ptr, size_t size) override {
    size_t n = std::min(size, request_.size() - pos_);
    std::memcpy(ptr, request_.data() + pos_, n);
    pos_ += n;
    return static_cast<ssize_t>(n);
  }
  ssize_t write(const char* ptr, size_t size) override {
    if (!direct_ && held_.size() + size <= hold_) {
      held_.append(ptr, size);
      return static_cast<ssize_t>(size);
    }
    if (!direct_) {
      direct_ = true;
      if (!WriteAll(fd_, held_.data(), held_.size(), write_timeout_)) return -1;
      held_.clear();
      held_.shrink_to_fit();
    }
    return WriteAll(fd_, ptr, size, write_timeout_) ? static_cast<ssize_t>(size) : -1;
  }
  /// What was written and not sent yet.
  std::string_view held() const { return held_; }
  void get_remote_ip_and_port(std::string& ip, int& port) const override {
    ip = addr_;
    port = port_;
  }
  void get_local_ip_and_port(std::string& ip, int& port) const override {
    sockaddr_storage ss{};
    socklen_t len = sizeof ss;
    port = 0;
    if (::getsockname(fd_, reinterpret_cast<sockaddr*>(&ss), &len) == 0) ip = AddressText(ss, port);
  }
  socket_t socket() const override { return fd_; }

 private:
  int fd_;
  std::string_view request_;
  size_t pos_ = 0;
  const std::string& addr_;
  int port_;
  std::chrono::milliseconds write_timeout_;
  size_t hold_;
  std::string held_;
  bool direct_ = false;
};

}  // namespace

struct ConnectionLoop::Impl {
  struct Conn {
    Conn(int f, std::string a, int p, const FramingLimits& l) : fd(f), addr(std::move(a)), port(p), framer(l) {}
    int fd;
    std::string addr;
    int port;
    std::string buffer;
    RequestFramer framer;
    Clock::time_point deadline;
    bool busy = false;  // a worker serves it; the loop leaves it alone
    bool continue_sent = false;
    bool eof = false;  // the client sent all it will (a half-closed socket)
    size_t served = 0;
    // A reply the loop answered that the socket has not taken whole yet.
    std::string unsent;
    size_t unsent_at = 0;
    bool close_after_unsent = false;
  };

  Impl(ConnectionLimits l, Serve s, Takeover t, Ready r)
      : limits(std::move(l)), serve(std::move(s)), takeover(std::move(t)), ready(std::move(r)) {}

  ConnectionLimits limits;
  Serve serve;
  Takeover takeover;
  Ready ready;
  int listen_fd = -1;
  int epoll_fd = -1;
  int wake_fd = -1;
  int bound_port = 0;
  std::atomic<bool> stopping{false};
  std::atomic<bool> is_running{false};

  std::mutex mu;  // guards conns, per_client and the busy flags
  std::unordered_map<int, std::unique_ptr<Conn>> conns;
  std::map<std::string, size_t> per_client;

  // A worker thread. The idle ones wait each on its own condition, so that
  // the one woken is the one that went idle last (its engine and pooled
  // connection still warm), not the one that has slept longest.
  struct Worker {
    std::condition_variable cv;
    bool woken = false;      // guarded by queue_mu
    bool running = false;    // serving a connection; guarded by queue_mu
    // The thread's CPU clock, and its state as the system shows it (-1
    // where it cannot be read).
    clockid_t cpu_clock{};
    int stat_fd = -1;
    // Its CPU time (ns) at a moment of its running: from where the loop
    // judges whether it waits. Guarded by queue_mu.
    int64_t cpu_mark = 0;
    Clock::time_point mark_at{};
    Clock::time_point started{};  // the start of its connection's turn
  };

  std::mutex queue_mu;
  std::deque<Conn*> queue;  // guarded by queue_mu
  std::vector<std::unique_ptr<Worker>> pool;
  std::vector<Worker*> idle;  // guarded by queue_mu; the last went idle last
  size_t running = 0;         // guarded by queue_mu
  size_t woken = 0;           // woken, not running yet; guarded by queue_mu
  size_t running_target = 1;
  std::atomic<bool> waiting_jobs{false};
  Clock::time_point last_tick{};  // loop thread only
  std::vector<std::thread> workers;

  // REQUIRES: mu held.
  void CloseLocked(Conn* c) {
    ::close(c->fd);
    auto it = per_client.find(c->addr);
    if (it != per_client.end() && --it->second == 0) per_client.erase(it);
    conns.erase(c->fd);
  }
  void Close(Conn* c) {
    std::lock_guard lock(mu);
    CloseLocked(c);
  }
  void Refuse(Conn* c, int status) {
    std::string reply = std::string("HTTP/1.1 ") + RefusalText(status) +
                        "\r\nConnection: close\r\nContent-Length: 0\r\n\r\n";
    WriteAll(c->fd, reply.data(), reply.size(), std::chrono::milliseconds(1000));
    Close(c);
  }
  void Arm(Conn* c, uint32_t events = EPOLLIN | EPOLLRDHUP) {
    epoll_event ev{};
    ev.events = events | EPOLLONESHOT;
    ev.data.fd = c->fd;
    ::epoll_ctl(epoll_fd, EPOLL_CTL_MOD, c->fd, &ev);
  }

  void Accept() {
    for (;;) {
      sockaddr_storage ss{};
      socklen_t len = sizeof ss;
      int fd = ::accept4(listen_fd, reinterpret_cast<sockaddr*>(&ss), &len, SOCK_NONBLOCK | SOCK_CLOEXEC);
      if (fd < 0) return;
      int one = 1;
      ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
      int port = 0;
      std::string addr = AddressText(ss, port);
      std::unique_lock lock(mu);
      size_t& count = per_client[addr];
      const bool capped =
          std::find(limits.uncapped.begin(), limits.uncapped.end(), addr) == limits.uncapped.end();
      if (capped && count >= limits.connections_per_client) {
        lock.unlock();
        const char reply[] = "HTTP/1.1 429 Too Many Requests\r\nConnection: close\r\nContent-Length: 0\r\n\r\n";
        ::send(fd, reply, sizeof reply - 1, MSG_NOSIGNAL);
        ::close(fd);
        return;
      }
      ++count;
      auto conn = std::make_unique<Conn>(fd, addr, port, limits.framing);
      conn->deadline = Clock::now() + limits.header_deadline;
      epoll_event ev{};
      ev.events = EPOLLIN | EPOLLRDHUP | EPOLLONESHOT;
      ev.data.fd = fd;
      conns.emplace(fd, std::move(conn));
      ::epoll_ctl(epoll_fd, EPOLL_CTL_ADD, fd, &ev);
    }
  }

  void Readable(int fd) {
    Conn* c;
    {
      std::lock_guard lock(mu);
      auto it = conns.find(fd);
      if (it == conns.end() || it->second->busy) return;
      c = it->second.get();
    }
    if (!c->unsent.empty()) {
      SendUnsent(c);
      return;
    }
    bool was_idle = c->buffer.empty();
    size_t taken = 0;
    char buf[16384];
    for (;;) {
      ssize_t n = ::recv(fd, buf, sizeof buf, 0);
      if (n > 0) {
        c->buffer.append(buf, static_cast<size_t>(n));
        taken += static_cast<size_t>(n);
        if (taken >= kReadPerEvent) break;
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
      if (n < 0) {
        Close(c);
        return;
      }
      c->eof = true;  // a request sent before the half-close is still answered
      break;
    }
    if (was_idle && !c->buffer.empty()) c->deadline = Clock::now() + limits.header_deadline;
    Advance(c);
  }

  // After bytes arrived: answer a whole request, refuse a bad one, or
  // wait for more.
  void Advance(Conn* c) {
    if (Framed(c)) Dispatch(c);
  }

  // True when a whole request is buffered; else refuses a bad one, or
  // closes a connection the client ended, or waits for more.
  bool Framed(Conn* c) {
    bool had_head = c->framer.head_complete();
    switch (c->framer.Feed(c->buffer)) {
      case RequestFramer::State::Whole:
        return true;
      case RequestFramer::State::Refused:
        Refuse(c, c->framer.status());
        return false;
      case RequestFramer::State::NeedMore:
        break;
    }
    if (c->eof) {
      Close(c);
      return false;
    }
    if (!had_head && c->framer.head_complete()) {
      auto rate = std::max<size_t>(limits.min_body_rate, 1);
      c->deadline = Clock::now() + limits.body_deadline +
                    std::chrono::milliseconds(c->framer.content_length() * 1000 / rate);
      // The body's room at once (its length is within the body limit), not
      // grown by doubling while it arrives.
      c->buffer.reserve(c->framer.head_length() + c->framer.content_length());
      if (c->framer.expects_continue() && !c->continue_sent) {
        static constexpr char kContinue[] = "HTTP/1.1 100 Continue\r\n\r\n";
        WriteAll(c->fd, kContinue, sizeof kContinue - 1, limits.write_timeout);
        c->continue_sent = true;
      }
    }
    Arm(c);
    return false;
  }

  bool LastOf(const Conn* c, size_t len) const {
    return stopping || (c->eof && c->buffer.size() == len) || c->served + 1 >= limits.keep_alive_max_requests;
  }

  // A whole request is buffered: a long-lived stream takes the socket over,
  // a reply ready for it is written from this thread, anything else goes to
  // a worker. Pipelined requests answered here go out in order, and the
  // first that is not goes to the worker after them.
  void Dispatch(Conn* c) {
    for (;;) {
      const size_t len = c->framer.request_length();
      const std::string_view request = std::string_view(c->buffer).substr(0, len);
      if (takeover && takeover(c->fd, request, c->addr)) {
        std::lock_guard lock(mu);
        ::epoll_ctl(epoll_fd, EPOLL_CTL_DEL, c->fd, nullptr);
        auto it = per_client.find(c->addr);
        if (it != per_client.end() && --it->second == 0) per_client.erase(it);
        conns.erase(c->fd);
        return;
      }
      ReadyReply reply;
      const bool last = LastOf(c, len);
      if (!ready || !ready(request, c->addr, last, reply)) break;
      ++c->served;
      const bool close = reply.close || last;
      c->buffer.erase(0, len);
      c->framer.Reset();
      c->continue_sent = false;
      switch (Write(c, reply)) {
        case Sent::Broken:
          Close(c);
          return;
        case Sent::Partly:
          c->close_after_unsent = close;
          c->deadline = Clock::now() + limits.write_timeout;
          Arm(c, EPOLLOUT);
          return;
        case Sent::Whole:
          break;
      }
      if (close) {
        Close(c);
        return;
      }
      if (!Next(c)) return;
    }
    {
      std::lock_guard lock(mu);
      c->busy = true;
    }
    std::lock_guard lock(queue_mu);
    queue.push_back(c);
    waiting_jobs = true;
    if (running + woken < running_target) WakeLocked(1);
  }

  // REQUIRES: queue_mu held. Wakes up to `n` idle workers, the latest idle
  // first.
  void WakeLocked(size_t n) {
    while (n-- > 0 && !idle.empty()) {
      Worker* w = idle.back();
      idle.pop_back();
      w->woken = true;
      ++woken;
      w->cv.notify_one();
    }
  }

  static int64_t CpuNanos(const Worker& w) {
    timespec ts{};
    if (::clock_gettime(w.cpu_clock, &ts) != 0) return 0;
    return int64_t{ts.tv_sec} * 1000000000 + ts.tv_nsec;
  }

  // True when the worker is on a core or ready for one: one that the
  // machine's other work keeps off the cores is not waiting.
  static bool Runnable(const Worker& w) {
    if (w.stat_fd < 0) return false;
    char buf[160];
    const ssize_t n = ::pread(w.stat_fd, buf, sizeof buf, 0);
    if (n <= 0) return false;
    // "tid (name) S ...": the name may hold anything, its last ')' ends it.
    const std::string_view line(buf, static_cast<size_t>(n));
    const size_t close = line.rfind(')');
    return close != std::string_view::npos && close + 2 < line.size() && line[close + 2] == 'R';
  }

  // On the loop's thread, a tick while requests wait: a running worker
  // that is not runnable and used less than half the time since the last
  // tick in CPU is waiting (on a slow client, a lock, a file), so it does
  // not count towards the running target and an idle worker takes its
  // place; so is one whose turn has run long.
  void Rebalance() {
    const auto now = Clock::now();
    if (now - last_tick < limits.worker_stall) return;
    last_tick = now;
    std::lock_guard lock(queue_mu);
    if (queue.empty()) {
      waiting_jobs = false;
      return;
    }
    size_t busy = woken;
    for (auto& w : pool) {
      if (!w->running) continue;
      // A long request shares the cores with the others rather than
      // holding the short ones up behind it.
      if (now - w->started >= limits.long_request) continue;
      const int64_t cpu = CpuNanos(*w);
      const auto elapsed = now - w->mark_at;
      if (elapsed < limits.worker_stall) {  // too soon to tell
        ++busy;
        continue;
      }
      if (cpu - w->cpu_mark >= std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count() / 2 ||
          Runnable(*w))
        ++busy;
      w->cpu_mark = cpu;
      w->mark_at = now;
    }
    if (busy < running_target) WakeLocked(std::min(running_target - busy, queue.size()));
  }

  enum class Sent { Whole, Partly, Broken };

  // Writes what the socket takes now; what it does not is kept in `unsent`
  // for when it has room.
  Sent Write(Conn* c, const ReadyReply& reply) {
    iovec iov[4];
    size_t total = 0;
    for (size_t i = 0; i < reply.count; ++i) {
      iov[i].iov_base = const_cast<char*>(reply.parts[i].data());
      iov[i].iov_len = reply.parts[i].size();
      total += reply.parts[i].size();
    }
    msghdr msg{};
    msg.msg_iov = iov;
    msg.msg_iovlen = reply.count;
    ssize_t n;
    do n = ::sendmsg(c->fd, &msg, MSG_NOSIGNAL);
    while (n < 0 && errno == EINTR);
    if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return Sent::Broken;
    size_t sent = n > 0 ? static_cast<size_t>(n) : 0;
    if (sent == total) return Sent::Whole;
    c->unsent.clear();
    for (size_t i = 0; i < reply.count; ++i) {
      std::string_view part = reply.parts[i];
      if (sent >= part.size()) {
        sent -= part.size();
        continue;
      }
      c->unsent.append(part.substr(sent));
      sent = 0;
    }
    c->unsent_at = 0;
    return Sent::Partly;
  }

  // The socket has room for more of a reply the loop answered.
  void SendUnsent(Conn* c) {
    while (c->unsent_at < c->unsent.size()) {
      ssize_t n = ::send(c->fd, c->unsent.data() + c->unsent_at, c->unsent.size() - c->unsent_at, MSG_NOSIGNAL);
      if (n > 0) {
        c->unsent_at += static_cast<size_t>(n);
        continue;
      }
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        c->deadline = Clock::now() + limits.write_timeout;
        Arm(c, EPOLLOUT);
        return;
      }
      Close(c);
      return;
    }
    c->unsent.clear();
    c->unsent.shrink_to_fit();
    if (c->close_after_unsent) {
      Close(c);
      return;
    }
    if (Next(c)) Dispatch(c);
  }

  // After a reply the loop wrote: true when the next pipelined request is
  // whole; else the connection waits for more (or is refused, or closed).
  bool Next(Conn* c) {
    c->deadline = Clock::now() + (c->buffer.empty() ? limits.keep_alive_timeout : limits.header_deadline);
    return Framed(c);
  }

  // Serves the connection's whole requests in order, then gives it back to
  // the loop (or closes it).
  void Work(Conn* c) {
    for (;;) {
      const size_t len = c->framer.request_length();
      const bool last = LastOf(c, len);
      std::string head;
      std::string body;
      std::string_view request = std::string_view(c->buffer).substr(0, len);
      const bool posted = request.starts_with("POST ") && len > c->framer.head_length();
      if (posted) {
        // The request's bytes leave the connection's buffer as they are (a
        // next pipelined request's stay), and its body is cut out of them
        // in place: the body is held once, however large.
        std::string rest = c->buffer.substr(len);
        body = std::move(c->buffer);
        c->buffer = std::move(rest);
        const size_t head_length = c->framer.head_length();
        head.assign(body, 0, head_length);
        body.resize(len);
        body.erase(0, head_length);
        if (c->framer.chunked()) DecodeChunkedInPlace(body);
        request = head;
      }
      FramedStream stream(c->fd, request, c->addr, c->port, limits.write_timeout, limits.held_reply_bytes);
      bool closed = false;
      bool ok = false;
      try {
        ok = serve(stream, body, last, closed);
      } catch (...) {
        ok = false;
      }
      ++c->served;
      const bool close = !ok || last || closed;
      Sent sent = Sent::Whole;
      if (!stream.held().empty()) {
        ReadyReply reply;
        reply.parts[0] = stream.held();
        reply.count = 1;
        sent = Write(c, reply);
      }
      if (sent == Sent::Broken || (sent == Sent::Whole && close)) {
        Close(c);
        return;
      }
      if (!posted) c->buffer.erase(0, len);
      c->framer.Reset();
      c->continue_sent = false;
      if (sent == Sent::Partly) {
        // The rest of the reply goes out from the loop, and the next
        // pipelined request waits for it.
        {
          std::lock_guard lock(mu);
          c->busy = false;
          c->close_after_unsent = close;
          c->deadline = Clock::now() + limits.write_timeout;
        }
        Arm(c, EPOLLOUT);
        return;
      }
      switch (c->framer.Feed(c->buffer)) {
        case RequestFramer::State::Whole:
          continue;  // the next pipelined request, answered after this one
        case RequestFramer::State::Refused:
          Refuse(c, c->framer.status());
          return;
        case RequestFramer::State::NeedMore:
          break;
      }
      {
        std::lock_guard lock(mu);
        c->busy = false;
        c->deadline = Clock::now() + (c->buffer.empty() ? limits.keep_alive_timeout : limits.header_deadline);
      }
      // The loop sweeps at least every tick; this deadline is seconds away.
      Arm(c);
      return;
    }
  }

  void WorkerMain(Worker& w) {
    ::pthread_getcpuclockid(::pthread_self(), &w.cpu_clock);
    w.stat_fd = ::open("/proc/thread-self/stat", O_RDONLY | O_CLOEXEC);
    struct CloseAtEnd {
      int& fd;
      ~CloseAtEnd() {
        if (fd >= 0) ::close(fd);
        fd = -1;
      }
    } close_at_end{w.stat_fd};
    std::unique_lock lock(queue_mu);
    for (;;) {
      if (!queue.empty()) {
        Conn* c = queue.front();
        queue.pop_front();
        w.running = true;
        w.cpu_mark = CpuNanos(w);
        w.mark_at = w.started = Clock::now();
        ++running;
        lock.unlock();
        Work(c);
        lock.lock();
        --running;
        w.running = false;
        continue;
      }
      if (stopping) return;
      w.woken = false;
      idle.push_back(&w);
      w.cv.wait(lock, [&] { return w.woken || stopping.load(); });
      if (w.woken)
        --woken;
      else
        std::erase(idle, &w);
    }
  }

  // Drops the connections that are past their deadline.
  void Sweep() {
    auto now = Clock::now();
    std::lock_guard lock(mu);
    std::vector<Conn*> late;
    for (auto& [fd, c] : conns)
      if (!c->busy && c->deadline <= now) late.push_back(c.get());
    for (Conn* c : late) CloseLocked(c);
  }

  void Loop() {
    epoll_event events[256];
    while (!stopping) {
      // While requests wait for a worker, the loop looks at the running
      // ones every tick; else it wakes for the deadlines only.
      const int timeout = waiting_jobs ? static_cast<int>(std::max<int64_t>(limits.worker_stall.count(), 1)) : 100;
      int n = ::epoll_wait(epoll_fd, events, 256, timeout);
      for (int i = 0; i < n; ++i) {
        int fd = events[i].data.fd;
        if (fd == listen_fd) {
          Accept();
        } else if (fd == wake_fd) {
          eventfd_t v;
          ::eventfd_read(wake_fd, &v);
        } else {
          Readable(fd);
        }
      }
      if (waiting_jobs) Rebalance();
      Sweep();
    }
  }
};

ConnectionLoop::ConnectionLoop(ConnectionLimits limits, Serve serve, Takeover takeover, Ready ready)
    : impl_(std::make_unique<Impl>(std::move(limits), std::move(serve), std::move(takeover), std::move(ready))) {}

ConnectionLoop::~ConnectionLoop() {
  Stop();
  if (impl_->listen_fd >= 0) ::close(impl_->listen_fd);
}

bool ConnectionLoop::Bind(const std::string& host, int port, std::string& error) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  std::string service = std::to_string(port);
  if (::getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0 || !found) {
    error = "cannot resolve " + host;
    return false;
  }
  int fd = -1;
  for (addrinfo* a = found; a; a = a->ai_next) {
    fd = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
    if (fd < 0) continue;
    int one = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (::bind(fd, a->ai_addr, a->ai_addrlen) == 0 && ::listen(fd, 1024) == 0) break;
    ::close(fd);
    fd = -1;
  }
  ::freeaddrinfo(found);
  if (fd < 0) {
    error = "cannot listen on " + host + ":" + std::to_string(port);
    return false;
  }
  sockaddr_storage ss{};
  socklen_t len = sizeof ss;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&ss), &len);
  AddressText(ss, impl_->bound_port);
  impl_->listen_fd = fd;
  return true;
}

int ConnectionLoop::port() const { return impl_->bound_port; }

bool ConnectionLoop::running() const { return impl_->is_running; }

void ConnectionLoop::Run() {
  Impl& m = *impl_;
  if (m.listen_fd < 0 || m.stopping) return;
  m.epoll_fd = ::epoll_create1(EPOLL_CLOEXEC);
  m.wake_fd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  epoll_event ev{};
  ev.events = EPOLLIN;
  ev.data.fd = m.listen_fd;
  ::epoll_ctl(m.epoll_fd, EPOLL_CTL_ADD, m.listen_fd, &ev);
  ev.data.fd = m.wake_fd;
  ::epoll_ctl(m.epoll_fd, EPOLL_CTL_ADD, m.wake_fd, &ev);
  const size_t count = std::max<size_t>(m.limits.workers, 1);
  const size_t cores = std::max<size_t>(std::thread::hardware_concurrency(), 1);
  m.running_target = std::min(count, m.limits.running_workers ? m.limits.running_workers : cores);
  {
    std::lock_guard lock(m.queue_mu);  // Stop may look at the pool meanwhile
    m.pool.clear();
    for (size_t i = 0; i < count; ++i) m.pool.push_back(std::make_unique<Impl::Worker>());
  }
  for (size_t i = 0; i < count; ++i) m.workers.emplace_back([&m, w = m.pool[i].get()] { m.WorkerMain(*w); });
  m.is_running = true;
  m.Loop();
  // Stopping: no more reading; the requests handed over are served.
  {
    std::lock_guard lock(m.queue_mu);
    for (auto& w : m.pool) w->cv.notify_all();
  }
  for (auto& t : m.workers) t.join();
  m.workers.clear();
  {
    std::lock_guard lock(m.mu);
    for (auto& [fd, c] : m.conns) ::close(fd);
    m.conns.clear();
    m.per_client.clear();
  }
  ::close(m.epoll_fd);
  ::close(m.wake_fd);
  m.is_running = false;
}

void ConnectionLoop::Stop() {
  Impl& m = *impl_;
  if (m.stopping.exchange(true)) return;
  if (m.wake_fd >= 0) ::eventfd_write(m.wake_fd, 1);
  std::lock_guard lock(m.queue_mu);
  for (auto& w : m.pool) w->cv.notify_all();
}

}  // namespace web
