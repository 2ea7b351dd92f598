#include "data/dbf/write_unit.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "automation/error.h"
#include "automation/text.h"
#include "data/dbf/file_lock.h"
#include "data/dbf/undo_journal.h"

namespace data::dbf {

struct WriteUnit::State {
  explicit State(const std::string& folder) : journal(folder) {}
  UndoJournal journal;
  int lock_fd = -1;
  int depth = 0;
  bool failed = false;  // a joined unit failed: the whole unit was undone
  bool committed = false;
  std::vector<std::function<void()>> after_commit;
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
                            automation::FromUtf8("cannot open the meet's write lock " + path));
  return fd;
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
  if (!SetFileLock(fd, FileLockMode::kExclusive, wait)) {
    ::close(fd);
    throw automation::Error(automation::err::kPermissionDenied, u"另一位记录员正在保存本运动会的成绩，请稍后再试");
  }
  try {
    RollBackJournal(folder);
  } catch (...) {
    ::close(fd);
    throw;
  }
  auto state = std::make_unique<State>(folder);
  state->lock_fd = fd;
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
    state_->committed = true;
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
  state_->after_commit.clear();
  state_->journal.RollBack();
}

void WriteUnit::AfterCommit(std::function<void()> fn) {
  if (state_ && !done_ && !state_->failed) state_->after_commit.push_back(std::move(fn));
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
  std::vector<std::function<void()>> after;
  if (state_->committed && !state_->failed) after.swap(state_->after_commit);
  delete state_;
  ::close(fd);  // closing the description releases its lock
  for (auto& fn : after) {
    try {
      fn();
    } catch (...) {
      // The writes are kept whatever a listener does.
    }
  }
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
