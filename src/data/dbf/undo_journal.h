// The undo journal of a meet folder. While a unit of writes runs (under the
// meet write lock, see write_unit.h), every byte range of a table, memo or
// index file is recorded as it was before its first change in the unit,
// with each file's size at the unit's start, in `.arenix-journal` beside
// the tables. An entry reaches the journal file before the table write it
// protects, so a writer killed at any moment leaves what its undoing needs.
// The journal is synced (with its folder) before the first table write;
// at commit the written files are synced and the journal removed. With
// ARENIX_JOURNAL_SYNC=full in the environment it is synced before every
// table write that follows new entries (safe against a loss of power
// between two writes, at the cost of a disk flush per changed record). At
// commit the journal is removed: the removal is the commit point. A journal found by the next holder of the
// meet write lock was left by a writer that died: its pre-images are
// written back and the sizes restored, so that everyone sees the meet as it
// was before the interrupted unit.
//
// Format (integers little-endian):
//   header  "ARXUNDO" NUL | version u32 (1) | zero u32
//   entry   body length u32 | body | CRC-32 of length and body, u32
//   body    kind u8 | name length u16 | file name | value u64 | bytes
//     kind 1 (size)   the file had `value` bytes when the unit began
//     kind 2 (bytes)  the pre-image `bytes` of the range at offset `value`
//     kind 3 (absent) the file did not exist (rollback removes it)
// A torn last entry (the writer died while journalling it) is ignored: the
// table write it protects had not begun. A file that is not such a journal,
// of another version, or with a bad entry before the last one, is refused
// with an error naming it, and nothing is changed.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace data::dbf {

/// The journal's name inside the data folder.
inline constexpr const char* kJournalFile = ".arenix-journal";
inline constexpr uint32_t kJournalVersion = 1;

/// One entry read back from a journal.
struct JournalEntry {
  enum Kind : uint8_t { kSize = 1, kBytes = 2, kAbsent = 3 } kind = kSize;
  std::string file;   // name inside the folder
  uint64_t value = 0;  // size or offset
  std::string bytes;   // pre-image (kBytes)
};

/// Reads a journal's bytes. Throws automation::Error (75) naming
/// `journal_name` when they are not a journal of this version or an entry
/// before the last is damaged; a torn or damaged last entry is dropped. A
/// header cut short (the writer died while creating the file) reads as no
/// entries.
std::vector<JournalEntry> ParseJournal(std::string_view bytes, std::string_view journal_name);

/// Rolls back the journal of `folder` when there is one (the caller holds
/// the meet write lock): restores the pre-images and sizes, syncs, removes
/// the journal. True when there was one to roll back. Throws naming the
/// journal when it cannot be read (nothing is changed) or when the files
/// cannot be restored (the journal stays for the next try).
bool RollBackJournal(const std::string& folder);

/// The journal of a running unit, written as the unit's writes go.
class UndoJournal {
 public:
  explicit UndoJournal(std::string folder);
  ~UndoJournal();
  UndoJournal(const UndoJournal&) = delete;
  UndoJournal& operator=(const UndoJournal&) = delete;

  const std::string& folder() const { return folder_; }
  /// True when `path` (a native path) names a file of this folder.
  bool Covers(const std::string& path);

  /// Called before bytes [offset, offset + length) of the file at `path`
  /// change; `fd` is open on it for reading (or -1). Records what was not
  /// yet recorded and makes it durable before returning.
  void BeforeWrite(const std::string& path, int fd, uint64_t offset, uint64_t length);
  /// Called before the file at `path` is created or replaced whole.
  void BeforeCreate(const std::string& path);

  /// Syncs the files written and removes the journal.
  void Commit();
  /// Undoes the unit's writes and removes the journal; throws when the
  /// files cannot be restored (the journal then stays for the next writer).
  void RollBack();

  bool empty() const { return fd_ < 0; }

 private:
  struct FileState {
    bool absent = false;
    uint64_t size = 0;                     // at the unit's start
    std::map<uint64_t, uint64_t> covered;  // recorded ranges: start -> end
  };
  FileState& Track(const std::string& name, const std::string& path, int fd);
  void Append(uint8_t kind, const std::string& name, uint64_t value, std::string_view bytes);
  void Open();
  void Sync();
  void Close();

  std::string folder_;
  std::string path_;
  std::vector<std::string> same_folder_;  // other spellings of the folder seen
  std::map<std::string, FileState> files_;
  int fd_ = -1;
  uint64_t dev_ = 0, ino_ = 0;
  bool dirty_ = false;
  bool first_sync_ = true;
  uint64_t written_ = 0;
};

/// The journal of the unit the calling thread runs on `path`'s folder, or
/// nullptr (see write_unit.h).
UndoJournal* ActiveJournalFor(const std::string& path);

/// Test hook: called before every write of a table, memo or index file
/// (after journalling) with the count of such writes in the process.
using WriteHook = void (*)(uint64_t count);
void SetWriteHook(WriteHook hook);
/// Test switch: units run without a journal (for comparing the files).
void SetJournalEnabled(bool enabled);
bool JournalEnabled();

/// Called by the file layer before it changes a file.
void NoteBeforeWrite(const std::string& path, int fd, uint64_t offset, uint64_t length);
void NoteBeforeCreate(const std::string& path);

}  // namespace data::dbf
