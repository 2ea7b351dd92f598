#include "data/dbf/memo_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "automation/error.h"
#include "data/dbf/byte_order.h"
#include "data/dbf/format.h"
#include "data/dbf/table_error.h"

namespace data::dbf {

namespace fmt = format;

MemoFile::MemoFile(std::unique_ptr<StoredFile> file, std::string file_name)
    : file_(std::move(file)), file_name_(std::move(file_name)) {}

std::unique_ptr<MemoFile> MemoFile::Open(const std::string& path, bool write,
                                         std::string file_name) {
  auto file = StoredFile::Open(path, write);
  if (!file) {
    if (errno == ENOENT)
      ThrowTableError(automation::err::kFileNotFound, file_name, "the memo file is missing");
    ThrowTableError(automation::err::kPathFileAccess, file_name,
                    std::string("cannot open the memo file: ") + std::strerror(errno));
  }
  std::unique_ptr<MemoFile> memo(new MemoFile(std::move(file), std::move(file_name)));
  memo->ReadHeader();
  return memo;
}

std::unique_ptr<MemoFile> MemoFile::FromBytes(std::string bytes, std::string file_name) {
  std::unique_ptr<MemoFile> memo(
      new MemoFile(StoredFile::InMemory(std::move(bytes)), std::move(file_name)));
  memo->ReadHeader();
  return memo;
}

std::unique_ptr<MemoFile> MemoFile::Create(const std::string& path, uint16_t block_size,
                                           bool overwrite, std::string file_name) {
  if (block_size == 0) block_size = fmt::kDefaultMemoBlockSize;
  std::string header(fmt::kMemoHeaderSize, '\0');
  uint32_t first_free = static_cast<uint32_t>((fmt::kMemoHeaderSize + block_size - 1) / block_size);
  StoreBe32(header.data() + fmt::kMemoNextFreeAt, first_free);
  StoreBe16(header.data() + fmt::kMemoBlockSizeAt, block_size);
  // Blocks larger than the header start after a whole first block.
  header.resize(static_cast<size_t>(first_free) * block_size, '\0');
  auto file = StoredFile::Create(path, header, overwrite);
  if (!file) return nullptr;
  std::unique_ptr<MemoFile> memo(new MemoFile(std::move(file), std::move(file_name)));
  memo->block_size_ = block_size;
  return memo;
}

void MemoFile::ReadHeader() {
  if (file_->size() < fmt::kMemoBlockSizeAt + 2)
    ThrowCorrupt(file_name_, "not a memo file: it has " + std::to_string(file_->size()) + " bytes");
  block_size_ = LoadBe16(file_->data() + fmt::kMemoBlockSizeAt);
  // A block size of 0 is what some tools write for byte-sized blocks.
  if (block_size_ == 0) block_size_ = 1;
}

std::string_view MemoFile::Read(uint32_t block, std::string_view what) const {
  if (block == 0) return {};
  uint64_t at = uint64_t{block} * block_size_;
  uint64_t size = file_->size();
  if (at < fmt::kMemoHeaderSize || at + fmt::kMemoBlockHeaderSize > size)
    ThrowCorrupt(file_name_, "broken memo pointer in " + std::string(what) + ": block " +
                                 std::to_string(block) + " lies outside the memo file");
  uint32_t length = LoadBe32(file_->data() + at + 4);
  if (length > size - at - fmt::kMemoBlockHeaderSize)
    ThrowCorrupt(file_name_, "broken memo in " + std::string(what) + ": block " +
                                 std::to_string(block) + " claims " + std::to_string(length) +
                                 " bytes beyond the end of the memo file");
  return file_->bytes().substr(at + fmt::kMemoBlockHeaderSize, length);
}

uint32_t MemoFile::Write(std::string_view value, uint32_t type) {
  if (value.empty()) return 0;
  if (!file_->Sync())
    ThrowTableError(automation::err::kPathFileAccess, file_name_, std::strerror(errno));
  uint64_t bs = block_size_;
  uint64_t next_free = file_->size() >= 4 ? LoadBe32(file_->data() + fmt::kMemoNextFreeAt) : 0;
  // Never trust a next-free pointer that points into data already written.
  uint64_t by_size = (file_->size() + bs - 1) / bs;
  uint64_t min_block = (fmt::kMemoHeaderSize + bs - 1) / bs;
  uint64_t block = std::max({next_free, by_size, min_block});
  uint64_t total = fmt::kMemoBlockHeaderSize + value.size();
  uint64_t blocks = (total + bs - 1) / bs;
  if (block + blocks > UINT32_MAX)
    ThrowTableError(automation::err::kPathFileAccess, file_name_, "the memo file is full");
  std::string out(blocks * bs, '\0');
  StoreBe32(out.data(), type);
  StoreBe32(out.data() + 4, static_cast<uint32_t>(value.size()));
  std::memcpy(out.data() + fmt::kMemoBlockHeaderSize, value.data(), value.size());
  if (!file_->WriteAt(block * bs, out))
    ThrowTableError(automation::err::kPathFileAccess, file_name_,
                    "cannot write the memo file: " + WriteFailure(errno));
  char next[4];
  StoreBe32(next, static_cast<uint32_t>(block + blocks));
  if (!file_->WriteAt(fmt::kMemoNextFreeAt, std::string_view(next, 4)))
    ThrowTableError(automation::err::kPathFileAccess, file_name_,
                    "cannot write the memo file: " + WriteFailure(errno));
  return static_cast<uint32_t>(block);
}

}  // namespace data::dbf
