#include "web/event_streams.h"

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <unordered_map>
#include <vector>

namespace web {

namespace {

using Clock = std::chrono::steady_clock;

int64_t EpochMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

// Sends what the socket takes now; the count sent, or -1 when the client
// is gone.
ssize_t SendSome(int fd, const std::string& data) {
  size_t done = 0;
  while (done < data.size()) {
    ssize_t w = ::send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (w > 0) {
      done += static_cast<size_t>(w);
      continue;
    }
    if (w < 0 && errno == EINTR) continue;
    if (w < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
    return -1;
  }
  return static_cast<ssize_t>(done);
}

constexpr char kHead[] =
    "HTTP/1.1 200 OK\r\n"
    "Content-Type: text/event-stream; charset=utf-8\r\n"
    "Cache-Control: no-cache\r\n"
    "Connection: close\r\n"
    "X-Accel-Buffering: no\r\n"
    "Access-Control-Allow-Origin: *\r\n\r\n"
    "retry: 2000\n\n";

bool TopicIsText(const std::string& topic) {
  for (unsigned char c : topic)
    if (c < 0x20 || c == 0x7F) return false;
  return !topic.empty();
}

}  // namespace

struct StreamHub::Impl {
  struct Stream {
    int fd;
    std::string client;
    std::string topic;
    std::string unsent;
    bool waiting_out = false;
  };
  struct Event {
    uint64_t n;
    std::string text;  // as sent
  };
  struct Topic {
    std::set<int> streams;
    std::deque<Event> recent;
    int64_t last_change_ms = 0;
  };

  // The start part tells this process from another server on the same
  // meet behind a balancer, and from this server before a restart.
  explicit Impl(StreamLimits l) : limits(l), start(std::to_string(EpochMs()) + "p" + std::to_string(::getpid())) {}

  StreamLimits limits;
  const std::string start;  // this hub's part of event ids
  mutable std::mutex mu;  // guards everything below
  std::unordered_map<int, Stream> streams;
  std::map<std::string, size_t> per_client;
  std::map<std::string, Topic> topics;
  uint64_t counter = 0;
  int epoll_fd = -1;
  int wake_fd = -1;
  std::atomic<bool> stopping{false};
  std::thread thread;
  std::function<void()> tick;
  std::mutex stop_mu;  // Stop may come from two threads at once

  std::string Id(uint64_t n) const { return start + "-" + std::to_string(n); }

  // REQUIRES: mu held.
  void CloseLocked(int fd) {
    auto it = streams.find(fd);
    if (it == streams.end()) return;
    ::epoll_ctl(epoll_fd, EPOLL_CTL_DEL, fd, nullptr);
    ::close(fd);
    if (auto c = per_client.find(it->second.client); c != per_client.end() && --c->second == 0) per_client.erase(c);
    if (auto t = topics.find(it->second.topic); t != topics.end()) {
      t->second.streams.erase(fd);
      if (t->second.streams.empty() && t->second.recent.empty()) topics.erase(t);
    }
    streams.erase(it);
  }

  // Queues `text` for one stream and sends what the socket takes now.
  // REQUIRES: mu held. False when the stream was closed.
  bool SendLocked(Stream& s, const std::string& text) {
    if (s.unsent.size() + text.size() > limits.max_unsent) {
      CloseLocked(s.fd);  // a client that reads nothing is not kept waiting for
      return false;
    }
    s.unsent += text;
    return FlushLocked(s);
  }

  bool FlushLocked(Stream& s) {
    ssize_t sent = s.unsent.empty() ? 0 : SendSome(s.fd, s.unsent);
    if (sent < 0) {
      CloseLocked(s.fd);
      return false;
    }
    s.unsent.erase(0, static_cast<size_t>(sent));
    const bool want_out = !s.unsent.empty();
    if (want_out != s.waiting_out) {
      s.waiting_out = want_out;
      epoll_event ev{};
      ev.events = EPOLLIN | EPOLLRDHUP | (want_out ? EPOLLOUT : 0u);
      ev.data.fd = s.fd;
      ::epoll_ctl(epoll_fd, EPOLL_CTL_MOD, s.fd, &ev);
    }
    return true;
  }

  void Heartbeat() {
    std::lock_guard lock(mu);
    std::vector<int> fds;
    fds.reserve(streams.size());
    for (auto& [fd, s] : streams) fds.push_back(fd);
    for (int fd : fds)
      if (auto it = streams.find(fd); it != streams.end()) SendLocked(it->second, ": \n\n");
  }

  void Loop() {
    epoll_event events[256];
    auto next_beat = Clock::now() + limits.heartbeat;
    auto next_tick = Clock::now() + std::chrono::seconds(1);
    while (!stopping) {
      if (tick && Clock::now() >= next_tick) {
        next_tick = Clock::now() + std::chrono::seconds(1);
        try {
          tick();
        } catch (...) {
        }
      }
      auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(next_beat - Clock::now()).count();
      int n = ::epoll_wait(epoll_fd, events, 256, static_cast<int>(std::clamp<int64_t>(wait, 0, 1000)));
      for (int i = 0; i < n; ++i) {
        const int fd = events[i].data.fd;
        if (fd == wake_fd) {
          eventfd_t v;
          ::eventfd_read(wake_fd, &v);
          continue;
        }
        std::lock_guard lock(mu);
        auto it = streams.find(fd);
        if (it == streams.end()) continue;
        if (events[i].events & (EPOLLIN | EPOLLRDHUP | EPOLLHUP | EPOLLERR)) {
          // A stream's client sends nothing more; bytes or an end mean it left.
          char buf[512];
          ssize_t r = ::recv(fd, buf, sizeof buf, MSG_DONTWAIT);
          if (r == 0 || (r < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) ||
              (events[i].events & (EPOLLHUP | EPOLLERR | EPOLLRDHUP))) {
            CloseLocked(fd);
            continue;
          }
        }
        if (events[i].events & EPOLLOUT) FlushLocked(it->second);
      }
      if (Clock::now() >= next_beat) {
        Heartbeat();
        next_beat = Clock::now() + limits.heartbeat;
      }
    }
  }
};

StreamHub::StreamHub(StreamLimits limits) : impl_(std::make_unique<Impl>(limits)) {
  impl_->epoll_fd = ::epoll_create1(EPOLL_CLOEXEC);
  impl_->wake_fd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  epoll_event ev{};
  ev.events = EPOLLIN;
  ev.data.fd = impl_->wake_fd;
  ::epoll_ctl(impl_->epoll_fd, EPOLL_CTL_ADD, impl_->wake_fd, &ev);
}

StreamHub::~StreamHub() {
  Stop();
  ::close(impl_->epoll_fd);
  ::close(impl_->wake_fd);
}

void StreamHub::Start() {
  if (impl_->thread.joinable() || impl_->stopping) return;
  impl_->thread = std::thread([m = impl_.get()] { m->Loop(); });
}

void StreamHub::Stop() {
  Impl& m = *impl_;
  m.stopping = true;
  ::eventfd_write(m.wake_fd, 1);
  {
    std::lock_guard stop(m.stop_mu);
    if (m.thread.joinable()) m.thread.join();
  }
  std::lock_guard lock(m.mu);
  std::vector<int> fds;
  for (auto& [fd, s] : m.streams) fds.push_back(fd);
  for (int fd : fds) m.CloseLocked(fd);
}

int StreamHub::Adopt(int fd, const std::string& client, const std::string& topic, const std::string& last_event_id) {
  Impl& m = *impl_;
  auto refuse = [fd](int status) {
    std::string reply = status == 429 ? "HTTP/1.1 429 Too Many Requests\r\n" : "HTTP/1.1 400 Bad Request\r\n";
    reply += "Connection: close\r\nContent-Length: 0\r\nRetry-After: 10\r\n\r\n";
    SendSome(fd, reply);
    ::close(fd);
    return status;
  };
  if (topic.size() > m.limits.max_topic || !TopicIsText(topic)) return refuse(400);
  std::lock_guard lock(m.mu);
  if (m.stopping || m.streams.size() >= m.limits.total) return refuse(429);
  size_t& mine = m.per_client[client];
  if (mine >= m.limits.per_client) {
    if (mine == 0) m.per_client.erase(client);
    return refuse(429);
  }
  ++mine;
  Impl::Stream& s = m.streams[fd];
  s.fd = fd;
  s.client = client;
  s.topic = topic;
  Impl::Topic& t = m.topics[topic];
  t.streams.insert(fd);
  epoll_event ev{};
  ev.events = EPOLLIN | EPOLLRDHUP;
  ev.data.fd = fd;
  ::epoll_ctl(m.epoll_fd, EPOLL_CTL_ADD, fd, &ev);

  std::string text = kHead;
  // A reconnect of this hub's own stream is sent what it missed; anything
  // else (a first visit, an id from before a restart) is greeted with the
  // time the topic last changed, which the page compares with its own.
  uint64_t seen = 0;
  const std::string prefix = m.start + "-";
  bool ours = last_event_id.starts_with(prefix) && last_event_id.size() > prefix.size() &&
              last_event_id.size() - prefix.size() <= 19 &&
              last_event_id.find_first_not_of("0123456789", prefix.size()) == std::string::npos;
  if (ours) {
    seen = std::stoull(last_event_id.substr(prefix.size()));
    ours = seen <= m.counter;
  }
  if (ours) {
    for (const auto& e : t.recent)
      if (e.n > seen) text += e.text;
  } else {
    text += "id: " + m.Id(m.counter) + "\nevent: hello\ndata: {\"topic_changed\":" +
            std::to_string(t.last_change_ms) + "}\n\n";
  }
  m.SendLocked(s, text);
  return 200;
}

std::string StreamHub::Publish(const std::string& topic, const std::string& event, const std::string& data) {
  Impl& m = *impl_;
  std::lock_guard lock(m.mu);
  const uint64_t n = ++m.counter;
  const std::string id = m.Id(n);
  Impl::Topic& t = m.topics[topic];
  t.last_change_ms = EpochMs();
  Impl::Event e{n, "id: " + id + "\nevent: " + event + "\ndata: " + data + "\n\n"};
  t.recent.push_back(e);
  while (t.recent.size() > std::max<size_t>(m.limits.replay, 1)) t.recent.pop_front();
  std::vector<int> fds(t.streams.begin(), t.streams.end());
  for (int fd : fds)
    if (auto it = m.streams.find(fd); it != m.streams.end()) m.SendLocked(it->second, e.text);
  return id;
}

std::vector<std::string> StreamHub::Topics() const {
  std::lock_guard lock(impl_->mu);
  std::vector<std::string> out;
  for (const auto& [name, t] : impl_->topics)
    if (!t.streams.empty()) out.push_back(name);
  return out;
}

void StreamHub::OnTick(std::function<void()> fn) { impl_->tick = std::move(fn); }

size_t StreamHub::streams() const {
  std::lock_guard lock(impl_->mu);
  return impl_->streams.size();
}

size_t StreamHub::streams_of(const std::string& client) const {
  std::lock_guard lock(impl_->mu);
  auto it = impl_->per_client.find(client);
  return it == impl_->per_client.end() ? 0 : it->second;
}

}  // namespace web
