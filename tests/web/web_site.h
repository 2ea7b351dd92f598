// Test support for the page host: a site in a temporary folder, pages
// written by the test, and a real server on a free localhost port.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "data/dbf/test_files.h"
#include "web/server.h"

namespace web_test {

/// A site folder with a data folder beside it (data is mapped to "/data").
class TestSite {
 public:
  TestSite() {
    std::filesystem::create_directories(site());
    std::filesystem::create_directories(data());
  }
  std::string site() const { return dir_.path() + "/site"; }
  std::string data() const { return dir_.path() + "/data"; }
  /// Writes a file of the site (UTF-8 text), making its folders.
  void Write(const std::string& site_path, const std::string& text) const {
    std::filesystem::path p = site() + "/" + site_path;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
  }
  void WriteData(const std::string& name, const std::string& text) const {
    std::ofstream(data() + "/" + name, std::ios::binary) << text;
  }

 private:
  dbf_test::TempDir dir_;
};

/// Limits small enough for tests to reach them quickly.
inline web::ServerConfig TestConfig(const TestSite& site) {
  web::ServerConfig c;
  c.bind = "127.0.0.1";
  c.port = 0;
  c.site_dir = site.site();
  c.data_dir = site.data();
  c.quiet = true;
  c.limits.workers = 4;
  c.limits.header_deadline = std::chrono::seconds(1);
  c.limits.body_deadline = std::chrono::seconds(2);
  c.limits.write_timeout = std::chrono::seconds(1);
  c.limits.keep_alive_timeout = std::chrono::seconds(1);
  c.limits.max_body_bytes = 64 * 1024;
  c.limits.script_time = std::chrono::milliseconds(400);
  c.limits.script_memory_bytes = 8u << 20;
  return c;
}

/// A client connected to a port of this machine, from the loopback address
/// `from` when one is given; a small `receive_buffer` lets a large reply
/// back up while the client reads nothing. -1 when it cannot connect.
inline int ConnectTo(int port, const std::string& from = "", int receive_buffer = 0) {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (receive_buffer > 0) ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receive_buffer, sizeof receive_buffer);
  if (!from.empty()) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    ::inet_pton(AF_INET, from.c_str(), &local.sin_addr);
    ::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local);
  }
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

/// Reads from a connected socket until the server closes it or a read
/// waits longer than the timeout; everything read.
inline std::string ReadUntilClosed(int fd, int timeout_ms = 5000) {
  timeval tv{timeout_ms / 1000, (timeout_ms % 1000) * 1000};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  std::string out;
  char buf[65536];
  ssize_t n;
  while ((n = ::recv(fd, buf, sizeof buf, 0)) > 0) out.append(buf, static_cast<size_t>(n));
  return out;
}

/// Sends raw bytes to a port of this machine, from the loopback address
/// `from` when one is given, and reads until the server closes (or the
/// timeout passes).
inline std::string RawTo(int port, const std::string& bytes, int timeout_ms = 5000, const std::string& from = "") {
  const int fd = ConnectTo(port, from);
  std::string out;
  if (fd >= 0) {
    ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    out = ReadUntilClosed(fd, timeout_ms);
    ::close(fd);
  }
  return out;
}

/// A running server; stops (and waits for its requests) when destroyed.
class TestServer {
 public:
  explicit TestServer(web::ServerConfig config) : server_(std::make_unique<web::PageServer>(std::move(config))) {
    std::string error;
    if (!server_->Bind(error)) throw std::runtime_error(error);
    thread_ = std::thread([this] { server_->Run(); });
    // Run starts listening at once on the bound socket; wait until it serves.
    for (int i = 0; i < 200 && Raw("GET / HTTP/1.0\r\n\r\n").empty(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ~TestServer() { Stop(); }
  void Stop() {
    if (!thread_.joinable()) return;
    server_->Stop();
    thread_.join();
  }
  int port() const { return server_->port(); }

  /// Sends raw bytes and reads until the server closes (or 5 s pass).
  std::string Raw(const std::string& bytes, int timeout_ms = 5000) const {
    return RawTo(server_->port(), bytes, timeout_ms);
  }

 private:
  std::unique_ptr<web::PageServer> server_;
  std::thread thread_;
};

/// The status code of a raw HTTP response ("HTTP/1.1 404 Not Found" -> 404).
inline int StatusOf(const std::string& response) {
  if (response.size() < 12) return 0;
  return std::atoi(response.c_str() + 9);
}

/// The body of a raw HTTP response.
inline std::string BodyOf(const std::string& response) {
  size_t at = response.find("\r\n\r\n");
  return at == std::string::npos ? std::string() : response.substr(at + 4);
}

}  // namespace web_test
