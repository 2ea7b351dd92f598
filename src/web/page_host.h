// Runs one page request: the compiled page, its host objects over HTTP,
// its session, and the script with the limits; a script that fails gives
// an error page naming the page, the line and the message, and a log line.
//
// Thread-safe: one PageHost serves all workers.
#pragma once

#include <functional>
#include <string>

#include "web/change_watch.h"
#include "web/config.h"
#include "web/http_host.h"
#include "web/page_compiler.h"
#include "web/reply_cache.h"
#include "web/sessions.h"
#include "web/site_files.h"

namespace web {

class PageHost {
 public:
  /// `log`: where failures of pages are reported (one line each).
  PageHost(const ServerConfig& config, const SiteFiles& site, std::function<void(const std::string&)> log);
  ~PageHost();
  PageHost(const PageHost&) = delete;
  PageHost& operator=(const PageHost&) = delete;

  /// Runs the page `file` for the request.
  Reply Run(RawRequest request, const SiteFile& file);

  SessionStore& sessions() { return sessions_; }
  /// Changes to the site's and the meet's folders: what kept replies hold by.
  ChangeWatch& changes() { return changes_; }

 private:
  Reply Failure(const std::string& message, int status) const;

  const ServerConfig& config_;
  const SiteFiles& site_;
  PageCache cache_;
  SessionStore sessions_;
  ChangeWatch changes_;
  uint64_t data_watch_ = 0;  // the meet folder's changes, told to the database engine
  ReplyCache replies_;
  std::function<void(const std::string&)> log_;
};

}  // namespace web
