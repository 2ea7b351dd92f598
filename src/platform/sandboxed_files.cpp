#include "platform/sandboxed_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>

#include "platform/files.h"

namespace platform {
namespace {

char16_t FoldAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? c + 32 : c; }

bool GlobMatch(TextView p, TextView s) {
  // Iterative "*" backtracking: linear in practice, no recursion depth.
  size_t pi = 0, si = 0, star = TextView::npos, mark = 0;
  while (si < s.size()) {
    if (pi < p.size() && (p[pi] == u'?' || FoldAscii(p[pi]) == FoldAscii(s[si]))) {
      ++pi;
      ++si;
    } else if (pi < p.size() && p[pi] == u'*') {
      star = pi++;
      mark = si;
    } else if (star != TextView::npos) {
      pi = star + 1;
      si = ++mark;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == u'*') ++pi;
  return pi == p.size();
}

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// The real path of an existing file (links resolved), else the path itself,
// so that a replacing write lands in the linked file, not over the link.
std::string WriteTarget(const std::string& native) {
  char buf[PATH_MAX];
  struct stat st;
  if (::lstat(native.c_str(), &st) == 0 && S_ISLNK(st.st_mode) && ::realpath(native.c_str(), buf))
    return buf;
  return native;
}

bool MakeFoldersNative(const std::string& p) {
  for (size_t i = 1; i <= p.size(); ++i) {
    if (i == p.size() || p[i] == '/') {
      std::string part = p.substr(0, i);
      if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
    }
  }
  struct stat st;
  return ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

bool HasWildcard(TextView path) {
  return path.find_first_of(u"*?") != TextView::npos;
}

bool WildcardMatch(TextView pattern, TextView name) {
  if (GlobMatch(pattern, name)) return true;
  // "x.*" also takes names without an extension, as the original host did.
  if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == u".*" &&
      name.find(u'.') == TextView::npos)
    return GlobMatch(pattern.substr(0, pattern.size() - 2), name);
  return false;
}

LookUp FindEntries(const Site& site, TextView path, EntryFilter filter) {
  if (path.find_first_of(u"|<>\"") != TextView::npos) return LookUp::Error;
  size_t sep = path.find_last_of(u"\\/");
  TextView folder = sep == TextView::npos ? TextView() : path.substr(0, sep + 1);
  TextView last = sep == TextView::npos ? path : path.substr(sep + 1);
  if (HasWildcard(folder)) return LookUp::Error;
  auto accept = [&](const std::string& native, const std::string& name) {
    struct stat st;
    if (::stat(native.c_str(), &st) != 0) return false;
    if (filter == EntryFilter::kAnyEntry) return true;
    return !S_ISDIR(st.st_mode) && !name.empty() && name[0] != '.';
  };
  if (!HasWildcard(last)) {
    auto native = site.Resolve(path);
    if (!native) return LookUp::Error;
    struct stat st;
    if (last.empty())  // "folder\": the folder lists at least its "." entry
      return ::stat(native->c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? LookUp::Found
                                                                       : LookUp::NotFound;
    std::string name = native->substr(native->find_last_of('/') + 1);
    return accept(*native, name) ? LookUp::Found : LookUp::NotFound;
  }
  auto dir = site.Resolve(folder.empty() ? TextView(u".") : folder);
  if (!dir) return LookUp::Error;
  DIR* d = ::opendir(dir->c_str());
  if (!d) return errno == ENOENT || errno == ENOTDIR ? LookUp::NotFound : LookUp::Error;
  LookUp result = LookUp::NotFound;
  while (dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    if (WildcardMatch(last, automation::FromUtf8(name)) &&
        accept(*dir + (dir->back() == '/' ? "" : "/") + name, name)) {
      result = LookUp::Found;
      break;
    }
  }
  ::closedir(d);
  return result;
}

std::optional<std::vector<FolderEntry>> ListFolder(const Site& site, TextView folder) {
  auto native = site.Resolve(folder);
  if (!native) return std::nullopt;
  DIR* d = ::opendir(native->c_str());
  if (!d) return std::nullopt;
  std::vector<std::pair<std::string, bool>> raw;
  while (dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    struct stat st;
    bool dir = ::stat((*native + "/" + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    raw.emplace_back(name, dir);
  }
  ::closedir(d);
  std::sort(raw.begin(), raw.end());
  std::vector<FolderEntry> out;
  for (auto& [name, dir] : raw) out.push_back({automation::FromUtf8(name), dir});
  return out;
}

bool MakeFolders(const Site& site, TextView folder) {
  auto native = site.Resolve(folder);
  return native && MakeFoldersNative(*native);
}

std::optional<int64_t> FileLength(const Site& site, TextView path) {
  auto native = site.Resolve(path);
  struct stat st;
  if (!native || ::stat(native->c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return static_cast<int64_t>(st.st_size);
}

std::optional<std::string> ReadBytes(const Site& site, TextView path) {
  auto native = site.Resolve(path);
  if (!native) return std::nullopt;
  int fd = ::open(native->c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  return ReadAndClose(fd, static_cast<size_t>(st.st_size));
}

std::string TempNameBeside(const std::string& native) {
  static std::atomic<unsigned> counter{0};
  size_t slash = native.find_last_of('/');
  std::string dir = slash == std::string::npos ? "." : native.substr(0, slash);
  return dir + "/.arenix-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + ".tmp";
}

bool WriteBytes(const Site& site, TextView path, std::string_view bytes, bool append) {
  auto checked = site.Resolve(path);
  if (!checked) return false;
  std::string native = WriteTarget(*checked);
  struct stat st;
  bool exists = ::stat(native.c_str(), &st) == 0;
  if (exists && (!S_ISREG(st.st_mode) || !(st.st_mode & S_IWUSR))) return false;  // read-only
  if (append) {
    int fd = ::open(native.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    off_t old_size = exists ? st.st_size : 0;
    bool ok = WriteAll(fd, bytes.data(), bytes.size());
    if (!ok) {
      int rc = ::ftruncate(fd, old_size);  // leave the file as it was
      (void)rc;
    }
    ok = ::close(fd) == 0 && ok;
    if (!ok && !exists) ::unlink(native.c_str());
    return ok;
  }
  std::string temp = TempNameBeside(native);
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, bytes.data(), bytes.size());
  if (exists) ::fchmod(fd, st.st_mode & 07777);
  ok = ::close(fd) == 0 && ok;
  if (ok) ok = ::rename(temp.c_str(), native.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

bool CopyFileNative(const std::string& from, const std::string& to) {
  int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  struct stat st;
  if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(in);
    return false;
  }
  std::string target = WriteTarget(to);
  std::string temp = TempNameBeside(target);
  int out = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (out < 0) {
    ::close(in);
    return false;
  }
  bool ok = true;
  off_t left = st.st_size;
  while (ok && left > 0) {
    ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, static_cast<size_t>(left), 0);
    if (n > 0) {
      left -= n;
    } else if (n < 0 && errno == EINTR) {
    } else if (n == 0) {
      break;  // the source shrank while being copied
    } else {
      // Fall back to plain reads where the kernel cannot copy between these files.
      char buf[1 << 16];
      for (;;) {
        ssize_t r = ::read(in, buf, sizeof buf);
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) ok = false;
        if (r <= 0) break;
        if (!WriteAll(out, buf, static_cast<size_t>(r))) ok = false;
      }
      left = 0;
    }
  }
  ::fchmod(out, st.st_mode & 0777);
  struct timespec times[2] = {st.st_atim, st.st_mtim};
  ::futimens(out, times);
  ok = ::close(out) == 0 && ok;
  ::close(in);
  if (ok) ok = ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

}  // namespace platform
