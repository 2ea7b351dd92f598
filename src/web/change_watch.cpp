#include "web/change_watch.h"

#include <dirent.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>

namespace web {

namespace {

constexpr uint32_t kChanges = IN_MODIFY | IN_ATTRIB | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                              IN_DELETE_SELF | IN_MOVE_SELF;
// Subfolders nested deeper than this are not looked into.
constexpr size_t kMaxDepth = 8;

// File systems whose changes may be made on another machine, unseen here.
bool SharedOverNetwork(const std::string& folder) {
  struct statfs fs;
  if (::statfs(folder.c_str(), &fs) != 0) return true;
  switch (static_cast<unsigned long>(fs.f_type)) {
    case 0x6969:      // NFS
    case 0x517B:      // SMB
    case 0xFF534D42:  // CIFS
    case 0xFE534D42:  // SMB2
    case 0x65735546:  // FUSE (sshfs and the like)
    case 0x00C36400:  // Ceph
    case 0x01021997:  // 9P
    case 0x47504653:  // GPFS
    case 0x0BD00BD0:  // Lustre
      return true;
    default:
      return false;
  }
}

}  // namespace

ChangeWatch::ChangeWatch(const std::vector<std::string>& folders, size_t max_folders) : max_folders_(max_folders) {
  fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd_ < 0) return;
  for (const std::string& f : folders) {
    if (f.empty()) continue;
    if (SharedOverNetwork(f) || !Add(f, 0)) {
      ::close(fd_);
      fd_ = -1;
      folders_.clear();
      return;
    }
  }
  usable_ = true;
}

ChangeWatch::~ChangeWatch() {
  if (fd_ >= 0) ::close(fd_);
}

bool ChangeWatch::Add(const std::string& folder, size_t depth) {
  if (folders_.size() >= max_folders_ || depth > kMaxDepth) return false;
  int wd = ::inotify_add_watch(fd_, folder.c_str(), kChanges | IN_ONLYDIR);
  if (wd < 0) return false;
  folders_[wd] = folder;
  if (depth == 0) roots_.insert(wd);
  DIR* d = ::opendir(folder.c_str());
  if (!d) return false;
  bool ok = true;
  while (dirent* e = ::readdir(d)) {
    if (e->d_name[0] == '.') continue;
    std::string path = folder + "/" + e->d_name;
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) continue;
    if (!Add(path, depth + 1)) {
      ok = false;
      break;
    }
  }
  ::closedir(d);
  return ok;
}

void ChangeWatch::Drain() {
  alignas(inotify_event) char buf[8192];
  for (;;) {
    ssize_t n = ::read(fd_, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // EAGAIN: nothing more is queued
    for (char* p = buf; p < buf + n;) {
      auto* e = reinterpret_cast<inotify_event*>(p);
      p += sizeof(inotify_event) + e->len;
      if (e->mask & IN_Q_OVERFLOW) {
        ++generation_;  // some changes were dropped: everything is stale
        continue;
      }
      if (e->mask & (IN_DELETE_SELF | IN_IGNORED)) {
        // A folder deleted: its parent saw that, and a folder made again
        // under its name is watched afresh. A top folder deleted cannot be.
        ++generation_;
        if (roots_.count(e->wd)) usable_ = false;
        folders_.erase(e->wd);
        continue;
      }
      if (e->mask & (IN_MOVE_SELF | IN_UNMOUNT)) {
        // A folder moved keeps its watch under a name no longer true.
        ++generation_;
        usable_ = false;
        continue;
      }
      if (e->len > 0 && e->name[0] == '.') continue;
      ++generation_;
      if ((e->mask & (IN_CREATE | IN_MOVED_TO)) && (e->mask & IN_ISDIR)) {
        auto it = folders_.find(e->wd);
        if (it == folders_.end() || !Add(it->second + "/" + e->name, 1)) usable_ = false;
      }
    }
  }
}

uint64_t ChangeWatch::Generation() {
  std::lock_guard lock(mu_);
  if (fd_ >= 0) Drain();
  return generation_;
}

}  // namespace web
