#include "data/dbf/stored_file.h"

#include "data/dbf/undo_journal.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace data::dbf {
namespace {

// Room mapped beyond the end of the file, so that appended records become
// readable without a new map.
constexpr uint64_t kMapSlack = 1 << 20;

uint64_t PageRound(uint64_t n) {
  static const uint64_t page = static_cast<uint64_t>(::sysconf(_SC_PAGESIZE));
  return (n + page - 1) / page * page;
}

}  // namespace

std::unique_ptr<StoredFile> StoredFile::Open(const std::string& path, bool write) {
  int fd = ::open(path.c_str(), (write ? O_RDWR : O_RDONLY) | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    int e = S_ISDIR(st.st_mode) ? EISDIR : errno;
    ::close(fd);
    errno = e;
    return nullptr;
  }
  std::unique_ptr<StoredFile> f(new StoredFile);
  f->path_ = path;
  f->fd_ = fd;
  f->writable_ = write;
  if (!f->Map(static_cast<uint64_t>(st.st_size))) return nullptr;
  return f;
}

std::unique_ptr<StoredFile> StoredFile::Create(const std::string& path, std::string_view contents,
                                               bool overwrite) {
  int flags = O_RDWR | O_CREAT | O_CLOEXEC | (overwrite ? O_TRUNC : O_EXCL);
  NoteBeforeCreate(path);
  int fd = ::open(path.c_str(), flags, 0666);
  if (fd < 0) return nullptr;
  std::unique_ptr<StoredFile> f(new StoredFile);
  f->path_ = path;
  f->fd_ = fd;
  f->writable_ = true;
  if (!f->Map(0) || !f->WriteAt(0, contents)) {
    int e = errno;
    f.reset();
    ::unlink(path.c_str());
    errno = e;
    return nullptr;
  }
  return f;
}

std::unique_ptr<StoredFile> StoredFile::InMemory(std::string bytes) {
  std::unique_ptr<StoredFile> f(new StoredFile);
  f->memory_ = std::move(bytes);
  f->data_ = reinterpret_cast<const uint8_t*>(f->memory_.data());
  f->size_ = f->memory_.size();
  return f;
}

StoredFile::~StoredFile() {
  Unmap();
  if (fd_ >= 0) ::close(fd_);
}

bool StoredFile::Map(uint64_t size) {
  size_ = size;
  if (map_ && size <= map_length_) return true;
  Unmap();
  uint64_t length = PageRound(std::max<uint64_t>(size + size / 4, size + kMapSlack));
  void* p = ::mmap(nullptr, length, PROT_READ, MAP_SHARED, fd_, 0);
  if (p == MAP_FAILED) return false;
  map_ = p;
  map_length_ = length;
  data_ = static_cast<const uint8_t*>(p);
  return true;
}

void StoredFile::Unmap() {
  if (map_) ::munmap(map_, map_length_);
  map_ = nullptr;
  map_length_ = 0;
  data_ = nullptr;
}

bool StoredFile::Sync() {
  if (fd_ < 0) return true;
  struct stat st;
  if (::fstat(fd_, &st) != 0) return false;
  return Map(static_cast<uint64_t>(st.st_size));
}

bool StoredFile::WriteAt(uint64_t offset, std::string_view bytes) {
  if (fd_ < 0 || !writable_) {
    errno = EBADF;
    return false;
  }
  // Bytes the file already holds are not written again: a page that
  // unpacks a stage as it stands, or a save that rewrites unchanged
  // records, then journals, syncs and changes nothing for them (and holds
  // the meet's write lock that much shorter). Of a record that changes,
  // only the span from its first to its last changed byte is written and
  // journalled (a result save changes a few fields of long records).
  if (data_ != nullptr && offset < size_) {
    const uint64_t held = std::min<uint64_t>(bytes.size(), size_ - offset);
    const uint8_t* old = data_ + offset;
    size_t head = 0;
    while (head < held && old[head] == static_cast<uint8_t>(bytes[head])) ++head;
    if (head == bytes.size()) return true;
    size_t tail = bytes.size();
    if (held == bytes.size())
      while (tail > head && old[tail - 1] == static_cast<uint8_t>(bytes[tail - 1])) --tail;
    offset += head;
    bytes = bytes.substr(head, tail - head);
  }
  NoteBeforeWrite(path_, fd_, offset, bytes.size());
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done,
                         static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  uint64_t end = offset + bytes.size();
  if (end > size_) return Map(end);
  return true;
}

struct stat StoredFile::Stat() const {
  struct stat st;
  std::memset(&st, 0, sizeof st);
  if (fd_ >= 0) ::fstat(fd_, &st);
  if (fd_ < 0) st.st_size = static_cast<off_t>(size_);
  return st;
}

}  // namespace data::dbf
