// ASCII runs for the text converters: most of what a page writes and a
// table stores (markup, padded fields, numbers) is ASCII, which every
// encoding here keeps byte for unit. The converters copy such a run in
// blocks and fall back to one character at a time only where it ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace automation::ascii {

/// Length of the ASCII run at the start of bytes [p, end).
inline size_t RunOfBytes(const char* p, const char* end) {
  const char* start = p;
  while (end - p >= 8) {
    uint64_t w;
    std::memcpy(&w, p, 8);
    if (w & 0x8080808080808080ull) break;
    p += 8;
  }
  while (p < end && static_cast<unsigned char>(*p) < 0x80) ++p;
  return static_cast<size_t>(p - start);
}

/// Length of the ASCII run at the start of units [p, end).
inline size_t RunOfUnits(const char16_t* p, const char16_t* end) {
  const char16_t* start = p;
  while (end - p >= 4) {
    uint64_t w;
    std::memcpy(&w, p, 8);
    if (w & 0xFF80FF80FF80FF80ull) break;
    p += 4;
  }
  while (p < end && *p < 0x80) ++p;
  return static_cast<size_t>(p - start);
}

/// Widens n ASCII bytes into units.
inline void Widen(const char* from, size_t n, char16_t* to) {
  for (size_t i = 0; i < n; ++i) to[i] = static_cast<unsigned char>(from[i]);
}

/// Narrows n ASCII units into bytes.
inline void Narrow(const char16_t* from, size_t n, char* to) {
  for (size_t i = 0; i < n; ++i) to[i] = static_cast<char>(from[i]);
}

/// Encodes units into at most `max_bytes_per_unit` bytes each: ASCII runs are
/// copied in blocks, and `encode(p, end, d)` writes the character at `p`,
/// advancing `p` past the units it reads and `d` past the bytes it writes.
template <class Encode>
std::string NarrowEach(std::u16string_view text, size_t max_bytes_per_unit, Encode encode) {
  std::string out(text.size() * max_bytes_per_unit, '\0');
  char* d = out.data();
  const char16_t* p = text.data();
  const char16_t* const e = p + text.size();
  while (p < e) {
    const size_t run = RunOfUnits(p, e);
    Narrow(p, run, d);
    p += run;
    d += run;
    if (p != e) encode(p, e, d);
  }
  out.resize(static_cast<size_t>(d - out.data()));
  return out;
}

}  // namespace automation::ascii
