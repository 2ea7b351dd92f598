#include "data/foxsql/folder_watch.h"

#include <map>
#include <mutex>

#include "platform/site.h"

namespace data::foxsql {

namespace {

struct Watch {
  std::string folder;
  std::function<uint64_t()> generation;
};

struct Registry {
  std::mutex mutex;
  uint64_t last_id = 0;
  std::map<uint64_t, Watch> watches;  // by id; a process watches a folder or two
};

Registry& TheRegistry() {
  static Registry r;
  return r;
}

}  // namespace

std::string ResolvedFolder(const std::string& folder) {
  std::string real = platform::ResolveExisting(folder);
  while (real.size() > 1 && real.back() == '/') real.pop_back();
  return real;
}

uint64_t WatchFolder(const std::string& folder, std::function<uint64_t()> generation) {
  Registry& r = TheRegistry();
  Watch w{ResolvedFolder(folder), std::move(generation)};
  std::lock_guard lock(r.mutex);
  r.watches.emplace(++r.last_id, std::move(w));
  return r.last_id;
}

void UnwatchFolder(uint64_t id) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  r.watches.erase(id);
}

uint64_t FolderGeneration(const std::string& resolved_folder) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  for (auto& [id, w] : r.watches)
    if (w.folder == resolved_folder) return w.generation();
  return 0;
}

}  // namespace data::foxsql
