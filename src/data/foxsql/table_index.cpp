#include "data/foxsql/table_index.h"

#include <algorithm>
#include <cstring>

#include "automation/text.h"
#include "data/foxsql/fox_text.h"

namespace data::foxsql {

using automation::Variant;
using dbf::FieldType;

std::string TextKey(std::string_view utf8, KeyKind kind) {
  return std::string(kind == KeyKind::kAllTrim ? TrimBoth(utf8) : TrimRight(utf8));
}

std::string NumberKey(double value) {
  if (value == 0) value = 0;  // -0 and 0 are one key
  std::string key(sizeof value, '\0');
  std::memcpy(key.data(), &value, sizeof value);
  return key;
}

bool CanIndex(const dbf::Field& field, KeyKind kind) {
  switch (field.type) {
    case FieldType::kCharacter:
    case FieldType::kVarchar: return kind != KeyKind::kNumber;
    case FieldType::kNumeric:
    case FieldType::kFloat:
    case FieldType::kDouble:
    case FieldType::kInteger:
    case FieldType::kCurrency:
    case FieldType::kLogical:
    case FieldType::kDate:
    case FieldType::kDateTime: return kind == KeyKind::kNumber;
    default: return false;
  }
}

bool IsPlainCharacter(const dbf::Table& table, int field) {
  const dbf::Field& f = table.fields()[static_cast<size_t>(field)];
  return f.type == FieldType::kCharacter && !f.binary;
}

namespace {

std::mutex registry_mutex;

bool NumberOf(const Variant& v, double* out) {
  if (v.Is<bool>()) *out = v.As<bool>() ? 1 : 0;
  else if (v.Is<int32_t>()) *out = v.As<int32_t>();
  else if (v.Is<double>()) *out = v.As<double>();
  else if (v.Is<automation::Date>()) *out = v.As<automation::Date>().serial;
  else if (v.Is<automation::Currency>()) *out = static_cast<double>(v.As<automation::Currency>().scaled) / 10000.0;
  else return false;
  return true;
}

void InsertSorted(std::vector<uint32_t>& rows, uint32_t row) {
  rows.insert(std::lower_bound(rows.begin(), rows.end(), row), row);
}

void EraseSorted(std::vector<uint32_t>& rows, uint32_t row) {
  auto it = std::lower_bound(rows.begin(), rows.end(), row);
  if (it != rows.end() && *it == row) rows.erase(it);
}

}  // namespace

// The indexes outlive the connections that built them (a page opens its
// own connection), up to this many tables, the least recently used going
// first.
constexpr size_t kKeptTables = 64;

std::shared_ptr<TableIndexes> TableIndexes::For(const dbf::ChangeStamp& file) {
  struct Kept {
    std::shared_ptr<TableIndexes> indexes;
    uint64_t used = 0;
  };
  static std::map<std::pair<uint64_t, uint64_t>, Kept> registry;
  static uint64_t clock = 0;
  std::lock_guard<std::mutex> hold(registry_mutex);
  Kept& kept = registry[{file.device, file.inode}];
  if (!kept.indexes) kept.indexes = std::make_shared<TableIndexes>();
  kept.used = ++clock;
  auto indexes = kept.indexes;
  if (registry.size() > kKeptTables) {
    auto oldest = std::min_element(registry.begin(), registry.end(), [](const auto& a, const auto& b) {
      return a.second.used < b.second.used;
    });
    registry.erase(oldest);
  }
  return indexes;
}

void TableIndexes::Sync(const dbf::Table& table) {
  if (stamp_ == table.Stamp()) return;
  indexes_.clear();
  stamp_ = table.Stamp();
}

bool TableIndexes::Key(const dbf::Table& table, uint32_t row, int column, KeyKind kind,
                       std::string* key) const {
  if (IsPlainCharacter(table, column)) {
    if (kind == KeyKind::kNumber || table.IsNull(row, column)) return false;
    std::string_view raw = table.RawField(row, column);
    // Blanks are single bytes that no two-byte character contains.
    *key = GbkToUtf8(kind == KeyKind::kAllTrim ? TrimBoth(raw) : TrimRight(raw));
    return true;
  }
  Variant v = table.Value(row, column);
  if (v.IsString()) {
    if (kind == KeyKind::kNumber) return false;
    *key = TextKey(automation::ToUtf8(v.text()), kind);
    return true;
  }
  double d;
  if (kind != KeyKind::kNumber || !NumberOf(v, &d)) return false;
  *key = NumberKey(d);
  return true;
}

TableIndexes::Index& TableIndexes::Get(const dbf::Table& table, int column, KeyKind kind) {
  auto [it, added] = indexes_.try_emplace({column, kind});
  if (added) {
    Index& index = it->second;
    std::string key;
    const uint32_t count = table.RecordCount();
    try {
      for (uint32_t row = 0; row < count; ++row)
        if (!table.IsDeleted(row) && Key(table, row, column, kind, &key)) index[key].push_back(row);
    } catch (...) {
      indexes_.erase(it);
      throw;
    }
  }
  return it->second;
}

std::vector<uint32_t> TableIndexes::Find(const dbf::Table& table,
                                         std::span<const KeyLookup> lookups) {
  std::lock_guard<std::mutex> hold(mutex_);
  Sync(table);
  std::vector<const std::vector<uint32_t>*> buckets;
  for (const KeyLookup& l : lookups) {
    Index& index = Get(table, l.column, l.kind);
    auto it = index.find(l.key);
    if (it == index.end()) return {};
    buckets.push_back(&it->second);
  }
  if (buckets.empty()) return {};
  std::sort(buckets.begin(), buckets.end(),
            [](const auto* a, const auto* b) { return a->size() < b->size(); });
  std::vector<uint32_t> rows;
  for (uint32_t row : *buckets[0]) {
    bool in_all = true;
    for (size_t i = 1; i < buckets.size() && in_all; ++i)
      in_all = std::binary_search(buckets[i]->begin(), buckets[i]->end(), row);
    if (in_all) rows.push_back(row);
  }
  return rows;
}

TableIndexes::RecordWrite::RecordWrite(TableIndexes& indexes, const dbf::Table& table, int64_t row,
                                       std::span<const int> fields)
    : indexes_(indexes), fields_(fields.begin(), fields.end()) {
  std::lock_guard<std::mutex> hold(indexes_.mutex_);
  current_ = indexes_.stamp_ == table.Stamp();
  if (!current_ || row < 0) return;
  std::string key;
  for (auto& [id, index] : indexes_.indexes_) {
    if (std::find(fields_.begin(), fields_.end(), id.first) == fields_.end()) continue;
    if (!indexes_.Key(table, static_cast<uint32_t>(row), id.first, id.second, &key)) continue;
    auto it = index.find(key);
    if (it != index.end()) EraseSorted(it->second, static_cast<uint32_t>(row));
  }
}

void TableIndexes::RecordWrite::Done(const dbf::Table& table, uint32_t row, bool deleted) {
  done_ = true;
  std::lock_guard<std::mutex> hold(indexes_.mutex_);
  if (!current_) {
    indexes_.indexes_.clear();
    indexes_.stamp_ = {};
    return;
  }
  std::string key;
  if (!deleted) {
    for (auto& [id, index] : indexes_.indexes_) {
      if (std::find(fields_.begin(), fields_.end(), id.first) == fields_.end()) continue;
      if (indexes_.Key(table, row, id.first, id.second, &key)) InsertSorted(index[key], row);
    }
  }
  indexes_.stamp_ = table.Stamp();
}

TableIndexes::RecordWrite::~RecordWrite() {
  if (done_) return;
  std::lock_guard<std::mutex> hold(indexes_.mutex_);
  indexes_.indexes_.clear();
  indexes_.stamp_ = {};
}

}  // namespace data::foxsql
