// The text order and equality of the dialect, as SQLite collations:
//   fox          trailing blanks ignored, case-sensitive, code page 936 byte
//                order (for first-level Chinese characters: pinyin order);
//   fox_alltrim  the same after leading blanks are removed as well.
// Equality never holds for a mere prefix: "1" and "10" differ. Two
// characters that code page 936 cannot tell apart (both unrepresentable)
// are ordered by their code points, so equal means equal text.
#pragma once

#include <sqlite3.h>

#include <string_view>

namespace data::foxsql {

inline constexpr const char* kFoxCollation = "fox";
inline constexpr const char* kAllTrimCollation = "fox_alltrim";

/// <0, 0, >0 as `a` sorts before, with or after `b` (UTF-8 texts).
int FoxCompare(std::string_view a, std::string_view b);
int AllTrimCompare(std::string_view a, std::string_view b);

void RegisterCollations(sqlite3* db);

}  // namespace data::foxsql
