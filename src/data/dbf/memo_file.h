// MemoFile: the .fpt file that holds a table's memo, general and blob
// values. A record holds the number of the block where a value starts.
//
// A changed value is always written to fresh blocks at the end of the file
// and the record then pointed at them, so that a failure half-way through a
// write never damages the value that was there before.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "data/dbf/stored_file.h"

namespace data::dbf {

class MemoFile {
 public:
  /// Opens an existing memo file; raises 53 when it is missing, 75 when its
  /// header is unreadable. `file_name` names it in messages.
  static std::unique_ptr<MemoFile> Open(const std::string& path, bool write,
                                        std::string file_name);
  static std::unique_ptr<MemoFile> FromBytes(std::string bytes, std::string file_name);
  /// Creates an empty memo file; nullptr with errno set on failure.
  static std::unique_ptr<MemoFile> Create(const std::string& path, uint16_t block_size,
                                          bool overwrite, std::string file_name);

  /// The bytes of the value starting at `block` (0: no value, empty).
  /// Raises 75 naming the file and `what` (the field and record) when the
  /// block or its length lies outside the file.
  std::string_view Read(uint32_t block, std::string_view what) const;
  /// Stores a value with its block type; returns its first block (0 for an
  /// empty value, which needs none).
  uint32_t Write(std::string_view value, uint32_t type);

  uint16_t block_size() const { return block_size_; }
  bool Sync() { return file_->Sync(); }
  struct stat Stat() const { return file_->Stat(); }
  const std::string& file_name() const { return file_name_; }

 private:
  MemoFile(std::unique_ptr<StoredFile> file, std::string file_name);
  void ReadHeader();

  std::unique_ptr<StoredFile> file_;
  std::string file_name_;
  uint16_t block_size_ = 64;
};

}  // namespace data::dbf
