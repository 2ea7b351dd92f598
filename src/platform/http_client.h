// HTTP requests through libcurl: the stand-in for the original host's URL
// opening and its HTTP request object. Every request has a connect
// time-out, an overall time-out and a cap on the body it keeps, so a slow
// or endless remote server cannot hold a page for ever.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace platform {

/// Limits of one request; the defaults suit fetching a picture for a page.
struct HttpLimits {
  long connect_timeout_ms = 10000;
  long total_timeout_ms = 60000;
  int64_t max_body_bytes = 64LL << 20;
};

struct HttpResponse {
  /// True when a response arrived, whatever its status.
  bool received = false;
  long status = 0;
  std::string status_text;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  /// What went wrong when nothing arrived (libcurl's message).
  std::string error;
};

/// Sends a request (GET unless `method` says otherwise) with optional
/// headers and body, and keeps the whole answer.
HttpResponse HttpRequest(const std::string& method, const std::string& url,
                         const std::vector<std::pair<std::string, std::string>>& headers,
                         const std::string& body, const HttpLimits& limits = {});

/// Opens a URL with a GET as a browser would, without taking its body:
/// true when any response arrived (an error status included).
bool HttpOpenUrl(const std::string& url, const HttpLimits& limits = {});

}  // namespace platform
