// StoredFile: the bytes of one table or memo file, memory-mapped for
// reading and written with positioned writes, so that a full scan costs no
// copying and the engine can read single fields of many records cheaply.
// The map is made larger than the file so that appends rarely remap; only
// bytes below size() are ever touched. An in-memory form serves tests and
// the fuzzer.
//
// This is the layer's one entry to the operating system's file calls, and
// tells the undo journal of a running unit before it changes a file.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace data::dbf {

class StoredFile {
 public:
  /// Opens an existing file; nullptr with errno set when it cannot be opened.
  static std::unique_ptr<StoredFile> Open(const std::string& path, bool write);
  /// Creates a file with the given contents (exclusive unless `overwrite`);
  /// nullptr with errno set on failure.
  static std::unique_ptr<StoredFile> Create(const std::string& path, std::string_view contents,
                                            bool overwrite);
  /// Read-only bytes in memory.
  static std::unique_ptr<StoredFile> InMemory(std::string bytes);

  ~StoredFile();
  StoredFile(const StoredFile&) = delete;
  StoredFile& operator=(const StoredFile&) = delete;

  const uint8_t* data() const { return data_; }
  uint64_t size() const { return size_; }
  std::string_view bytes() const {
    return {reinterpret_cast<const char*>(data_), static_cast<size_t>(size_)};
  }
  /// -1 for an in-memory file.
  int fd() const { return fd_; }
  bool writable() const { return writable_; }

  /// Takes the file's current size from the system and remaps when it grew
  /// beyond the map. False when the system call fails.
  bool Sync();
  /// Writes all of `bytes` at `offset` (one positioned write); the size
  /// grows when the write ends beyond it. False with errno set on failure.
  bool WriteAt(uint64_t offset, std::string_view bytes);
  /// The file's status (zeros for an in-memory file).
  struct stat Stat() const;

 private:
  StoredFile() = default;
  bool Map(uint64_t size);
  void Unmap();

  std::string path_;
  int fd_ = -1;
  bool writable_ = false;
  const uint8_t* data_ = nullptr;
  uint64_t size_ = 0;
  void* map_ = nullptr;
  uint64_t map_length_ = 0;
  std::string memory_;
};

}  // namespace data::dbf
