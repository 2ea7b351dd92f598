#include "data/write_lock.h"

#include <fcntl.h>
#include <unistd.h>

#include "automation/error.h"
#include "automation/object.h"
#include "data/connection.h"
#include "data/dbf/file_lock.h"

namespace data {

MeetWriteLock::MeetWriteLock(const automation::Variant& conn, std::chrono::milliseconds wait) {
  auto* engine = automation::ObjectTryCast<FreeTableConnection>(conn);
  if (engine && engine->IsOpen()) Take(engine->database().folder(), wait);
}

MeetWriteLock::MeetWriteLock(const std::string& folder, std::chrono::milliseconds wait) { Take(folder, wait); }

void MeetWriteLock::Take(const std::string& folder, std::chrono::milliseconds wait) {
  const std::string path = folder + "/" + kMeetWriteLockFile;
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0)
    throw automation::Error(automation::err::kPathFileAccess,
                            automation::FromUtf8("cannot open the meet's write lock " + path));
  if (!dbf::SetFileLock(fd, dbf::FileLockMode::kExclusive, wait)) {
    ::close(fd);
    throw automation::Error(automation::err::kPermissionDenied, u"另一位记录员正在保存本运动会的成绩，请稍后再试");
  }
  fd_ = fd;
}

MeetWriteLock::~MeetWriteLock() {
  if (fd_ >= 0) ::close(fd_);  // closing the description releases its lock
}

}  // namespace data
