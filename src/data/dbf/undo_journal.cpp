#include "data/dbf/undo_journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "automation/error.h"
#include "data/dbf/byte_order.h"
#include "data/dbf/file_lock.h"
#include "data/dbf/table.h"
#include "data/dbf/table_error.h"

namespace data::dbf {
namespace {

namespace err = automation::err;

constexpr char kMagic[8] = {'A', 'R', 'X', 'U', 'N', 'D', 'O', '\0'};
constexpr size_t kHeaderSize = 16;
constexpr size_t kBodyFixed = 1 + 2 + 8;  // kind, name length, value

std::atomic<WriteHook> g_hook{nullptr};
std::atomic<uint64_t> g_writes{0};
std::atomic<bool> g_enabled{true};

bool SyncEveryEntry() {
  static const bool full = [] {
    const char* v = std::getenv("ARENIX_JOURNAL_SYNC");
    return v && std::string_view(v) == "full";
  }();
  return full;
}

uint32_t Crc32(std::string_view bytes) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  uint32_t c = 0xFFFFFFFFu;
  for (unsigned char b : bytes) c = table[(c ^ b) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

std::string Header() {
  std::string h(kMagic, sizeof kMagic);
  char v[8] = {};
  StoreLe32(v, kJournalVersion);
  h.append(v, 8);
  return h;
}

std::string BaseName(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string DirName(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool SafeName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

bool EndsWithDbf(std::string_view name) {
  if (name.size() < 4) return false;
  std::string ext(name.substr(name.size() - 4));
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".dbf";
}

[[noreturn]] void ThrowIo(const std::string& file, const std::string& what, int error) {
  ThrowTableError(err::kPathFileAccess, file, what + ": " + WriteFailure(error));
}

bool WriteAll(int fd, uint64_t offset, std::string_view bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

bool ReadAll(int fd, uint64_t offset, char* out, size_t length) {
  size_t done = 0;
  while (done < length) {
    ssize_t n = ::pread(fd, out + done, length - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

void SyncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Marks [a, b) as recorded, merging neighbours.
void Cover(std::map<uint64_t, uint64_t>& m, uint64_t a, uint64_t b) {
  auto it = m.lower_bound(a);
  if (it != m.begin()) {
    auto p = std::prev(it);
    if (p->second >= a) {
      a = p->first;
      b = std::max(b, p->second);
      it = m.erase(p);
    }
  }
  while (it != m.end() && it->first <= b) {
    b = std::max(b, it->second);
    it = m.erase(it);
  }
  m[a] = b;
}

}  // namespace

// ---- reading ----

std::vector<JournalEntry> ParseJournal(std::string_view bytes, std::string_view journal_name) {
  const std::string name(journal_name);
  const std::string header = Header();
  auto refuse = [&](const std::string& why) -> void {
    ThrowCorrupt(name, why + "; the meet is not opened for writing until the file is examined and removed");
  };
  if (bytes.size() < kHeaderSize) {
    if (header.compare(0, bytes.size(), bytes) == 0) return {};  // cut short while being made
    refuse("not a journal of this system");
  }
  if (bytes.substr(0, sizeof kMagic) != std::string_view(kMagic, sizeof kMagic))
    refuse("not a journal of this system");
  const uint32_t version = LoadLe32(reinterpret_cast<const uint8_t*>(bytes.data()) + 8);
  if (version != kJournalVersion) refuse("a journal of unknown version " + std::to_string(version));
  std::vector<JournalEntry> out;
  const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
  uint64_t pos = kHeaderSize;
  const uint64_t size = bytes.size();
  while (pos < size) {
    if (size - pos < 8) break;  // torn last entry
    const uint64_t length = LoadLe32(p + pos);
    if (length > size - pos - 8) break;  // torn last entry
    const uint64_t end = pos + 8 + length;
    const bool last = end == size;
    const bool sound = Crc32(bytes.substr(pos, 4 + length)) == LoadLe32(p + pos + 4 + length);
    JournalEntry e;
    bool valid = sound && length >= kBodyFixed;
    if (valid) {
      const uint8_t* body = p + pos + 4;
      e.kind = static_cast<JournalEntry::Kind>(body[0]);
      const uint64_t name_length = LoadLe16(body + 1);
      valid = (e.kind == JournalEntry::kSize || e.kind == JournalEntry::kBytes || e.kind == JournalEntry::kAbsent) &&
              name_length <= length - kBodyFixed;
      if (valid) {
        e.file.assign(reinterpret_cast<const char*>(body + 3), name_length);
        e.value = LoadLe64(body + 3 + name_length);
        e.bytes.assign(reinterpret_cast<const char*>(body + kBodyFixed + name_length),
                       length - kBodyFixed - name_length);
        valid = SafeName(e.file);
      }
    }
    if (!valid) {
      if (last) break;  // torn last entry
      refuse("damaged entry at byte " + std::to_string(pos));
    }
    out.push_back(std::move(e));
    pos = end;
  }
  return out;
}

bool RollBackJournal(const std::string& folder) {
  const std::string path = folder + "/" + kJournalFile;
  int jfd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (jfd < 0) {
    if (errno == ENOENT) return false;
    ThrowIo(kJournalFile, "cannot read the journal", errno);
  }
  std::string bytes;
  {
    char buf[65536];
    ssize_t n;
    while ((n = ::read(jfd, buf, sizeof buf)) > 0) bytes.append(buf, static_cast<size_t>(n));
    int e = errno;
    ::close(jfd);
    if (n < 0) ThrowIo(kJournalFile, "cannot read the journal", e);
  }
  const std::vector<JournalEntry> entries = ParseJournal(bytes, kJournalFile);

  struct Restore {
    bool absent = false, sized = false;
    uint64_t size = 0;
    std::vector<const JournalEntry*> ranges;
  };
  std::map<std::string, Restore> files;
  for (const JournalEntry& e : entries) {
    Restore& r = files[e.file];
    if (e.kind == JournalEntry::kAbsent) r.absent = true;
    if (e.kind == JournalEntry::kSize) {
      r.sized = true;
      r.size = e.value;
    }
    if (e.kind == JournalEntry::kBytes) r.ranges.push_back(&e);
  }

  // Readers take the tables' shared locks: none of them reads a half-restored table.
  struct Fds {
    std::vector<int> fds;
    ~Fds() {
      for (int fd : fds) ::close(fd);  // closing releases the locks
    }
  } held;
  for (auto& [name, r] : files) {
    if (!EndsWithDbf(name)) continue;
    int fd = ::open((folder + "/" + name).c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) continue;
    held.fds.push_back(fd);
    if (!SetFileLock(fd, FileLockMode::kExclusive))
      ThrowTableError(err::kPermissionDenied, name,
                      "the table is locked by another user; the interrupted save is undone later");
  }
  for (auto& [name, r] : files) {
    const std::string file = folder + "/" + name;
    if (r.absent) {
      if (::unlink(file.c_str()) != 0 && errno != ENOENT) ThrowIo(name, "cannot remove", errno);
      continue;
    }
    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) ThrowIo(name, "cannot restore", errno);
    bool ok = true;
    for (const JournalEntry* e : r.ranges) ok = ok && WriteAll(fd, e->value, e->bytes);
    if (ok && r.sized) ok = ::ftruncate(fd, static_cast<off_t>(r.size)) == 0;
    if (ok) ok = ::fdatasync(fd) == 0;
    int e = errno;
    struct stat st;
    if (::fstat(fd, &st) == 0) CountOutsideWrite(st.st_dev, st.st_ino);
    ::close(fd);
    if (!ok) ThrowIo(name, "cannot restore", e);
  }
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) ThrowIo(kJournalFile, "cannot remove the journal", errno);
  SyncFolder(folder);
  return true;
}

// ---- writing ----

UndoJournal::UndoJournal(std::string folder) : folder_(std::move(folder)), path_(folder_ + "/" + kJournalFile) {
  struct stat st;
  if (::stat(folder_.c_str(), &st) == 0) {
    dev_ = st.st_dev;
    ino_ = st.st_ino;
  }
}

UndoJournal::~UndoJournal() { Close(); }

bool UndoJournal::Covers(const std::string& path) {
  const std::string dir = DirName(path);
  if (dir == folder_) return true;
  if (std::find(same_folder_.begin(), same_folder_.end(), dir) != same_folder_.end()) return true;
  struct stat st;
  if (::stat(dir.c_str(), &st) != 0 || st.st_dev != dev_ || st.st_ino != ino_) return false;
  same_folder_.push_back(dir);
  return true;
}

void UndoJournal::Open() {
  fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd_ < 0) ThrowIo(kJournalFile, "cannot make the journal", errno);
  written_ = 0;
  const std::string h = Header();
  if (!WriteAll(fd_, 0, h)) {
    int e = errno;
    Close();
    ::unlink(path_.c_str());
    ThrowIo(kJournalFile, "cannot write the journal", e);
  }
  written_ = h.size();
  dirty_ = true;
  first_sync_ = true;
}

void UndoJournal::Append(uint8_t kind, const std::string& name, uint64_t value, std::string_view bytes) {
  if (fd_ < 0) Open();
  std::string entry(8 + kBodyFixed + name.size() + bytes.size(), '\0');
  char* p = entry.data();
  const uint32_t length = static_cast<uint32_t>(kBodyFixed + name.size() + bytes.size());
  StoreLe32(p, length);
  p[4] = static_cast<char>(kind);
  StoreLe16(p + 5, static_cast<uint16_t>(name.size()));
  if (!name.empty()) std::memcpy(p + 7, name.data(), name.size());
  StoreLe64(p + 7 + name.size(), value);
  if (!bytes.empty()) std::memcpy(p + 4 + kBodyFixed + name.size(), bytes.data(), bytes.size());  // a size entry has none
  StoreLe32(p + 4 + length, Crc32(std::string_view(entry.data(), 4 + length)));
  if (!WriteAll(fd_, written_, entry)) ThrowIo(kJournalFile, "cannot write the journal", errno);
  written_ += entry.size();
  dirty_ = true;
}

void UndoJournal::Sync() {
  if (!dirty_) return;
  if (::fdatasync(fd_) != 0) ThrowIo(kJournalFile, "cannot sync the journal", errno);
  if (first_sync_) SyncFolder(folder_);  // the journal's name must survive too
  first_sync_ = false;
  dirty_ = false;
}

UndoJournal::FileState& UndoJournal::Track(const std::string& name, const std::string& path, int fd) {
  auto it = files_.find(name);
  if (it != files_.end()) return it->second;
  FileState f;
  struct stat st;
  int r = fd >= 0 ? ::fstat(fd, &st) : ::stat(path.c_str(), &st);
  if (r != 0) {
    if (errno != ENOENT) ThrowIo(name, "cannot read", errno);
    f.absent = true;
    Append(JournalEntry::kAbsent, name, 0, {});
  } else {
    f.size = static_cast<uint64_t>(st.st_size);
    Append(JournalEntry::kSize, name, f.size, {});
  }
  return files_.emplace(name, std::move(f)).first->second;
}

void UndoJournal::BeforeWrite(const std::string& path, int fd, uint64_t offset, uint64_t length) {
  const std::string name = BaseName(path);
  FileState& f = Track(name, path, fd);
  const uint64_t end = std::min(offset + length, f.size);
  if (!f.absent && offset < end) {
    std::vector<std::pair<uint64_t, uint64_t>> gaps;
    uint64_t pos = offset;
    auto it = f.covered.upper_bound(pos);
    if (it != f.covered.begin() && std::prev(it)->second > pos) pos = std::prev(it)->second;
    while (pos < end) {
      if (it != f.covered.end() && it->first <= pos) {
        pos = std::max(pos, it->second);
        ++it;
        continue;
      }
      const uint64_t stop = it == f.covered.end() ? end : std::min(end, it->first);
      gaps.emplace_back(pos, stop);
      pos = stop;
    }
    if (!gaps.empty()) {
      int rfd = fd >= 0 ? fd : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
      if (rfd < 0) ThrowIo(name, "cannot read", errno);
      std::string buf;
      for (auto [a, b] : gaps) {
        buf.resize(b - a);
        if (!ReadAll(rfd, a, buf.data(), buf.size())) {
          int e = errno;
          if (rfd != fd) ::close(rfd);
          ThrowIo(name, "cannot read", e ? e : EIO);
        }
        Append(JournalEntry::kBytes, name, a, buf);
        Cover(f.covered, a, b);
      }
      if (rfd != fd) ::close(rfd);
    }
  }
  // Entries after the first sync reach the journal file before the table
  // write they protect, which is all a writer's death needs; against a loss
  // of power they are synced at commit before the tables, or before every
  // table write when the server runs with ARENIX_JOURNAL_SYNC=full.
  if (first_sync_ || SyncEveryEntry()) Sync();
}

void UndoJournal::BeforeCreate(const std::string& path) {
  const std::string name = BaseName(path);
  FileState& f = Track(name, path, -1);
  // A file replaced whole: all of it is kept first.
  if (!f.absent && f.size > 0) BeforeWrite(path, -1, 0, f.size);
  Sync();
}

void UndoJournal::Commit() {
  if (fd_ < 0) return;
  // Entries written since the first sync are already in the file for any
  // death of the server; syncing them now would only matter for a power
  // cut during the table syncs below, which the journal does not promise
  // without ARENIX_JOURNAL_SYNC=full (and then they are synced already).
  // One flush a save fewer.
  if (SyncEveryEntry()) Sync();
  for (auto& [name, f] : files_) {
    int fd = ::open((folder_ + "/" + name).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;  // removed by the unit itself
    bool ok = ::fdatasync(fd) == 0;
    int e = errno;
    ::close(fd);
    if (!ok) ThrowIo(name, "cannot sync", e);
  }
  Close();
  // The removal need not be synced: a journal that comes back after a loss
  // of power undoes a unit whose files are whole, which is still whole.
  if (::unlink(path_.c_str()) != 0) ThrowIo(kJournalFile, "cannot remove the journal", errno);
  files_.clear();
}

void UndoJournal::RollBack() {
  if (fd_ < 0) return;
  Close();
  files_.clear();
  RollBackJournal(folder_);
}

void UndoJournal::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

// ---- hooks ----

void SetWriteHook(WriteHook hook) { g_hook = hook; }
void SetJournalEnabled(bool enabled) { g_enabled = enabled; }
bool JournalEnabled() { return g_enabled; }

void NoteBeforeWrite(const std::string& path, int fd, uint64_t offset, uint64_t length) {
  if (g_enabled)
    if (UndoJournal* j = ActiveJournalFor(path)) j->BeforeWrite(path, fd, offset, length);
  if (WriteHook hook = g_hook.load()) hook(++g_writes);
}

void NoteBeforeCreate(const std::string& path) {
  if (g_enabled)
    if (UndoJournal* j = ActiveJournalFor(path)) j->BeforeCreate(path);
  if (WriteHook hook = g_hook.load()) hook(++g_writes);
}

}  // namespace data::dbf
