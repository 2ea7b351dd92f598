#include "web/server.h"

#include <httplib.h>

#include <algorithm>
#include <cstring>
#include <strings.h>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <utility>
#include <sstream>

#include "host/url_form.h"
#include "web/client_address.h"
#include "web/connection_loop.h"
#include "web/event_streams.h"
#include "web/http_host.h"
#include "web/kept_front.h"
#include "web/live_results.h"
#include "web/memory_trim.h"
#include "web/page_host.h"
#include "web/reply_cache.h"
#include "web/resolved_paths.h"
#include "web/site_files.h"

namespace web {

namespace {

using Clock = std::chrono::steady_clock;

// The start of the request this worker is serving, for the access log.
thread_local Clock::time_point request_start;
// The body of the POST this worker is serving.
thread_local std::string* posted_body = nullptr;

std::string Now() {
  char buf[32];
  std::time_t t = std::time(nullptr);
  std::tm tm;
  gmtime_r(&t, &tm);
  std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%SZ", &tm);
  return buf;
}

// A path for the log: control characters would forge log lines.
std::string Printable(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    if (c < 0x20 || c == 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "%%%02X", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

const char* StatusText(int status) {
  switch (status) {
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 413: return "Payload Too Large";
    case 429: return "Too Many Requests";
    case 431: return "Request Header Fields Too Large";
    case 414: return "URI Too Long";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Error";
  }
}

// The routing, request parsing and response writing of cpp-httplib, fed
// one whole request at a time by the connection loop.
class HttpCore : public httplib::Server {
 public:
  bool ServeOne(httplib::Stream& stream, bool close_connection, bool& connection_closed) {
    return process_request(stream, close_connection, connection_closed, nullptr);
  }
};

bool FromProxy(const httplib::Request& req, const std::vector<std::string>& proxies) {
  return IsTrustedProxy(req.remote_addr, proxies);
}

std::string ClientAddress(const httplib::Request& req, const std::vector<std::string>& proxies) {
  return VisitorAddress(req.remote_addr, req.get_header_value("X-Forwarded-For"), proxies);
}

// The open data addresses, all answered by one page that is told which.
const char* OpenDataFormat(const std::string& path) {
  for (const char* name : {"results.json", "results.csv", "meet.json"})
    if (path.size() == std::strlen(name) + 1 && path[0] == '/' && strcasecmp(path.c_str() + 1, name) == 0) return name;
  return nullptr;
}
constexpr const char* kOpenDataPage = "/open_data.asp";

std::string HttpDate(std::time_t t) {
  char buf[40];
  std::tm tm;
  gmtime_r(&t, &tm);
  std::strftime(buf, sizeof buf, "%a, %d %b %Y %H:%M:%S GMT", &tm);
  return buf;
}

ConnectionLimits ConnectionLimitsOf(const ServerConfig& config) {
  const Limits& l = config.limits;
  ConnectionLimits c;
  c.uncapped = config.trusted_proxies;
  c.workers = l.workers;
  c.running_workers = l.running_workers;
  c.worker_stall = l.worker_stall;
  c.long_request = l.long_request;
  c.keep_alive_max_requests = l.keep_alive_max_requests;
  c.keep_alive_timeout = l.keep_alive_timeout;
  c.header_deadline = l.header_deadline;
  c.body_deadline = l.body_deadline;
  c.min_body_rate = l.min_body_rate;
  c.write_timeout = l.write_timeout;
  c.held_reply_bytes = l.held_reply_bytes;
  c.connections_per_client = l.connections_per_client;
  c.framing.max_head_bytes = l.max_head_bytes;
  c.framing.max_header_fields = l.max_header_fields;
  c.framing.max_body_bytes = l.max_body_bytes;
  return c;
}

StreamLimits StreamLimitsOf(const Limits& l) {
  StreamLimits s;
  s.per_client = l.streams_per_client;
  s.total = l.streams_total;
  s.heartbeat = l.stream_heartbeat;
  s.replay = l.stream_replay;
  s.max_unsent = l.stream_max_unsent;
  return s;
}

}  // namespace

struct PageServer::Impl {
  explicit Impl(ServerConfig c)
      : config(std::move(c)),
        site(config.site_dir, config.data_dir),
        pages(config, site, [this](const std::string& line) { Log(line); }),
        front(pages.changes(), config.limits.kept_replies),
        hub(StreamLimitsOf(config.limits)),
        live(hub, site.data_dir(), config.trusted_proxies,
             [this](const std::string& line) { Log(Now() + " " + line, true); }),
        loop(
            ConnectionLimitsOf(config),
            [this](httplib::Stream& s, std::string& body, bool close, bool& closed) {
              posted_body = &body;
              const bool ok = http.ServeOne(s, close, closed);
              posted_body = nullptr;
              return ok;
            },
            [this](int fd, std::string_view request, const std::string& peer) {
              return live.TakeOver(fd, request, peer);
            },
            [this](std::string_view request, const std::string& peer, bool last, ReadyReply& reply) {
              return AnswerKept(request, peer, last, reply);
            }) {}

  // Quiet drops the access lines (`access`); a page's or the server's
  // failure is always logged, since it is what the people running the
  // server look for.
  void Log(const std::string& line, bool access = false) {
    if (access && config.quiet) return;
    std::lock_guard lock(log_mu);
    if (log_file.is_open()) {
      log_file << line << '\n';
      log_file.flush();
    } else {
      std::cout << line << '\n' << std::flush;
    }
  }

  RawRequest Raw(const httplib::Request& req, std::string body, const std::string& query_prefix = {}) const {
    RawRequest raw;
    raw.method = req.method;
    raw.path = req.path;
    size_t q = req.target.find('?');
    if (q != std::string::npos) raw.query = req.target.substr(q + 1);
    raw.query = query_prefix + raw.query;
    for (const auto& [k, v] : req.headers) raw.headers.emplace_back(k, v);
    raw.body = std::move(body);
    raw.remote_addr = ClientAddress(req, config.trusted_proxies);
    // A proxy that ends TLS says so; the pages compare referrers with it.
    raw.https = FromProxy(req, config.trusted_proxies) && req.get_header_value("X-Forwarded-Proto") == "https";
    raw.local_port = req.local_port;
    raw.protocol = req.version;
    return raw;
  }

  // Open data: the page's reply (kept for every visitor like any public
  // page) with what other programs use: its entity tag and the time the
  // meet last changed (and 304 when they still hold), and CORS for GET.
  // True when the reply is the same for every visitor.
  bool ServeOpenData(const httplib::Request& req, httplib::Response& res, const char* format) {
    SiteFile file = site.Resolve(kOpenDataPage);
    if (file.kind != SiteFile::Kind::Page || req.method != "GET") {
      res.status = file.kind != SiteFile::Kind::Page ? 404 : 405;
      return false;
    }
    const std::time_t modified = NewestModification(site.data_dir());
    Reply reply = pages.Run(
        Raw(req, {}, std::string("format=") + format + "&"), file);
    res.set_header("Access-Control-Allow-Origin", "*");
    res.status = reply.status;
    std::string type = "application/json";
    for (auto& [k, v] : reply.headers) {
      if (k == "Content-Type")
        type = v;
      else
        res.headers.emplace(k, v);
    }
    if (reply.status != 200) {
      res.body = std::move(reply.body);
      res.set_header("Content-Type", type);
      return false;
    }
    const std::string tag = EntityTag(reply.body);
    const std::string last = HttpDate(modified);
    res.set_header("ETag", tag);
    res.set_header("Last-Modified", last);
    const std::string match = req.get_header_value("If-None-Match");
    const bool unchanged = !match.empty() ? (match == tag || match == "*" || match.find(tag) != std::string::npos)
                                          : req.get_header_value("If-Modified-Since") == last;
    if (unchanged) {
      res.status = 304;
      return false;
    }
    res.body = std::move(reply.body);
    res.set_header("Content-Type", type);
    return reply.for_everyone;
  }

  // True when the reply is the same for every visitor (a kept public reply).
  bool Serve(const httplib::Request& req, httplib::Response& res, std::string body) {
    // A byte range is served of a static file only. A page is made anew for
    // every request, so ranges of it taken in turn could splice two
    // different pages; a server may always answer a range with the whole.
    httplib::Ranges ranges = std::exchange(const_cast<httplib::Request&>(req).ranges, {});
    if (const char* format = OpenDataFormat(req.path)) return ServeOpenData(req, res, format);
    // The open data page answers under its three addresses only.
    if (strcasecmp(req.path.c_str(), kOpenDataPage) == 0) {
      res.status = 404;
      return false;
    }
    ChangeWatch& changes = pages.changes();
    SiteFile file = resolved.Resolve(site, req.path, changes.usable() ? changes.Generation() : 0);
    switch (file.kind) {
      case SiteFile::Kind::NotFound:
        res.status = 404;
        return false;
      case SiteFile::Kind::Redirect: {
        std::string location = file.location;
        size_t q = req.target.find('?');
        if (q != std::string::npos) location += req.target.substr(q);
        res.set_redirect(location, 301);
        return false;
      }
      case SiteFile::Kind::Static: {
        std::ifstream in(file.path, std::ios::binary);
        if (!in) {
          res.status = 404;
          return false;
        }
        std::ostringstream ss;
        ss << in.rdbuf();
        res.set_content(ss.str(), ContentTypeOf(file.path).c_str());
        res.set_header("Cache-Control", "max-age=" + std::to_string(config.limits.static_max_age.count()));
        const_cast<httplib::Request&>(req).ranges = std::move(ranges);
        return false;
      }
      case SiteFile::Kind::Page: {
        Reply reply = pages.Run(Raw(req, std::move(body)), file);
        res.status = reply.status;
        std::string type = "text/html";
        for (auto& [k, v] : reply.headers) {
          if (k == "Content-Type")
            type = v;
          else
            res.headers.emplace(k, v);
        }
        res.body = std::move(reply.body);
        res.set_header("Content-Type", type);
        return reply.for_everyone;
      }
    }
    return false;
  }

  // A kept reply answered on the loop's thread, without a worker.
  bool AnswerKept(std::string_view request, const std::string& peer, bool last, ReadyReply& reply) {
    const auto start = Clock::now();
    const QuickHead head = ReadQuickHead(request);
    int status = 0;
    size_t bytes = 0;
    if (!front.Answer(head, last, reply, status, bytes)) return false;
    if (!config.quiet) {
      double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      char buf[64];
      std::snprintf(buf, sizeof buf, "%.1f", ms);
      const std::string target(head.target);
      Log(Now() + " " + VisitorAddress(peer, std::string(head.forwarded_for), config.trusted_proxies) + " GET " +
          Printable(target.substr(0, target.find('?'))) + " " + std::to_string(status) + " " +
          std::to_string(bytes) + " " + buf + "ms", true);
    }
    return true;
  }

  void Setup() {
    // Connections, keep-alive, deadlines and the pool of workers belong to
    // the connection loop; the size limit stays here too, as a second guard.
    http.set_payload_max_length(config.limits.max_body_bytes);
    // The Keep-Alive header the replies carry tells the loop's own bounds.
    http.set_keep_alive_max_count(config.limits.keep_alive_max_requests);
    http.set_keep_alive_timeout(static_cast<time_t>(config.limits.keep_alive_timeout.count()));
    http.set_pre_routing_handler([](const httplib::Request& req, httplib::Response& res) {
      request_start = Clock::now();
      return httplib::Server::HandlerResponse::Unhandled;
    });
    http.Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
      // Taken before the page reads anything: a change while it runs makes
      // the kept copy stale at once.
      const uint64_t moment = req.method == "GET" ? front.Moment() : 0;
      if (Serve(req, res, {}) && res.status == 200 && moment != 0) {
        std::vector<std::pair<std::string, std::string>> headers(res.headers.begin(), res.headers.end());
        front.Keep(KeptFront::KeyOf(req.target, req.get_header_value("Host")), moment, headers, res.body);
      }
    });
    http.Post(".*", [this](const httplib::Request& req, httplib::Response& res, const httplib::ContentReader&) {
      // The body, multipart included, reaches the page untouched: the
      // connection loop took it out of its buffer whole (one copy of it in
      // memory, its chunked framing undone in place).
      Serve(req, res, posted_body ? std::move(*posted_body) : std::string());
    });
    http.set_error_handler([](const httplib::Request&, httplib::Response& res) {
      if (!res.body.empty()) return;
      std::string text = std::to_string(res.status) + " " + StatusText(res.status);
      res.set_content("<!DOCTYPE html><html><head><title>" + text + "</title></head><body><h1>" + text +
                          "</h1></body></html>",
                      "text/html; charset=utf-8");
    });
    http.set_exception_handler([this](const httplib::Request& req, httplib::Response& res, std::exception_ptr ep) {
      std::string what = "unknown failure";
      try {
        std::rethrow_exception(ep);
      } catch (const std::exception& e) {
        what = e.what();
      } catch (...) {
      }
      Log("server error: " + Printable(req.path) + ": " + what);
      res.status = 500;
    });
    http.set_logger([this](const httplib::Request& req, const httplib::Response& res) {
      double ms = std::chrono::duration<double, std::milli>(Clock::now() - request_start).count();
      char buf[64];
      std::snprintf(buf, sizeof buf, "%.1f", ms);
      Log(Now() + " " + ClientAddress(req, config.trusted_proxies) + " " + Printable(req.method) + " " + Printable(req.path) + " " +
          std::to_string(res.status) + " " + std::to_string(res.body.size()) + " " + buf + "ms", true);
    });
  }

  ServerConfig config;
  SiteFiles site;
  ResolvedPaths resolved{config.limits.resolved_paths};
  PageHost pages;
  KeptFront front;
  HttpCore http;
  StreamHub hub;
  MemoryTrim trim{config.limits.memory_trim_interval};
  LiveResults live;
  ConnectionLoop loop;
  std::mutex log_mu;
  std::ofstream log_file;
};

PageServer::PageServer(ServerConfig config) : impl_(std::make_unique<Impl>(std::move(config))) {
  if (!impl_->config.access_log.empty()) impl_->log_file.open(impl_->config.access_log, std::ios::app);
  impl_->Setup();
}

PageServer::~PageServer() { Stop(); }

bool PageServer::Bind(std::string& error) {
  return impl_->loop.Bind(impl_->config.bind, impl_->config.port, error);
}

int PageServer::port() const { return impl_->loop.port(); }

void PageServer::Run() {
  impl_->hub.Start();
  KeepFreedMemory(impl_->config.limits.malloc_trim_threshold, impl_->config.limits.malloc_mmap_threshold);
  impl_->trim.Start();
  impl_->loop.Run();
  impl_->trim.Stop();
  impl_->hub.Stop();
}

void PageServer::Stop() {
  impl_->loop.Stop();
  impl_->trim.Stop();
  impl_->hub.Stop();
}

const ServerConfig& PageServer::config() const { return impl_->config; }

}  // namespace web
