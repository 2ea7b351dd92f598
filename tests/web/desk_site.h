// Test support for the site's accounts and the organiser's desk: the real
// site on a fresh sample meet behind a running server, and a client that
// keeps its session cookie and posts GBK forms with the site's referrer.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "arenix/frame/arenix_cls.h"
#include "arenix/meet/demo/demo_meet.h"
#include "automation/cp936.h"
#include "automation/text.h"
#include "web/http_host.h"
#include "web/web_site.h"

namespace web_test {

struct Page {
  int status = 0;
  std::string location;  // of a redirect
  std::string body;      // UTF-8
  std::string headers;
};

/// The site and sample meet in a temporary folder, served on a free port.
class DeskSite {
 public:
  explicit DeskSite(std::function<void(web::ServerConfig&)> adjust = {}) {
    arenix::RegisterClasses();
    std::filesystem::copy(std::string(ARENIX_SOURCE_DIR) + "/site", site_.site(),
                          std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    arenix::meet::demo::WriteDemoMeet(site_.data(), {true});
    web::ServerConfig config = TestConfig(site_);
    config.limits.workers = 8;
    config.limits.script_time = std::chrono::seconds(20);  // the sanitizer build is slow
    config.limits.script_memory_bytes = 64u << 20;
    config.limits.header_deadline = std::chrono::seconds(10);
    if (adjust) adjust(config);
    server_ = std::make_unique<TestServer>(config);
  }
  const TestServer& server() const { return *server_; }
  const TestSite& files() const { return site_; }
  std::string data() const { return site_.data(); }

 private:
  TestSite site_;
  std::unique_ptr<TestServer> server_;
};

/// A browser of the site: its session cookie, GBK forms, the site's referrer.
class Client {
 public:
  explicit Client(const DeskSite& site) : port_(site.server().port()) {}
  /// A browser of the site served on this port (behind a proxy, say).
  explicit Client(int port) : port_(port) {}

  Page Get(const std::string& path) { return Send("GET", path, ""); }

  /// Posts the fields (UTF-8 names and values, sent in GBK).
  Page Post(const std::string& path, const std::vector<std::pair<std::string, std::string>>& fields) {
    std::string body;
    for (const auto& [k, v] : fields) {
      if (!body.empty()) body += "&";
      body += web::PercentEncode(Gbk(k)) + "=" + web::PercentEncode(Gbk(v));
    }
    return Send("POST", path, body);
  }

  /// Logs in; the page the login leads to.
  Page Login(const std::string& user, const std::string& password, const std::string& back = "") {
    return Post("/login.asp", {{"user", user}, {"password", password}, {"back", back}});
  }

  std::string session;  // the ARENIXSESSIONID value
  std::string address;  // the loopback address to send from (empty: any)
  std::string referrer;  // empty: the site's home page
  std::string headers;  // more header lines ("Name: value\r\n") for every request

 private:
  static std::string Gbk(const std::string& utf8) { return automation::ToGbk(automation::FromUtf8(utf8)); }

  Page Send(const std::string& method, const std::string& path, const std::string& body) {
    const std::string host = "127.0.0.1:" + std::to_string(port_);
    std::string req = method + " " + path + " HTTP/1.1\r\nHost: " + host + "\r\nConnection: close\r\nReferer: " +
                      (referrer.empty() ? "http://" + host + "/index.asp" : referrer) + "\r\n";
    if (!session.empty()) req += "Cookie: ARENIXSESSIONID=" + session + "\r\n";
    req += headers;
    if (method == "POST")
      req += "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " + std::to_string(body.size()) + "\r\n";
    std::string raw = RawTo(port_, req + "\r\n" + body, 30000, address);
    Page p;
    p.status = StatusOf(raw);
    size_t end = raw.find("\r\n\r\n");
    p.headers = raw.substr(0, end);
    std::string bytes = BodyOf(raw);
    p.body = p.headers.find("charset=gbk") != std::string::npos ? automation::ToUtf8(automation::FromGbk(bytes)) : bytes;
    p.location = HeaderValue(p.headers, "Location");
    const std::string cookie = HeaderValue(p.headers, "Set-Cookie");
    if (cookie.starts_with("ARENIXSESSIONID=")) session = cookie.substr(16, cookie.find(';') - 16);
    return p;
  }

  static std::string HeaderValue(const std::string& headers, const std::string& name) {
    size_t at = 0;
    const std::string want = "\r\n" + name + ": ";
    while ((at = headers.find(want, at)) != std::string::npos) {
      size_t start = at + want.size();
      return headers.substr(start, headers.find("\r\n", start) - start);
    }
    return {};
  }

  int port_;
};

}  // namespace web_test
