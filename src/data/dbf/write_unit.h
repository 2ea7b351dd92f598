// A unit of writes on one meet folder: all of them or none. The unit holds
// the meet write lock (an advisory lock on `.arenix-write.lock` in the
// folder), so writers of the meet, in this process or in others, take
// turns; readers and the writers of other folders never wait for it. While
// it runs, every file the unit changes is journalled (undo_journal.h);
// Commit keeps the changes, and a unit that ends without Commit (an error
// thrown through it) undoes them.
//
// A unit begun by a thread that already runs one on the same folder joins
// it: its Commit leaves the decision to the outer unit, and its failure
// undoes the outer unit at once (whose Commit then raises).
//
//   dbf::WriteUnit unit(folder);
//   ... statements ...
//   unit.Commit();
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace data::dbf {

/// The lock file's name inside the data folder (no table: not a .dbf).
inline constexpr const char* kWriteLockFile = ".arenix-write.lock";

class WriteUnit {
 public:
  /// Takes the lock, waiting up to `wait` for another holder, and rolls
  /// back a journal left by a writer that died. Raises 70 when the wait runs
  /// out, 75 when the lock file cannot be opened or the journal cannot be
  /// read (naming it: the meet is then not written).
  explicit WriteUnit(const std::string& folder,
                     std::chrono::milliseconds wait = std::chrono::milliseconds(30000));
  /// Without Commit: undoes the unit's writes (errors are swallowed: the
  /// journal then stays and the next writer undoes them).
  ~WriteUnit();
  WriteUnit(const WriteUnit&) = delete;
  WriteUnit& operator=(const WriteUnit&) = delete;

  /// Keeps the unit's writes (for a joined unit: leaves them to the outer
  /// one). Raises when they cannot be made durable (they are then undone) or
  /// when a joined unit failed before.
  void Commit();
  /// Undoes the unit's writes now (for a joined unit: the outer unit's).
  void RollBack();
  /// Runs `fn` once the outermost unit has made its writes durable (on the
  /// committing thread, after the lock is released); never when the writes
  /// are undone. What others are told of a save must not run ahead of it.
  void AfterCommit(std::function<void()> fn);

  bool joined() const { return joined_; }
  bool done() const { return done_; }

  struct State;

 private:
  State* state_ = nullptr;
  bool joined_ = false;
  bool done_ = false;
};

/// On opening a folder: when a journal lies there and no writer holds the
/// lock, rolls it back. Never waits and never raises (a journal that cannot
/// be read is refused by the next unit).
void RecoverOnOpen(const std::string& folder);

}  // namespace data::dbf
