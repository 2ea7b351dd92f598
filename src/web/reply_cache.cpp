#include "web/reply_cache.h"

#include <dirent.h>
#include <sys/stat.h>

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

std::optional<Reply> ReplyCache::Find(const std::string& key, const void* page, const std::string& signature) {
  std::lock_guard lock(mu_);
  auto it = entries_.find(key);
  if (it == entries_.end()) return std::nullopt;
  if (it->second.page != page || it->second.signature != signature) {
    entries_.erase(it);
    return std::nullopt;
  }
  return it->second.reply;
}

void ReplyCache::Store(const std::string& key, const void* page, const std::string& signature, const Reply& reply) {
  std::lock_guard lock(mu_);
  // Bounded: past the limit the old replies go (they are cheap to make again).
  if (entries_.size() >= max_entries_) entries_.clear();
  entries_[key] = Entry{page, signature, reply};
}

}  // namespace web
