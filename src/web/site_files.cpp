#include "web/site_files.h"

#include <array>
#include <filesystem>
#include <vector>

#include "automation/text.h"
#include "platform/paths.h"
#include "platform/site.h"

namespace web {

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string s) {
  for (auto& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return s;
}

bool EndsWithNoCase(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && Lower(s.substr(s.size() - tail.size())) == tail;
}

std::string Canonical(const std::string& dir) {
  std::error_code ec;
  fs::path p = fs::weakly_canonical(fs::absolute(dir), ec);
  return ec ? dir : p.string();
}

// Splits a request path into its names. Refuses (false) any ".." and any
// name that starts with "." (hidden files, "..." tricks), after "\" has
// been taken as a separator as the Windows host did.
bool SplitSafe(const std::string& path, std::vector<std::string>& parts) {
  std::string cur;
  auto flush = [&] {
    if (cur.empty()) return true;
    if (cur[0] == '.') return cur == ".";  // "." is harmless, anything else hidden
    parts.push_back(cur);
    cur.clear();
    return true;
  };
  for (char c : path) {
    if (c == '\0' || c == ':') return false;
    if (c == '/' || c == '\\') {
      if (!cur.empty() && cur != "." && cur[0] == '.') return false;
      if (cur == ".") cur.clear();
      if (!flush()) return false;
    } else {
      cur.push_back(c);
    }
  }
  if (!cur.empty() && cur != "." && cur[0] == '.') return false;
  if (cur == ".") cur.clear();
  return flush();
}

bool IsDir(const std::string& p) {
  std::error_code ec;
  return fs::is_directory(p, ec);
}
bool IsFile(const std::string& p) {
  std::error_code ec;
  return fs::is_regular_file(p, ec);
}

// Source and settings files of the site that are never sent as they are.
bool IsSourceName(const std::string& name) {
  static const std::array<const char*, 6> kTails = {".asp", ".inc", ".asa", ".config", ".dbf", ".fpt"};
  for (const char* t : kTails)
    if (EndsWithNoCase(name, t)) return true;
  return false;
}

// An image that the site's markup names with the page extension
// ("image/orvel_bar.asp"): the drawing is kept beside it under its own
// extension and sent with that type.
std::string ImageStandIn(const std::string& native_asp) {
  std::string base = native_asp.substr(0, native_asp.size() - 4);
  for (const char* ext : {".svg", ".png", ".gif", ".jpg"}) {
    std::string p = platform::NativePath(automation::FromUtf8(base + ext));
    if (IsFile(p)) return p;
  }
  return {};
}

}  // namespace

SiteFiles::SiteFiles(std::string site_dir, std::string data_dir)
    : site_dir_(Canonical(site_dir)), data_dir_(data_dir.empty() ? std::string() : Canonical(data_dir)) {
  site_.AddFolder(automation::FromUtf8(site_dir_));
  if (!data_dir_.empty()) data_.AddFolder(automation::FromUtf8(data_dir_));
  server_site_ = site_;
  if (!data_dir_.empty()) server_site_.AddFolder(automation::FromUtf8(data_dir_));
}

std::string SiteFiles::Locate(const std::string& site_path, const std::string& from_site_path) const {
  std::string full = site_path;
  if (full.empty() || (full[0] != '/' && full[0] != '\\')) {
    size_t slash = from_site_path.find_last_of('/');
    full = (slash == std::string::npos ? std::string("/") : from_site_path.substr(0, slash + 1)) + full;
  }
  // Includes may climb with ".." inside the site; resolve lexically first.
  automation::Text norm = platform::NormalizeSlashes(automation::FromUtf8(full));
  std::string native = platform::NativePath(automation::FromUtf8(site_dir_) + norm);
  if (!IsFile(native) || !site_.Contains(native)) return {};
  return native;
}

SiteFile SiteFiles::Resolve(const std::string& url_path) const {
  SiteFile out;
  std::vector<std::string> parts;
  if (!SplitSafe(url_path, parts)) return out;
  std::string site_path;
  for (const auto& p : parts) site_path += "/" + p;
  if (site_path.empty()) site_path = "/";
  // The meet's database folder is never served, under any spelling.
  if (!parts.empty() && Lower(parts[0]) == "data") return out;

  std::string native = platform::NativePath(automation::FromUtf8(site_dir_ + site_path));
  // Resolved once for both tests: inside the site, and not in the meet's folder.
  const std::string real = platform::ResolveExisting(native);
  auto under = [&](const platform::Site& s) {
    for (const auto& f : s.folders())
      if (platform::PathUnder(real, f)) return true;
    return false;
  };
  if (!under(site_) || under(data_)) return out;

  if (IsDir(native)) {
    bool slash = !url_path.empty() && (url_path.back() == '/' || url_path.back() == '\\');
    for (const char* page : {"index.asp", "default.asp", "index.html"}) {
      std::string p = platform::NativePath(automation::FromUtf8(native + "/" + page));
      if (!IsFile(p)) continue;
      if (!slash) {
        out.kind = SiteFile::Kind::Redirect;
        out.location = site_path + "/";
        return out;
      }
      out.path = p;
      out.site_path = (site_path == "/" ? "" : site_path) + "/" + page;
      out.kind = EndsWithNoCase(p, ".asp") ? SiteFile::Kind::Page : SiteFile::Kind::Static;
      return out;
    }
    return out;
  }
  out.site_path = site_path;
  if (EndsWithNoCase(site_path, ".asp")) {
    if (IsFile(native)) {
      out.kind = SiteFile::Kind::Page;
      out.path = native;
      return out;
    }
    std::string image = ImageStandIn(native);
    if (!image.empty() && site_.Contains(image)) {
      out.kind = SiteFile::Kind::Static;
      out.path = image;
    }
    return out;
  }
  if (IsSourceName(site_path) || !IsFile(native)) return out;
  out.kind = SiteFile::Kind::Static;
  out.path = native;
  return out;
}

std::string ContentTypeOf(const std::string& path) {
  static const std::array<std::pair<const char*, const char*>, 14> kTypes = {{
      {".html", "text/html; charset=utf-8"},
      {".htm", "text/html; charset=utf-8"},
      {".css", "text/css; charset=utf-8"},
      {".js", "application/javascript; charset=utf-8"},
      {".svg", "image/svg+xml"},
      {".png", "image/png"},
      {".gif", "image/gif"},
      {".jpg", "image/jpeg"},
      {".jpeg", "image/jpeg"},
      {".ico", "image/x-icon"},
      {".txt", "text/plain; charset=utf-8"},
      {".xls", "application/vnd.ms-excel"},
      {".zip", "application/zip"},
      {".pdf", "application/pdf"},
  }};
  for (const auto& [ext, type] : kTypes)
    if (EndsWithNoCase(path, ext)) return type;
  return "application/octet-stream";
}

}  // namespace web
