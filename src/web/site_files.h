// Finds the file a request path names inside the site, as the Windows host
// did: names match without regard to case, and a folder serves its default
// page. It is also the one gate that keeps the meet's data, page sources
// and everything outside the site from being downloaded.
//
// Thread-safe: holds only the two folders it was made with.
#pragma once

#include <string>

#include "platform/site.h"

namespace web {

struct SiteFile {
  enum class Kind {
    NotFound,   // no such file, or a name that may not be served (404)
    Page,       // an .asp page to run
    Static,     // a file to send as it is
    Redirect,   // a folder asked for without its trailing "/"
  };
  Kind kind = Kind::NotFound;
  std::string path;       // native path of the file (Page, Static)
  std::string site_path;  // the path as the site names it ("/comm/orvel.css")
  std::string location;   // Redirect: where to
};

class SiteFiles {
 public:
  /// `site_dir`: the site's folder; `data_dir`: the meet's folder ("/data").
  SiteFiles(std::string site_dir, std::string data_dir);

  /// `url_path`: the request path after percent-decoding (UTF-8 bytes).
  SiteFile Resolve(const std::string& url_path) const;

  /// A site path ("/inc/head.asp", or "x.asp" relative to the site folder
  /// of `from_site_path`) -> the native file, found without case; empty when
  /// it is missing or would leave the site.
  std::string Locate(const std::string& site_path, const std::string& from_site_path = "/") const;

  const std::string& site_dir() const { return site_dir_; }
  const std::string& data_dir() const { return data_dir_; }
  /// The site folder and the meet's folder together: what a page's Server
  /// object reaches, resolved once rather than for every request.
  const platform::Site& server_site() const { return server_site_; }

 private:
  std::string site_dir_;  // canonical
  std::string data_dir_;  // canonical
  platform::Site site_;   // what may be served from
  platform::Site data_;   // what never is
  platform::Site server_site_;
};

/// The content type of a static file, from its extension.
std::string ContentTypeOf(const std::string& path);

}  // namespace web
