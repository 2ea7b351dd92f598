#include "data/dbf/table.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>

#include "automation/clock.h"
#include "automation/error.h"
#include "data/dbf/byte_order.h"
#include "data/dbf/field_codec.h"
#include "data/dbf/file_lock.h"
#include "data/dbf/format.h"
#include "data/dbf/header.h"
#include "data/dbf/memo_file.h"
#include "data/dbf/stored_file.h"
#include "data/dbf/table_error.h"

namespace data::dbf {

namespace fmt = format;
namespace err = automation::err;

namespace {

std::string BaseName(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool EqualsNoCaseAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// The name of a table's companion file with the extension in the case of
// the table's own ("PLAY.DBF" -> "PLAY.FPT"), the folder kept.
std::string CompanionName(const std::string& path, std::string_view ext) {
  size_t slash = path.find_last_of('/');
  size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) dot = path.size();
  bool upper = dot + 1 < path.size() && path[dot + 1] >= 'A' && path[dot + 1] <= 'Z';
  std::string e(ext);
  if (upper)
    for (char& c : e) c = static_cast<char>(c - 'a' + 'A');
  return path.substr(0, dot) + "." + e;
}

// The companion file of a table (its .fpt memo or .cdx index): same folder,
// same stem, the extension compared without case as the original file
// system did. When none exists, the name it would have, in the table
// extension's case.
std::string Companion(const std::string& path, std::string_view ext, bool* exists) {
  size_t slash = path.find_last_of('/');
  std::string dir = slash == std::string::npos ? "." : path.substr(0, slash);
  std::string prefix = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  std::string name = BaseName(path);
  size_t dot = name.find_last_of('.');
  std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
  std::string want = stem + "." + std::string(ext);
  *exists = false;
  struct stat st;
  if (::stat((prefix + want).c_str(), &st) == 0) {
    *exists = true;
    return prefix + want;
  }
  if (DIR* d = ::opendir(dir.c_str())) {
    while (dirent* e = ::readdir(d)) {
      if (EqualsNoCaseAscii(e->d_name, want)) {
        std::string found = prefix + e->d_name;
        ::closedir(d);
        *exists = true;
        return found;
      }
    }
    ::closedir(d);
  }
  return CompanionName(path, ext);
}

// Writes made through this layer in this process, per file: they change the
// stamp even when the file system's clock did not move.
uint64_t LocalWrites(uint64_t device, uint64_t inode, bool bump) {
  static std::mutex mutex;
  static std::map<std::pair<uint64_t, uint64_t>, uint64_t> writes;
  std::lock_guard<std::mutex> hold(mutex);
  uint64_t& n = writes[{device, inode}];
  if (bump) ++n;
  return n;
}

int64_t Nanoseconds(const struct timespec& t) {
  return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

[[noreturn]] void ThrowOpenFailure(const std::string& file_name, int error) {
  if (error == ENOENT) ThrowTableError(err::kFileNotFound, file_name, "the table file does not exist");
  if (error == EACCES || error == EROFS || error == EPERM)
    ThrowTableError(err::kPermissionDenied, file_name, std::string("cannot open: ") + std::strerror(error));
  ThrowTableError(err::kPathFileAccess, file_name, std::string("cannot open: ") + std::strerror(error));
}

}  // namespace

class Table::Impl {
 public:
  std::string path;
  std::string file_name;
  Access access = Access::kRead;
  std::unique_ptr<StoredFile> dbf;
  std::unique_ptr<MemoFile> memo;
  Schema schema;
  bool cdx_file = false;
  bool index_kept = false;
  std::string cdx_path;
  std::string structure;  // header bytes 8..header_length at the last load
  std::vector<LockKind> locks;
  FileLockMode held = FileLockMode::kUnlocked;
  ChangeStamp stamp;

  FieldContext Context() { return {schema, memo.get(), file_name}; }

  void Load() {
    schema = ParseHeader(dbf->bytes(), file_name);
    CheckRecordsFit(schema, dbf->size(), file_name);
    structure.assign(dbf->bytes().substr(fmt::kHeaderLengthAt, schema.header_length - fmt::kHeaderLengthAt));
    UpdateStamp();
  }

  void Refresh() {
    if (!dbf->Sync()) ThrowTableError(err::kPathFileAccess, file_name, std::strerror(errno));
    if (memo && !memo->Sync()) ThrowTableError(err::kPathFileAccess, memo->file_name(), std::strerror(errno));
    std::string_view bytes = dbf->bytes();
    if (bytes.size() >= schema.header_length &&
        bytes.substr(fmt::kHeaderLengthAt, schema.header_length - fmt::kHeaderLengthAt) == structure &&
        bytes[fmt::kVersionAt] == static_cast<char>(schema.version)) {
      schema.record_count = LoadLe32(dbf->data() + fmt::kRecordCountAt);
      CheckRecordsFit(schema, dbf->size(), file_name);
      UpdateStamp();
      return;
    }
    // Another program changed the structure: read it again.
    bool had_memo = schema.HasMemoFields();
    Load();
    if (schema.HasMemoFields() && !had_memo) OpenMemo();
  }

  void OpenMemo() {
    bool exists = false;
    std::string memo_path = Companion(path, "fpt", &exists);
    memo = MemoFile::Open(memo_path, access == Access::kWrite, BaseName(memo_path));
  }

  void UpdateStamp() {
    struct stat st = dbf->Stat();
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    stamp.size = st.st_size;
    stamp.mtime_ns = Nanoseconds(st.st_mtim);
    stamp.ctime_ns = Nanoseconds(st.st_ctim);
    if (memo) {
      struct stat ms = memo->Stat();
      stamp.memo_size = ms.st_size;
      stamp.memo_mtime_ns = Nanoseconds(ms.st_mtim);
    }
    stamp.record_count = schema.record_count;
    stamp.local_writes = dbf->fd() >= 0 ? LocalWrites(stamp.device, stamp.inode, false) : 0;
  }

  void Wrote() {
    struct stat st = dbf->Stat();
    LocalWrites(st.st_dev, st.st_ino, true);
    UpdateStamp();
  }

  const uint8_t* Record(uint32_t row) const {
    if (row >= schema.record_count)
      ThrowTableError(err::kSubscript, file_name,
                      "record " + std::to_string(uint64_t{row} + 1) + " does not exist (the table has " +
                          std::to_string(schema.record_count) + ")");
    return dbf->data() + schema.header_length + uint64_t{row} * schema.record_length;
  }

  const Field& FieldAt(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= schema.fields.size())
      ThrowTableError(err::kSubscript, file_name, "no field number " + std::to_string(index));
    return schema.fields[static_cast<size_t>(index)];
  }

  void RequireWritable() const {
    if (access != Access::kWrite || !dbf->writable())
      ThrowTableError(err::kPermissionDenied, file_name, "the table is open for reading only");
    if ((schema.HasStructuralIndex() || cdx_file) && !index_kept)
      ThrowTableError(err::kPermissionDenied, file_name,
                      "the table has a structural index (.cdx), which would go stale; "
                      "writing to it is refused");
  }

  void Write(uint64_t offset, std::string_view bytes) {
    if (!dbf->WriteAt(offset, bytes))
      ThrowTableError(err::kPathFileAccess, file_name, "cannot write: " + WriteFailure(errno));
  }

  void TouchDate() {
    std::string date = UpdateDateBytes(automation::Now());
    if (dbf->bytes().substr(fmt::kUpdateYearAt, 3) != date) Write(fmt::kUpdateYearAt, date);
  }
};

// Holds the exclusive lock for one writing call unless the caller holds it.
class WriteScope {
 public:
  explicit WriteScope(Table& t, Table::Impl& impl) : table_(t) {
    impl.RequireWritable();
    table_.Lock(LockKind::kExclusive);
    impl.RequireWritable();  // the structure may have changed under the lock
  }
  ~WriteScope() { table_.Unlock(); }

 private:
  Table& table_;
};

Table::Table(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Table::~Table() {
  if (impl_ && impl_->dbf && impl_->held != FileLockMode::kUnlocked)
    SetFileLock(impl_->dbf->fd(), FileLockMode::kUnlocked);
}

std::unique_ptr<Table> Table::Open(const std::string& path, Access access) {
  return OpenFile(path, access, /*lock_header=*/true);
}

std::unique_ptr<Table> Table::OpenFile(const std::string& path, Access access, bool lock_header) {
  auto impl = std::make_unique<Impl>();
  impl->path = path;
  impl->file_name = BaseName(path);
  impl->access = access;
  impl->dbf = StoredFile::Open(path, access == Access::kWrite);
  if (!impl->dbf) ThrowOpenFailure(impl->file_name, errno);
  {
    // Read the header under a shared lock: a writer in another process
    // extends the file and then counts the record, and a header read between
    // the two would look corrupt.
    int fd = lock_header ? impl->dbf->fd() : -1;  // -1: no lock to take
    if (!SetFileLock(fd, FileLockMode::kShared))
      ThrowTableError(err::kPermissionDenied, impl->file_name,
                      "the table is locked by another user; try again later");
    struct Release {
      int fd;
      ~Release() { SetFileLock(fd, FileLockMode::kUnlocked); }
    } release{fd};
    if (!impl->dbf->Sync()) ThrowTableError(err::kPathFileAccess, impl->file_name, std::strerror(errno));
    impl->Load();
    if (impl->schema.HasMemoFields()) impl->OpenMemo();
  }
  impl->cdx_path = Companion(path, "cdx", &impl->cdx_file);
  impl->UpdateStamp();
  return std::unique_ptr<Table>(new Table(std::move(impl)));
}

std::unique_ptr<Table> Table::FromBytes(std::string name, std::string dbf, std::string fpt) {
  auto impl = std::make_unique<Impl>();
  impl->path = name;
  impl->file_name = BaseName(name);
  impl->dbf = StoredFile::InMemory(std::move(dbf));
  impl->Load();
  if (!fpt.empty()) impl->memo = MemoFile::FromBytes(std::move(fpt), BaseName(CompanionName(name, "fpt")));
  return std::unique_ptr<Table>(new Table(std::move(impl)));
}

std::unique_ptr<Table> Table::Create(const std::string& path, std::span<const FieldSpec> fields,
                                     const CreateOptions& options) {
  std::string file_name = BaseName(path);
  Schema schema = LayoutSchema(fields, options.code_page_mark, file_name);
  bool memo_exists = false;
  std::string memo_path = Companion(path, "fpt", &memo_exists);
  struct stat st;
  if (!options.overwrite) {
    if (::stat(path.c_str(), &st) == 0)
      ThrowTableError(err::kFileExists, file_name, "the table already exists");
    if (schema.HasMemoFields() && memo_exists)
      ThrowTableError(err::kFileExists, BaseName(memo_path), "the memo file already exists");
  }
  std::string header = BuildHeader(schema, automation::Now());
  header.push_back(static_cast<char>(fmt::kEndOfFile));
  // Replacing a table: wait until no statement is using it, and keep others
  // out until the new files are complete.
  struct Guard {
    int fd = -1;
    ~Guard() {
      if (fd >= 0) ::close(fd);  // releases the lock
    }
  } guard;
  if (options.overwrite) {
    guard.fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (guard.fd >= 0 && !SetFileLock(guard.fd, FileLockMode::kExclusive))
      ThrowTableError(err::kPermissionDenied, file_name,
                      "the table is locked by another user; try again later");
  }
  if (schema.HasMemoFields()) {
    if (!MemoFile::Create(memo_path, options.memo_block_size, options.overwrite, BaseName(memo_path)))
      ThrowOpenFailure(BaseName(memo_path), errno);
  } else if (options.overwrite && memo_exists) {
    ::unlink(memo_path.c_str());  // a stale memo file of the table replaced
  }
  if (!StoredFile::Create(path, header, options.overwrite)) {
    int e = errno;
    if (schema.HasMemoFields()) ::unlink(memo_path.c_str());
    ThrowOpenFailure(file_name, e);
  }
  // This process already keeps others out of a replaced table.
  return OpenFile(path, Access::kWrite, /*lock_header=*/!options.overwrite);
}

const std::string& Table::path() const { return impl_->path; }
const std::string& Table::file_name() const { return impl_->file_name; }
const Schema& Table::schema() const { return impl_->schema; }
const std::vector<Field>& Table::fields() const { return impl_->schema.fields; }
uint32_t Table::RecordCount() const { return impl_->schema.record_count; }
bool Table::writable() const { return impl_->access == Access::kWrite && impl_->dbf->writable(); }
bool Table::HasStructuralIndex() const {
  return impl_->schema.HasStructuralIndex() || impl_->cdx_file;
}

const std::string& Table::StructuralIndexPath() const { return impl_->cdx_path; }
void Table::set_index_kept(bool kept) { impl_->index_kept = kept; }

int Table::FieldIndex(TextView name) const {
  const auto& fields = impl_->schema.fields;
  for (size_t i = 0; i < fields.size(); ++i)
    if (automation::EqualsNoCase(fields[i].name, name)) return static_cast<int>(i);
  return -1;
}

bool Table::IsDeleted(uint32_t row) const {
  return impl_->Record(row)[0] == fmt::kRecordDeleted;
}

bool Table::IsNull(uint32_t row, int field) const {
  const Field& f = impl_->FieldAt(field);
  return FieldIsNull(f, impl_->Record(row), impl_->schema);
}

Variant Table::Value(uint32_t row, int field) const {
  const Field& f = impl_->FieldAt(field);
  return DecodeField(f, impl_->Record(row), row, impl_->Context());
}

void Table::ReadValue(uint32_t row, int field, Variant& out) const {
  const Field& f = impl_->FieldAt(field);
  DecodeFieldInto(f, impl_->Record(row), row, impl_->Context(), out);
}

void Table::ReadRecord(uint32_t row, std::vector<Variant>& values) const {
  const uint8_t* record = impl_->Record(row);
  const auto& fields = impl_->schema.fields;
  values.resize(fields.size());
  FieldContext context = impl_->Context();
  for (size_t i = 0; i < fields.size(); ++i) DecodeFieldInto(fields[i], record, row, context, values[i]);
}

std::string_view Table::RawField(uint32_t row, int field) const {
  const Field& f = impl_->FieldAt(field);
  return {reinterpret_cast<const char*>(impl_->Record(row)) + f.offset, static_cast<size_t>(f.width)};
}

uint32_t Table::Append(std::span<const Variant> values) {
  Impl& t = *impl_;
  WriteScope scope(*this, t);
  const auto& fields = t.schema.fields;
  if (values.size() > fields.size())
    ThrowTableError(err::kInvalidCall, t.file_name,
                    std::to_string(values.size()) + " values for " + std::to_string(fields.size()) + " fields");
  if (t.schema.record_count == UINT32_MAX)
    ThrowTableError(err::kPathFileAccess, t.file_name, "the table is full");
  std::string record(t.schema.record_length, ' ');
  if (t.schema.null_flags_offset >= 0)
    std::memset(record.data() + t.schema.null_flags_offset, 0, static_cast<size_t>(t.schema.null_flags_width));
  for (const Field& f : fields) BlankField(f, record.data(), t.schema);
  // Autoincrement numbers come from the descriptors, which are updated
  // before the record is counted.
  std::vector<std::pair<const Field*, uint32_t>> counters;
  FieldContext context = t.Context();
  for (size_t i = 0; i < fields.size(); ++i) {
    const Field& f = fields[i];
    if (f.autoincrement && (i >= values.size() || values[i].IsEmpty())) {
      uint32_t next = LoadLe32(t.dbf->data() + fmt::kHeaderSize + fmt::kDescriptorSize * f.descriptor +
                               fmt::kFieldAutoincNextAt);
      StoreLe32(record.data() + f.offset, next);
      counters.emplace_back(&f, next + (f.autoinc_step ? f.autoinc_step : 1));
      continue;
    }
    if (i < values.size()) EncodeField(f, values[i], record.data(), context);
  }
  uint32_t row = t.schema.record_count;
  uint64_t at = t.schema.header_length + uint64_t{row} * t.schema.record_length;
  record.push_back(static_cast<char>(fmt::kEndOfFile));
  t.Write(at, record);
  for (auto [f, next] : counters) {
    char bytes[4];
    StoreLe32(bytes, next);
    t.Write(fmt::kHeaderSize + fmt::kDescriptorSize * f->descriptor + fmt::kFieldAutoincNextAt,
            std::string_view(bytes, 4));
  }
  // Date and count in one write: bytes 1-3 and 4-7 of the header.
  char head[7];
  std::string date = UpdateDateBytes(automation::Now());
  std::memcpy(head, date.data(), 3);
  StoreLe32(head + 3, row + 1);
  t.Write(fmt::kUpdateYearAt, std::string_view(head, 7));
  t.schema.record_count = row + 1;
  if (!counters.empty())
    t.structure.assign(t.dbf->bytes().substr(fmt::kHeaderLengthAt, t.schema.header_length - fmt::kHeaderLengthAt));
  t.Wrote();
  return row;
}

void Table::Update(uint32_t row, std::span<const FieldValue> changes) {
  Impl& t = *impl_;
  WriteScope scope(*this, t);
  const uint8_t* stored = t.Record(row);
  std::string record(reinterpret_cast<const char*>(stored), t.schema.record_length);
  FieldContext context = t.Context();
  for (const FieldValue& change : changes)
    EncodeField(t.FieldAt(change.field), change.value, record.data(), context);
  t.Write(t.schema.header_length + uint64_t{row} * t.schema.record_length, record);
  t.TouchDate();
  t.Wrote();
}

void Table::SetDeleted(uint32_t row, bool deleted) {
  Impl& t = *impl_;
  WriteScope scope(*this, t);
  t.Record(row);
  char flag = static_cast<char>(deleted ? fmt::kRecordDeleted : fmt::kRecordActive);
  t.Write(t.schema.header_length + uint64_t{row} * t.schema.record_length, std::string_view(&flag, 1));
  t.TouchDate();
  t.Wrote();
}

void Table::Lock(LockKind kind) {
  Impl& t = *impl_;
  if (kind == LockKind::kExclusive && (t.access != Access::kWrite || !t.dbf->writable()))
    ThrowTableError(err::kPermissionDenied, t.file_name, "the table is open for reading only");
  FileLockMode want = kind == LockKind::kExclusive ? FileLockMode::kExclusive : FileLockMode::kShared;
  bool refresh = t.locks.empty() || want > t.held;
  if (want > t.held) {
    if (!SetFileLock(t.dbf->fd(), want))
      ThrowTableError(err::kPermissionDenied, t.file_name,
                      "the table is locked by another user; try again later");
    t.held = want;
  }
  t.locks.push_back(kind);
  if (!refresh) return;
  try {
    t.Refresh();
  } catch (...) {
    Unlock();  // a table that cannot be read again is not left locked
    throw;
  }
}

void Table::Unlock() {
  Impl& t = *impl_;
  if (t.locks.empty()) return;
  t.locks.pop_back();
  FileLockMode need = FileLockMode::kUnlocked;
  for (LockKind k : t.locks)
    need = std::max(need, k == LockKind::kExclusive ? FileLockMode::kExclusive : FileLockMode::kShared);
  if (need < t.held) {
    SetFileLock(t.dbf->fd(), need);
    t.held = need;
  }
}

void Table::Refresh() { impl_->Refresh(); }

void CountOutsideWrite(uint64_t device, uint64_t inode) { LocalWrites(device, inode, true); }

ChangeStamp Table::Stamp() const { return impl_->stamp; }

}  // namespace data::dbf
