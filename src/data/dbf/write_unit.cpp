#include "data/dbf/write_unit.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "automation/error.h"
#include "automation/text.h"
#include "automation/deadline.h"
#include "data/dbf/file_lock.h"
#include "data/dbf/table_error.h"
#include "data/dbf/undo_journal.h"

namespace data::dbf {

struct WriteUnit::State {
  explicit State(const std::string& folder) : journal(folder) {}
  UndoJournal journal;
  int lock_fd = -1;
  std::pair<dev_t, ino_t> turn_key{};  // the lock file: whose queue the unit stood in
  int depth = 0;
  bool failed = false;  // a joined unit failed: the whole unit was undone
};

namespace {

// The units the calling thread runs (one per folder).
thread_local std::vector<WriteUnit::State*> t_units;

WriteUnit::State* FindUnit(const std::string& folder) {
  for (WriteUnit::State* s : t_units)
    if (s->journal.folder() == folder || s->journal.Covers(folder + "/x")) return s;
  return nullptr;
}

int OpenLockFile(const std::string& folder) {
  const std::string path = folder + "/" + kWriteLockFile;
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0)
    throw automation::Error(automation::err::kPathFileAccess,
                            automation::FromUtf8("cannot open the meet's write lock " + path + ": " + WriteFailure(errno)));
  return fd;
}

// The writers of one meet in this process take the lock in the order they
// asked for it. The file lock alone is polled, and a writer that polls
// again after a pause is overtaken by every one that came after it: under
// load, views and saves of one meet then waited many seconds for their
// turn while others went by. Writers of other processes still meet at the
// file lock.
class Turns {
 public:
  using Key = std::pair<dev_t, ino_t>;

  /// Waits until every writer that asked before has had its turn; false
  /// when `wait` runs out first (the place in the queue is given up).
  bool Enter(Key key, std::chrono::steady_clock::time_point deadline) {
    std::unique_lock lock(mu_);
    auto& queue = queues_[key];
    const uint64_t me = ++next_;
    queue.push_back(me);
    if (!cv_.wait_until(lock, deadline, [&] { return queue.front() == me; })) {
      queue.erase(std::find(queue.begin(), queue.end(), me));
      if (queue.empty()) queues_.erase(key);
      cv_.notify_all();
      return false;
    }
    return true;
  }

  /// Ends the turn of the writer at the front of the queue.
  void Leave(Key key) {
    std::lock_guard lock(mu_);
    auto it = queues_.find(key);
    if (it == queues_.end()) return;
    it->second.pop_front();
    if (it->second.empty()) queues_.erase(it);
    cv_.notify_all();
  }

 private:
  std::mutex mu_;
  std::condition_variable cv_;
  std::map<Key, std::deque<uint64_t>> queues_;
  uint64_t next_ = 0;
};

Turns& SharedTurns() {
  static Turns turns;
  return turns;
}

}  // namespace

UndoJournal* ActiveJournalFor(const std::string& path) {
  for (WriteUnit::State* s : t_units)
    if (s->journal.Covers(path)) return &s->journal;
  return nullptr;
}

WriteUnit::WriteUnit(const std::string& folder, std::chrono::milliseconds wait) {
  if (State* s = FindUnit(folder)) {
    state_ = s;
    joined_ = true;
    ++s->depth;
    return;
  }
  const int fd = OpenLockFile(folder);
  const auto asked = std::chrono::steady_clock::now();
  const auto deadline = asked + wait;
  struct stat st = {};
  ::fstat(fd, &st);
  const Turns::Key key{st.st_dev, st.st_ino};
  const bool turn = SharedTurns().Enter(key, deadline);
  const auto left = std::max(std::chrono::milliseconds(0), std::chrono::duration_cast<std::chrono::milliseconds>(
                                                                deadline - std::chrono::steady_clock::now()));
  if (!turn || !SetFileLock(fd, FileLockMode::kExclusive, left)) {
    if (turn) SharedTurns().Leave(key);
    ::close(fd);
    throw automation::Error(automation::err::kPermissionDenied, u"另一位记录员正在保存本运动会的成绩，请稍后再试");
  }
  // The page's time limit is for its own work: the wait for the other
  // writers (bounded by `wait`) is added to it.
  automation::ExtendDeadline(std::chrono::steady_clock::now() - asked);
  try {
    RollBackJournal(folder);
  } catch (...) {
    ::close(fd);
    SharedTurns().Leave(key);
    throw;
  }
  auto state = std::make_unique<State>(folder);
  state->lock_fd = fd;
  state->turn_key = key;
  state->depth = 1;
  t_units.push_back(state.get());
  state_ = state.release();
}

void WriteUnit::Commit() {
  if (done_) return;
  if (state_->failed) {
    // Writes made after a joined unit failed are undone with it.
    RollBack();
    throw automation::Error(automation::err::kPathFileAccess, u"the unit of writes was undone after an error");
  }
  done_ = true;
  if (joined_) return;
  try {
    state_->journal.Commit();
  } catch (...) {
    try {
      state_->journal.RollBack();
    } catch (...) {
    }
    throw;
  }
}

void WriteUnit::RollBack() {
  if (done_) return;
  if (joined_ && std::find(t_units.begin(), t_units.end(), state_) == t_units.end()) {
    done_ = true;  // the outer unit ended and undid or kept everything itself
    return;
  }
  done_ = true;
  state_->failed = true;
  state_->journal.RollBack();
}

WriteUnit::~WriteUnit() {
  if (!state_) return;
  // A joined unit whose outer unit has already ended (the page closed its
  // connection, say, while refusing) has nothing left to touch.
  if (joined_ && std::find(t_units.begin(), t_units.end(), state_) == t_units.end()) return;
  if (!done_) {
    try {
      RollBack();
    } catch (...) {
      // The journal stays: the next writer undoes the unit.
    }
  }
  if (joined_) {
    --state_->depth;
    return;
  }
  // A unit ends on the thread that began it; a stray end elsewhere must
  // not touch that thread's list.
  if (auto it = std::find(t_units.begin(), t_units.end(), state_); it != t_units.end()) t_units.erase(it);
  const int fd = state_->lock_fd;
  const Turns::Key key = state_->turn_key;
  delete state_;
  ::close(fd);  // closing the description releases its lock
  SharedTurns().Leave(key);
}

void RecoverOnOpen(const std::string& folder) {
  struct stat st;
  if (::stat((folder + "/" + kJournalFile).c_str(), &st) != 0) return;
  if (FindUnit(folder)) return;  // this thread's own unit is running
  try {
    WriteUnit unit(folder, std::chrono::milliseconds(0));
    unit.Commit();
  } catch (...) {
    // A writer runs (its journal is live) or the journal is refused: the
    // next unit decides.
  }
}

}  // namespace data::dbf
