#include "web/reply_cache.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>

namespace web {

std::string ReplyCache::DataSignature() const {
  std::string sig;
  DIR* d = ::opendir(data_dir_.c_str());
  if (!d) return sig;
  while (dirent* e = ::readdir(d)) {
    if (e->d_name[0] == '.') continue;
    struct stat st;
    std::string path = data_dir_ + "/" + e->d_name;
    if (::stat(path.c_str(), &st) != 0) continue;
    sig += e->d_name;
    sig += ':' + std::to_string(st.st_size) + ':' + std::to_string(st.st_mtim.tv_sec) + '.' +
           std::to_string(st.st_mtim.tv_nsec) + ';';
  }
  ::closedir(d);
  return sig;
}

std::time_t NewestModification(const std::string& dir) {
  std::time_t newest = 0;
  DIR* d = ::opendir(dir.c_str());
  if (!d) return newest;
  while (dirent* e = ::readdir(d)) {
    if (e->d_name[0] == '.') continue;
    struct stat st;
    if (::stat((dir + "/" + e->d_name).c_str(), &st) == 0 && st.st_mtime > newest) newest = st.st_mtime;
  }
  ::closedir(d);
  return newest;
}

std::string EntityTag(std::string_view body) {
  uint64_t h = 1469598103934665603ull;  // FNV-1a
  for (unsigned char c : body) {
    h ^= c;
    h *= 1099511628211ull;
  }
  char buf[24];
  std::snprintf(buf, sizeof buf, "\"%016llx\"", static_cast<unsigned long long>(h));
  return buf;
}

std::optional<Reply> ReplyCache::Find(const std::string& key, const void* page, const std::string& signature,
                                      bool& lead, std::chrono::milliseconds wait) {
  lead = false;
  std::unique_lock lock(mu_);
  auto it = entries_.find(key);
  if (it != entries_.end() && it->second.page == page && it->second.signature == signature) return it->second.reply;
  auto running = runs_.find(key);
  if (running != runs_.end() && running->second->page == page && running->second->signature == signature) {
    std::shared_ptr<Run> run = running->second;
    run_done_.wait_for(lock, wait, [&] { return run->done; });
    return run->reply;  // none when it kept nothing or is still running: this request runs the page itself
  }
  // Only a page whose reply was kept before is waited for: most pages are
  // not public, and their requests must not queue behind each other.
  if (it == entries_.end()) return std::nullopt;
  entries_.erase(it);
  if (running == runs_.end()) {
    runs_[key] = std::make_shared<Run>(Run{page, signature});
    lead = true;
  }
  return std::nullopt;
}

void ReplyCache::Finish(const std::string& key, const Reply* reply) {
  std::lock_guard lock(mu_);
  auto it = runs_.find(key);
  if (it == runs_.end()) return;
  if (reply) it->second->reply = *reply;
  it->second->done = true;
  runs_.erase(it);
  run_done_.notify_all();
}

void ReplyCache::Store(const std::string& key, const void* page, const std::string& signature, const Reply& reply) {
  std::lock_guard lock(mu_);
  // Bounded: past the limit the old replies go (they are cheap to make again).
  if (entries_.size() >= max_entries_) entries_.clear();
  entries_[key] = Entry{page, signature, reply};
}

}  // namespace web
