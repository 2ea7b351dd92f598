#include "platform/http_client.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

namespace platform {
namespace {

void GlobalInit() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Sink {
  HttpResponse* out;
  int64_t max;
  bool stop_at_body;
  bool too_large = false;
};

size_t OnBody(char* data, size_t size, size_t n, void* user) {
  auto* s = static_cast<Sink*>(user);
  size_t len = size * n;
  if (s->stop_at_body) return 0;  // headers are all we wanted
  if (static_cast<int64_t>(s->out->body.size() + len) > s->max) {
    s->too_large = true;
    return 0;
  }
  s->out->body.append(data, len);
  return len;
}

size_t OnHeader(char* data, size_t size, size_t n, void* user) {
  auto* out = static_cast<HttpResponse*>(user);
  std::string line(data, size * n);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  if (line.rfind("HTTP/", 0) == 0) {
    // A new status line (after a redirect or 100 Continue) starts afresh.
    out->headers.clear();
    size_t sp = line.find(' ');
    size_t sp2 = sp == std::string::npos ? sp : line.find(' ', sp + 1);
    out->status_text = sp2 == std::string::npos ? "" : line.substr(sp2 + 1);
  } else if (size_t colon = line.find(':'); colon != std::string::npos) {
    size_t v = line.find_first_not_of(' ', colon + 1);
    out->headers.emplace_back(line.substr(0, colon), v == std::string::npos ? "" : line.substr(v));
  }
  return size * n;
}

HttpResponse Perform(const std::string& method, const std::string& url,
                     const std::vector<std::pair<std::string, std::string>>& headers,
                     const std::string& body, const HttpLimits& limits, bool stop_at_body) {
  GlobalInit();
  HttpResponse out;
  std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), curl_easy_cleanup);
  if (!curl) {
    out.error = "cannot start an HTTP request";
    return out;
  }
  CURL* c = curl.get();
  Sink sink{&out, limits.max_body_bytes, stop_at_body};
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_USERAGENT, "http");
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(c, CURLOPT_MAXREDIRS, 10L);
  curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https,ftp");
  curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https,ftp");
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, limits.connect_timeout_ms);
  curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, limits.total_timeout_ms);
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &sink);
  curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(c, CURLOPT_HEADERDATA, &out);
  // Fetched anew every time, as the original opened URLs past any cache.
  curl_slist* list = curl_slist_append(nullptr, "Cache-Control: no-cache");
  list = curl_slist_append(list, "Pragma: no-cache");
  for (const auto& [k, v] : headers) list = curl_slist_append(list, (k + ": " + v).c_str());
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, list);
  if (method == "GET" || method.empty()) {
    curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
  } else if (method == "HEAD") {
    curl_easy_setopt(c, CURLOPT_NOBODY, 1L);
  } else {
    curl_easy_setopt(c, CURLOPT_CUSTOMREQUEST, method.c_str());
    curl_easy_setopt(c, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
  }
  CURLcode rc = curl_easy_perform(c);
  curl_slist_free_all(list);
  long status = 0;
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
  out.status = status;
  if (rc == CURLE_OK || (stop_at_body && rc == CURLE_WRITE_ERROR && status > 0)) {
    out.received = status > 0 || rc == CURLE_OK;
  } else if (sink.too_large) {
    out.error = "the response is larger than " + std::to_string(limits.max_body_bytes) + " bytes";
  } else {
    out.error = curl_easy_strerror(rc);
  }
  if (!out.received) out.body.clear();
  return out;
}

}  // namespace

HttpResponse HttpRequest(const std::string& method, const std::string& url,
                         const std::vector<std::pair<std::string, std::string>>& headers,
                         const std::string& body, const HttpLimits& limits) {
  return Perform(method, url, headers, body, limits, false);
}

bool HttpOpenUrl(const std::string& url, const HttpLimits& limits) {
  return Perform("GET", url, {}, {}, limits, true).received;
}

}  // namespace platform
