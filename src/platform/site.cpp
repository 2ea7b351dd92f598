#include "platform/site.h"

#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include "platform/paths.h"

namespace platform {

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

bool PathUnder(std::string_view path, std::string_view dir) {
  if (dir.empty() || dir == "/") return !path.empty() && path[0] == '/';
  return path.size() >= dir.size() && path.compare(0, dir.size(), dir) == 0 &&
         (path.size() == dir.size() || path[dir.size()] == '/');
}

namespace {

// A path text made absolute against the working folder, "\" as "/", "."
// and ".." resolved lexically.
std::optional<Text> Absolute(Text p) {
  if (p.empty()) return std::nullopt;
  if (p[0] != u'/' && p[0] != u'\\') {
    char cwd[PATH_MAX];
    if (!::getcwd(cwd, sizeof cwd)) return std::nullopt;
    p = automation::FromUtf8(cwd) + u"/" + p;
  }
  return NormalizeSlashes(p);
}

}  // namespace

void Site::AddFolder(TextView folder) {
  auto abs = Absolute(Text(folder));
  if (!abs) return;
  std::string real = ResolveExisting(automation::ToUtf8(*abs));
  for (const auto& f : folders_)
    if (f == real) return;
  folders_.push_back(std::move(real));
}

bool Site::Contains(const std::string& native) const {
  std::string real = ResolveExisting(native);
  for (const auto& f : folders_)
    if (PathUnder(real, f)) return true;
  return false;
}

bool Site::IsFolder(const std::string& native) const {
  std::string real = ResolveExisting(native);
  for (const auto& f : folders_)
    if (real == f) return true;
  return false;
}

std::optional<std::string> Site::Resolve(TextView path) const {
  if (path.find(u'\0') != TextView::npos) return std::nullopt;
  Text p(path);
  // "X:" names a drive of the original host; here the one file system.
  if (p.size() >= 2 && p[1] == u':' &&
      ((p[0] >= u'A' && p[0] <= u'Z') || (p[0] >= u'a' && p[0] <= u'z')))
    p.erase(0, 2);
  // Lexical resolution first: ".." can never climb out of the start.
  auto norm = Absolute(std::move(p));
  if (!norm) return std::nullopt;
  std::string native = NativePath(*norm);
  if (!Contains(native)) return std::nullopt;
  return native;
}

}  // namespace platform
