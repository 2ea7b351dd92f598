#include "data/foxsql/collation.h"

#include "automation/cp936.h"
#include "data/foxsql/fox_text.h"

namespace data::foxsql {
namespace {

uint32_t GbkKey(char32_t c) {
  if (c < 0x80) return c;
  if (c > 0xFFFF) return '?';
  uint16_t code = automation::GbkCode(static_cast<char16_t>(c));
  return code == automation::kNoGbkCode ? '?' : code;
}

int CollateFox(void*, int na, const void* a, int nb, const void* b) {
  return FoxCompare({static_cast<const char*>(a), static_cast<size_t>(na)},
                    {static_cast<const char*>(b), static_cast<size_t>(nb)});
}

int CollateAllTrim(void*, int na, const void* a, int nb, const void* b) {
  return AllTrimCompare({static_cast<const char*>(a), static_cast<size_t>(na)},
                        {static_cast<const char*>(b), static_cast<size_t>(nb)});
}

}  // namespace

int FoxCompare(std::string_view a, std::string_view b) {
  a = TrimRight(a);
  b = TrimRight(b);
  size_t i = 0, j = 0;
  int tie = 0;  // first difference between characters with the same code
  while (i < a.size() && j < b.size()) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[j]);
    if (x < 0x80 && y < 0x80) {
      if (x != y) return x < y ? -1 : 1;
      ++i;
      ++j;
      continue;
    }
    Utf8Char ca = DecodeUtf8(a, i), cb = DecodeUtf8(b, j);
    if (ca.code != cb.code) {
      uint32_t ka = GbkKey(ca.code), kb = GbkKey(cb.code);
      if (ka != kb) return ka < kb ? -1 : 1;
      if (tie == 0) tie = ca.code < cb.code ? -1 : 1;
    }
    i += ca.length;
    j += cb.length;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return tie;
}

int AllTrimCompare(std::string_view a, std::string_view b) {
  return FoxCompare(TrimLeft(a), TrimLeft(b));
}

void RegisterCollations(sqlite3* db) {
  sqlite3_create_collation_v2(db, kFoxCollation, SQLITE_UTF8, nullptr, CollateFox, nullptr);
  sqlite3_create_collation_v2(db, kAllTrimCollation, SQLITE_UTF8, nullptr, CollateAllTrim,
                              nullptr);
}

}  // namespace data::foxsql
