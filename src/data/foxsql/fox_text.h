// Texts as the FoxPro functions see them: runs of code page 936 bytes.
// Lengths and positions count bytes, so a Chinese character counts two and
// the packed layouts of the meet tables (PADL to 8, SubStr from 42) line up
// with the bytes the rest of the meet system reads. The helpers work on the
// UTF-8 that SQLite hands over, without converting: each character only
// needs its width in code page 936 (a character it cannot represent is
// stored as "?", one byte). Cutting through a two-byte character leaves
// "?" for the half that remains, as the stored byte would read back.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace data::foxsql {

/// Hands SQLite a text result (copied), with its length: the functions read
/// their arguments with ValueText, so nothing needs it terminated.
inline void ResultUtf8(sqlite3_context* ctx, const std::string& s) {
  sqlite3_result_text(ctx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
}

/// A text value's UTF-8 bytes as SQLite holds them. Read as bytes, so that
/// SQLite does not first copy a text it was handed with a length to add a
/// terminator (a slice, a decoded field). REQUIRES: the value is a text.
inline std::string_view ValueText(sqlite3_value* v) {
  const void* p = sqlite3_value_blob(v);
  return {static_cast<const char*>(p), static_cast<size_t>(sqlite3_value_bytes(v))};
}

/// One character of UTF-8 text: its code point and its length in bytes.
/// A malformed byte reads as U+FFFD of length 1.
struct Utf8Char {
  char32_t code;
  int length;
};
Utf8Char DecodeUtf8(std::string_view s, size_t at);
void AppendUtf8(std::string& out, char32_t code);

/// Code page 936 bytes as UTF-8, read as automation::FromGbk reads them
/// (a byte sequence the code page does not define becomes "?").
std::string GbkToUtf8(std::string_view gbk);

/// 2 when code page 936 writes the character in two bytes, else 1.
int GbkWidth(char32_t code);

/// The length in code page 936 bytes.
int64_t GbkLength(std::string_view utf8);

/// `count` bytes from byte `start` (counted from 0); parts outside the text
/// are left out.
std::string GbkSubstr(std::string_view utf8, int64_t start, int64_t count);

/// Blanks are spaces only (U+0020), as the FoxPro trim functions take them.
std::string_view TrimRight(std::string_view s);
std::string_view TrimLeft(std::string_view s);
inline std::string_view TrimBoth(std::string_view s) { return TrimLeft(TrimRight(s)); }

/// Where `needle` starts in `hay`, searching from the character boundary at
/// UTF-8 offset `from`: a match begins on a character, never inside a
/// two-byte one. npos when absent or when `needle` is empty.
size_t FindAtCharacter(std::string_view hay, std::string_view needle, size_t from = 0);

/// The byte position (from 1) of the n-th occurrence (n from 1;
/// occurrences may overlap), or 0.
int64_t GbkAt(std::string_view hay, std::string_view needle, int64_t occurrence);
/// How many times `needle` occurs (overlapping occurrences count).
int64_t GbkOccurs(std::string_view hay, std::string_view needle);

/// Replaces occurrences from the `first`-th (from 1) on, at most `count`
/// of them (-1: all); occurrences do not overlap.
std::string GbkReplace(std::string_view s, std::string_view find, std::string_view with,
                       int64_t first = 1, int64_t count = -1);

enum class PadSide { kLeft, kRight, kBoth };
/// Pads to `width` bytes with the first character of `pad` (blank when
/// empty) on the given side; a longer text is cut on that side (PADL keeps
/// the rightmost `width` bytes, PADR the leftmost, PADC the middle).
std::string GbkPad(std::string_view s, int64_t width, std::string_view pad, PadSide side);

}  // namespace data::foxsql
