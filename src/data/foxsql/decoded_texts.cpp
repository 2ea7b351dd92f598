#include "data/foxsql/decoded_texts.h"

#include <algorithm>
#include <map>

#include "data/foxsql/fox_text.h"
#include "data/foxsql/settled_stamp.h"
#include "data/foxsql/table_index.h"
#include "data/limits.h"

namespace data::foxsql {

std::shared_ptr<DecodedTexts> DecodedTexts::Snapshot(const dbf::Table& table) {
  struct Kept {
    std::shared_ptr<DecodedTexts> texts;
    uint64_t used = 0;
  };
  static std::mutex mutex;
  static std::map<std::pair<uint64_t, uint64_t>, Kept> kept;
  static uint64_t clock = 0;
  const dbf::ChangeStamp& stamp = table.Stamp();
  // A file changed within the last moments may change again within the
  // same tick of the file system's clock, unseen by the stamp: its texts
  // are not kept until its times are safely in the past.
  if (!Settled(stamp, FileClockNow())) return nullptr;
  std::lock_guard<std::mutex> hold(mutex);
  Kept& k = kept[{stamp.device, stamp.inode}];
  if (!k.texts || !(k.texts->stamp() == stamp)) k.texts = std::make_shared<DecodedTexts>(stamp);
  k.used = ++clock;
  auto texts = k.texts;
  if (kept.size() > limits::kDecodedTables) {
    auto oldest = std::min_element(kept.begin(), kept.end(),
                                   [](const auto& a, const auto& b) { return a.second.used < b.second.used; });
    kept.erase(oldest);
  }
  return texts;
}

const std::vector<std::string>* DecodedTexts::Column(const dbf::Table& table, int column) {
  std::lock_guard<std::mutex> hold(mutex_);
  if (too_large_ || column < 0 || !IsPlainCharacter(table, column)) return nullptr;
  if (columns_.size() <= static_cast<size_t>(column)) columns_.resize(static_cast<size_t>(column) + 1);
  auto& slot = columns_[static_cast<size_t>(column)];
  if (slot) return slot.get();
  const uint32_t count = table.RecordCount();
  const size_t width = table.fields()[static_cast<size_t>(column)].width;
  if (bytes_ + size_t{count} * (width + sizeof(std::string)) > limits::kDecodedBytesPerTable) {
    too_large_ = true;
    return nullptr;
  }
  auto decoded = std::make_unique<std::vector<std::string>>(count);
  for (uint32_t row = 0; row < count; ++row)
    if (!table.IsNull(row, column)) (*decoded)[row] = GbkToUtf8(table.RawField(row, column));
  for (const std::string& s : *decoded) bytes_ += s.capacity() + sizeof(std::string);
  slot = std::move(decoded);
  return slot.get();
}

}  // namespace data::foxsql
