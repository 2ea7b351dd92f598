#include "data/foxsql/database_pool.h"

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "automation/error.h"
#include "automation/text.h"
#include "data/dbf/write_unit.h"
#include "data/limits.h"

namespace data::foxsql {

namespace {

struct Pooled {
  std::unique_ptr<Database> db;
  uint64_t device = 0, inode = 0;  // the folder it was opened on
  // The process that opened it. A child made by fork() shares the
  // connection's open files with its parent, and the table locks held
  // through them: locks a killed child took would stay with the parent's
  // files. A child never uses its parent's connections.
  pid_t process = 0;
};

std::vector<Pooled>& ThreadPool() {
  thread_local std::vector<Pooled> pool;
  return pool;
}

bool FolderIdentity(const std::string& folder, uint64_t& device, uint64_t& inode) {
  struct stat st;
  if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  device = st.st_dev;
  inode = st.st_ino;
  return true;
}

}  // namespace

std::unique_ptr<Database> TakeDatabase(const std::string& folder) {
  auto& pool = ThreadPool();
  uint64_t device = 0, inode = 0;
  if (FolderIdentity(folder, device, inode)) {
    for (size_t i = pool.size(); i-- > 0;) {
      if (pool[i].process != ::getpid()) {
        // Left unclosed: closing would act on files the parent still uses.
        (void)pool[i].db.release();
        pool.erase(pool.begin() + static_cast<std::ptrdiff_t>(i));
        continue;
      }
      if (pool[i].db->folder() != folder) continue;
      // The same path on another folder (removed and made again): the
      // connection of the old one is of no use.
      if (pool[i].device != device || pool[i].inode != inode) {
        pool.erase(pool.begin() + static_cast<std::ptrdiff_t>(i));
        continue;
      }
      std::unique_ptr<Database> db = std::move(pool[i].db);
      pool.erase(pool.begin() + static_cast<std::ptrdiff_t>(i));
      // A save interrupted by a writer's death is undone before anyone reads.
      dbf::RecoverOnOpen(folder);
      return db;
    }
  }
  return std::make_unique<Database>(folder);  // raises 76 for a missing folder
}

void GiveBackDatabase(std::unique_ptr<Database> db) {
  if (!db) return;
  uint64_t device = 0, inode = 0;
  if (!FolderIdentity(db->folder(), device, inode)) return;
  if (!db->ResetForReuse()) return;
  auto& pool = ThreadPool();
  if (pool.size() >= limits::kPooledConnectionsPerThread) pool.erase(pool.begin());  // the oldest
  pool.push_back({std::move(db), device, inode, ::getpid()});
}

void ClearDatabasePool() { ThreadPool().clear(); }

}  // namespace data::foxsql
