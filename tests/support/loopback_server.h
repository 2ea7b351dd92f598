// A tiny HTTP server on 127.0.0.1 for tests of the component's HTTP client
// and of what real clients send: each connection's request (head, and the
// body its Content-Length announces) is read and a handler's raw response
// is sent, after an optional delay. Header-only.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cstdlib>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace arenix::testing {

class LoopbackServer {
 public:
  /// `respond` gets the whole raw request and returns the whole raw response.
  explicit LoopbackServer(std::function<std::string(const std::string&)> respond,
                          std::chrono::milliseconds delay = std::chrono::milliseconds(0))
      : respond_(std::move(respond)), delay_(delay) {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int one = 1;
    ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    ::listen(fd_, 16);
    thread_ = std::thread([this] { Serve(); });
  }
  ~LoopbackServer() {
    stop_ = true;
    thread_.join();
    ::close(fd_);
  }

  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  int requests() const { return requests_; }

  /// A complete response with a status line, a content type and a body.
  static std::string Response(const std::string& status, const std::string& type,
                              const std::string& body) {
    return "HTTP/1.1 " + status + "\r\nContent-Type: " + type +
           "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
  }

 private:
  static size_t ContentLength(std::string head) {
    for (auto& ch : head) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    size_t at = head.find("\r\ncontent-length:");
    return at == std::string::npos ? 0 : std::strtoul(head.c_str() + at + 17, nullptr, 10);
  }

  void Serve() {
    while (!stop_) {
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, 50) <= 0) continue;
      int c = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
      if (c < 0) continue;
      std::string head;
      char buf[4096];
      while (head.find("\r\n\r\n") == std::string::npos) {
        ssize_t n = ::recv(c, buf, sizeof buf, 0);
        if (n <= 0) break;
        head.append(buf, static_cast<size_t>(n));
      }
      size_t head_end = head.find("\r\n\r\n");
      if (head_end != std::string::npos) {
        size_t want = head_end + 4 + ContentLength(head.substr(0, head_end));
        while (head.size() < want) {
          ssize_t n = ::recv(c, buf, sizeof buf, 0);
          if (n <= 0) break;
          head.append(buf, static_cast<size_t>(n));
        }
      }
      ++requests_;
      auto until = std::chrono::steady_clock::now() + delay_;
      while (!stop_ && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      std::string out = respond_(head);
      size_t done = 0;
      while (done < out.size()) {
        ssize_t n = ::send(c, out.data() + done, out.size() - done, MSG_NOSIGNAL);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
      }
      ::close(c);
    }
  }

  std::function<std::string(const std::string&)> respond_;
  std::chrono::milliseconds delay_;
  int fd_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> requests_{0};
  std::thread thread_;
};

}  // namespace arenix::testing
