// The meet-wide write lock, held by a writer that must change many rows as
// one unit (a result-entry save, a registration, a page's transaction): an
// advisory lock on one file in the meet's data folder and an undo journal
// beside the tables (dbf/write_unit.h). Writers of the same meet, in this
// process or in others, take turns; readers and the writers of other meets
// (other data folders) never wait for it. Each statement still takes its
// own table locks as usual.
//
// The unit's writes are kept when the lock is committed, or when its scope
// ends normally; an error thrown through the scope undoes all of them.
//
//   data::MeetWriteLock lock(conn);   // waits for the other save
//   ... the statements of the save ...
//   lock.Commit();
#pragma once

#include <chrono>
#include <functional>
#include <vector>
#include <memory>
#include <string>

#include "automation/variant.h"
#include "data/dbf/write_unit.h"

namespace data {

/// The lock file's name inside the data folder (no table: not a .dbf).
inline constexpr const char* kMeetWriteLockFile = dbf::kWriteLockFile;

class MeetWriteLock {
 public:
  /// Takes the lock of the folder that `conn` (a variant holding the
  /// engine's open connection) works on, waiting up to `wait` for another
  /// holder. A connection of another kind takes nothing. Raises 70 when the
  /// wait runs out, 75 when the lock file cannot be opened or a journal
  /// left there cannot be read.
  explicit MeetWriteLock(const automation::Variant& conn,
                         std::chrono::milliseconds wait = std::chrono::milliseconds(30000));
  /// Takes the lock of a data folder (a native path).
  explicit MeetWriteLock(const std::string& folder,
                         std::chrono::milliseconds wait = std::chrono::milliseconds(30000));
  /// Commits when the scope ends normally (and may then raise as Commit
  /// does); undoes the writes when an error is on its way through.
  ~MeetWriteLock() noexcept(false);
  MeetWriteLock(const MeetWriteLock&) = delete;
  MeetWriteLock& operator=(const MeetWriteLock&) = delete;

  bool held() const { return unit_ != nullptr; }
  /// Keeps the writes made under the lock and makes them durable.
  void Commit();
  /// Undoes the writes made under the lock.
  void RollBack();
  /// Runs `fn` when the writes have been committed by the outermost unit
  /// (a page's transaction the lock joined, say); never when they are
  /// undone. Without a unit (a connection of another kind) it runs on
  /// Commit.
  void AfterCommit(std::function<void()> fn);

 private:
  std::unique_ptr<dbf::WriteUnit> unit_;
  std::vector<std::function<void()>> after_commit_;  // without a unit
  int unwinding_ = 0;  // errors in flight when the lock was taken
};

}  // namespace data
