// The meet-wide write lock: an advisory lock on one file in the meet's data
// folder, held by a writer that must change many rows as one unit (a
// result-entry save). Writers of the same meet, in this process or in
// others, take turns; readers and the writers of other meets (other data
// folders) never wait for it. Each statement still takes its own table
// locks as usual.
//
//   data::MeetWriteLock lock(conn);   // waits for the other save
//   ... the statements of the save ...
#pragma once

#include <chrono>
#include <string>

#include "automation/variant.h"

namespace data {

/// The lock file's name inside the data folder (no table: not a .dbf).
inline constexpr const char* kMeetWriteLockFile = ".arenix-write.lock";

class MeetWriteLock {
 public:
  /// Takes the lock of the folder that `conn` (a variant holding the
  /// engine's open connection) works on, waiting up to `wait` for another
  /// holder. A connection of another kind takes nothing. Raises 70 when the
  /// wait runs out, 75 when the lock file cannot be opened.
  explicit MeetWriteLock(const automation::Variant& conn,
                         std::chrono::milliseconds wait = std::chrono::milliseconds(30000));
  /// Takes the lock of a data folder (a native path).
  explicit MeetWriteLock(const std::string& folder,
                         std::chrono::milliseconds wait = std::chrono::milliseconds(30000));
  ~MeetWriteLock();
  MeetWriteLock(const MeetWriteLock&) = delete;
  MeetWriteLock& operator=(const MeetWriteLock&) = delete;

  bool held() const { return fd_ >= 0; }

 private:
  void Take(const std::string& folder, std::chrono::milliseconds wait);
  int fd_ = -1;
};

}  // namespace data
