#include "data/dbf/file_lock.h"

#include <fcntl.h>

#include <cerrno>
#include <thread>

namespace data::dbf {

bool SetFileLock(int fd, FileLockMode mode, std::chrono::milliseconds wait) {
  if (fd < 0) return true;  // in-memory tables
  struct flock lk = {};
  lk.l_type = mode == FileLockMode::kExclusive ? F_WRLCK
              : mode == FileLockMode::kShared  ? F_RDLCK
                                               : F_UNLCK;
  lk.l_whence = SEEK_SET;
  lk.l_start = 0;
  lk.l_len = 0;  // the whole file, however long it grows
  // Polling rather than F_OFD_SETLKW: a wait that never ends (two statements
  // locking two tables in opposite orders) becomes an error instead.
  auto deadline = std::chrono::steady_clock::now() + wait;
  auto pause = std::chrono::microseconds(200);
  for (;;) {
    if (::fcntl(fd, F_OFD_SETLK, &lk) == 0) return true;
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EACCES) return false;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(pause);
    // Short pauses: a waiter that sleeps long misses the gaps between
    // another's statements and is overtaken by every newcomer.
    if (pause < std::chrono::milliseconds(2)) pause *= 2;
  }
}

}  // namespace data::dbf
