#include "platform/site.h"

#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <mutex>
#include <vector>

#include "platform/paths.h"

namespace platform {
namespace {

std::mutex& SiteMutex() {
  static std::mutex m;
  return m;
}

std::vector<std::string>& SiteFolders() {
  static std::vector<std::string> folders;
  return folders;
}

// The real path of `p`, resolving links in the longest part that exists
// and appending the rest unchanged (the rest has no "." or ".." left).
std::string ResolveExisting(const std::string& p) {
  std::string head = p, tail;
  for (;;) {
    char buf[PATH_MAX];
    if (::realpath(head.c_str(), buf)) {
      std::string out = buf;
      if (!tail.empty()) out += (out == "/" ? "" : "/") + tail;
      return out;
    }
    size_t slash = head.find_last_of('/');
    if (slash == std::string::npos || head == "/") return p;
    tail = head.substr(slash + 1) + (tail.empty() ? "" : "/" + tail);
    head = slash == 0 ? "/" : head.substr(0, slash);
  }
}

bool Under(const std::string& path, const std::string& dir) {
  if (dir == "/") return true;
  return path.size() >= dir.size() && path.compare(0, dir.size(), dir) == 0 &&
         (path.size() == dir.size() || path[dir.size()] == '/');
}

}  // namespace

void AddSiteFolder(TextView folder) {
  std::string native = automation::ToUtf8(NormalizeSlashes(folder));
  if (native.empty() || native[0] != '/') return;
  std::lock_guard lock(SiteMutex());
  for (const auto& f : SiteFolders())
    if (f == native) return;
  SiteFolders().push_back(native);
}

bool IsInsideSite(const std::string& native) {
  std::string real = ResolveExisting(native);
  std::lock_guard lock(SiteMutex());
  for (const auto& f : SiteFolders()) {
    // Both sides resolved, so a site reached through a link still matches.
    if (Under(real, ResolveExisting(f)) || Under(real, f)) return true;
  }
  return false;
}

std::optional<std::string> SitePath(TextView path) {
  if (path.find(u'\0') != TextView::npos) return std::nullopt;
  Text p(path);
  // "X:" names a drive of the original host; here the one file system.
  if (p.size() >= 2 && p[1] == u':' &&
      ((p[0] >= u'A' && p[0] <= u'Z') || (p[0] >= u'a' && p[0] <= u'z')))
    p.erase(0, 2);
  if (p.empty()) return std::nullopt;
  if (p[0] != u'/' && p[0] != u'\\') {
    char cwd[PATH_MAX];
    if (!::getcwd(cwd, sizeof cwd)) return std::nullopt;
    p = automation::FromUtf8(cwd) + u"/" + p;
  }
  // Lexical resolution first: ".." can never climb out of the start.
  Text norm = NormalizeSlashes(p);
  std::string native = NativePath(norm);
  if (!IsInsideSite(native)) return std::nullopt;
  return native;
}

}  // namespace platform

namespace platform {
bool IsSiteFolder(const std::string& native) {
  std::string real = ResolveExisting(native);
  std::lock_guard lock(SiteMutex());
  for (const auto& f : SiteFolders())
    if (real == ResolveExisting(f) || native == f) return true;
  return false;
}
}  // namespace platform
