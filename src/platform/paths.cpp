#include "platform/paths.h"

#include <dirent.h>
#include <sys/stat.h>

#include <vector>

namespace platform {

Text NormalizeSlashes(TextView path) {
  bool absolute = !path.empty() && (path[0] == u'/' || path[0] == u'\\');
  std::vector<Text> parts;
  Text cur;
  auto flush = [&] {
    if (cur.empty() || cur == u".") {
    } else if (cur == u"..") {
      if (!parts.empty()) parts.pop_back();
    } else {
      parts.push_back(cur);
    }
    cur.clear();
  };
  for (char16_t c : path) {
    if (c == u'/' || c == u'\\')
      flush();
    else
      cur.push_back(c);
  }
  flush();
  Text out = absolute ? u"/" : u"";
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) out += u'/';
    out += parts[i];
  }
  return out;
}

namespace {
bool Exists(const std::string& p) {
  struct stat st;
  return ::lstat(p.c_str(), &st) == 0;
}

std::string FindNoCase(const std::string& dir, const std::string& name) {
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return name;
  std::string found = name;
  auto lower = [](std::string s) {
    for (auto& c : s)
      if (c >= 'A' && c <= 'Z') c += 32;
    return s;
  };
  std::string want = lower(name);
  while (dirent* e = ::readdir(d)) {
    if (lower(e->d_name) == want) {
      found = e->d_name;
      break;
    }
  }
  ::closedir(d);
  return found;
}
}  // namespace

std::string NativePath(TextView path) {
  std::string in = automation::ToUtf8(path);
  for (auto& c : in)
    if (c == '\\') c = '/';
  if (Exists(in)) return in;
  // Walk the components, fixing the case of each that is missing as written.
  std::string out;
  size_t i = 0;
  if (!in.empty() && in[0] == '/') {
    out = "/";
    i = 1;
  }
  while (i <= in.size()) {
    size_t j = in.find('/', i);
    if (j == std::string::npos) j = in.size();
    std::string part = in.substr(i, j - i);
    if (!part.empty()) {
      std::string dir = out;
      std::string candidate = out + part;
      if (!Exists(candidate) && part != "." && part != "..") {
        std::string base = dir.empty() ? "." : dir;
        candidate = out + FindNoCase(base, part);
      }
      out = candidate;
      if (j < in.size()) out += "/";
    } else if (j < in.size() && !out.empty() && out.back() != '/') {
      out += "/";
    }
    i = j + 1;
  }
  return out;
}

}  // namespace platform
