// Advisory whole-file locks for statements: shared for readers, exclusive
// for a writer. They are open-file-description locks (F_OFD_SETLK), so two
// tables opened on the same file exclude each other even inside one process,
// and closing another descriptor of the file does not drop them.
#pragma once

#include <chrono>

namespace data::dbf {

enum class FileLockMode { kUnlocked, kShared, kExclusive };

/// How long a statement waits for another holder of the lock.
inline constexpr std::chrono::milliseconds kLockWait{30000};

/// Sets the lock of `fd` to `mode` (converting a held lock), waiting up to
/// `wait`. False when the wait ran out (or the system refused the lock).
bool SetFileLock(int fd, FileLockMode mode, std::chrono::milliseconds wait = kLockWait);

}  // namespace data::dbf
