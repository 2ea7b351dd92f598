#include "platform/shell_file_op.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>
#include <vector>

#include "platform/sandboxed_files.h"

namespace platform {
namespace {

using automation::Text;
using automation::TextView;

struct Job {
  std::string from, to;
};

std::vector<Text> SplitList(TextView list) {
  std::vector<Text> out;
  size_t i = 0;
  while (i <= list.size()) {
    size_t bar = list.find(u'|', i);
    if (bar == TextView::npos) bar = list.size();
    if (bar == i) break;  // an empty element ends the list
    out.emplace_back(list.substr(i, bar - i));
    i = bar + 1;
  }
  return out;
}

bool Lstat(const std::string& p, struct stat& st) { return ::lstat(p.c_str(), &st) == 0; }

bool IsDir(const std::string& p) {
  struct stat st;
  return ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string Parent(const std::string& p) {
  size_t slash = p.find_last_of('/');
  return slash == 0 ? "/" : slash == std::string::npos ? "." : p.substr(0, slash);
}

std::string BaseName(const std::string& p) { return p.substr(p.find_last_of('/') + 1); }

bool MakeParents(const std::string& p) {
  std::string dir = Parent(p);
  for (size_t i = 1; i <= dir.size(); ++i)
    if (i == dir.size() || dir[i] == '/')
      if (::mkdir(dir.substr(0, i).c_str(), 0777) != 0 && errno != EEXIST) return false;
  return IsDir(dir);
}

std::optional<std::vector<std::string>> Children(const std::string& dir) {
  DIR* d = ::opendir(dir.c_str());
  if (!d) return std::nullopt;
  std::vector<std::string> names;
  while (dirent* e = ::readdir(d)) {
    std::string n = e->d_name;
    if (n != "." && n != "..") names.push_back(n);
  }
  ::closedir(d);
  return names;
}

// Never follows a symbolic link: a link is removed, not what it points to.
bool RemoveTree(const std::string& p) {
  struct stat st;
  if (!Lstat(p, st)) return errno == ENOENT;
  if (S_ISDIR(st.st_mode)) {
    auto names = Children(p);
    if (!names) return false;
    for (const auto& n : *names)
      if (!RemoveTree(p + "/" + n)) return false;
    return ::rmdir(p.c_str()) == 0;
  }
  return ::unlink(p.c_str()) == 0;
}

// Copies a file or a whole folder, merging into an existing folder and
// replacing existing files. Links are copied as links; devices and pipes,
// which hold no data of the site, are left out.
bool CopyTree(const std::string& from, const std::string& to) {
  struct stat st;
  if (!Lstat(from, st)) return false;
  if (S_ISDIR(st.st_mode)) {
    struct stat dst;
    if (Lstat(to, dst) && !S_ISDIR(dst.st_mode)) return false;
    if (!MakeParents(to + "/x")) return false;
    auto names = Children(from);
    if (!names) return false;
    for (const auto& n : *names)
      if (!CopyTree(from + "/" + n, to + "/" + n)) return false;
    return true;
  }
  if (S_ISLNK(st.st_mode)) {
    std::string target(static_cast<size_t>(st.st_size) + 1, '\0');
    ssize_t n = ::readlink(from.c_str(), target.data(), target.size());
    if (n < 0) return false;
    target.resize(static_cast<size_t>(n));
    if (!MakeParents(to)) return false;
    struct stat dst;
    if (Lstat(to, dst) && (S_ISDIR(dst.st_mode) || ::unlink(to.c_str()) != 0)) return false;
    return ::symlink(target.c_str(), to.c_str()) == 0;
  }
  if (!S_ISREG(st.st_mode)) return true;
  if (IsDir(to) || !MakeParents(to)) return false;
  return CopyFileNative(from, to);
}

bool MoveOne(const std::string& from, const std::string& to) {
  struct stat src, dst;
  if (!Lstat(from, src)) return false;
  bool dst_exists = Lstat(to, dst);
  if (dst_exists && S_ISDIR(dst.st_mode) != S_ISDIR(src.st_mode)) return false;
  if (!MakeParents(to)) return false;
  if (!(dst_exists && S_ISDIR(dst.st_mode)) && ::rename(from.c_str(), to.c_str()) == 0) return true;
  // An existing folder is merged into; another file system is copied to.
  return CopyTree(from, to) && RemoveTree(from);
}

bool Run(const Site& site, const Job& job, ShellAction action) {
  struct stat st;
  if (!Lstat(job.from, st)) return false;
  if (action != ShellAction::kCopy && site.IsFolder(job.from)) return false;
  if (action == ShellAction::kDelete) return RemoveTree(job.from);
  if (job.to == job.from) return action != ShellAction::kRename;
  // A folder cannot go into itself.
  if (S_ISDIR(st.st_mode) && PathUnder(job.to, job.from)) return false;
  switch (action) {
    case ShellAction::kCopy:
      return CopyTree(job.from, job.to);
    case ShellAction::kMove:
      return MoveOne(job.from, job.to);
    case ShellAction::kRename: {
      struct stat dst;
      if (Lstat(job.to, dst) || !IsDir(Parent(job.to))) return false;
      return ::rename(job.from.c_str(), job.to.c_str()) == 0;
    }
    default:
      return false;
  }
}

// Expands one source (wildcards in its last part) into jobs; `dest` is the
// destination named for it, `into` says it is a folder to put things in.
bool Expand(const Site& site, TextView source, TextView dest, bool into, ShellAction action,
            std::vector<Job>& jobs) {
  size_t sep = source.find_last_of(u"\\/");
  TextView last = sep == TextView::npos ? source : source.substr(sep + 1);
  bool wild = HasWildcard(last);
  if (HasWildcard(sep == TextView::npos ? TextView() : source.substr(0, sep))) return false;
  std::optional<std::string> to_dir;
  if (action != ShellAction::kDelete) {
    to_dir = site.Resolve(dest);
    if (!to_dir) return false;
  }
  if (!wild) {
    auto from = site.Resolve(source);
    if (!from) return false;
    std::string to;
    if (to_dir) to = into ? *to_dir + "/" + BaseName(*from) : *to_dir;
    jobs.push_back({*from, to});
    return true;
  }
  auto dir = site.Resolve(sep == TextView::npos ? TextView(u".") : source.substr(0, sep + 1));
  if (!dir) return false;
  auto names = Children(*dir);
  if (!names) return false;
  for (const auto& n : *names)
    if (WildcardMatch(last, automation::FromUtf8(n)))
      jobs.push_back({*dir + "/" + n, to_dir ? *to_dir + "/" + n : std::string()});
  return true;
}

}  // namespace

bool ShellFileOperation(const Site& site, TextView sources, TextView destinations, ShellAction action) {
  std::vector<Text> from = SplitList(sources);
  if (from.empty()) return false;
  std::vector<Text> to;
  bool into = false;
  if (action != ShellAction::kDelete) {
    to = SplitList(destinations);
    if (to.size() == 1 && from.size() > 1) {
      into = true;  // several sources into one folder
    } else if (to.size() != from.size()) {
      return false;
    }
  }
  std::vector<Job> jobs;
  for (size_t i = 0; i < from.size(); ++i) {
    Text dest = to.empty() ? Text() : to[into ? 0 : i];
    bool wild = HasWildcard(from[i]);
    if (!Expand(site, from[i], dest, into || wild, action, jobs)) return false;
  }
  for (const auto& job : jobs)
    if (!Run(site, job, action)) return false;
  return true;
}

}  // namespace platform
