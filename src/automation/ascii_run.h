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

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace automation::ascii {

/// Length of the ASCII run at the start of bytes [p, end).
inline size_t RunOfBytes(const char* p, const char* end) {
  const char* start = p;
#ifdef __SSE2__
  while (end - p >= 16) {
    if (_mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)))) break;
    p += 16;
  }
#endif
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
#ifdef __SSE2__
  const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80));
  while (end - p >= 8) {
    const __m128i outside = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), high);
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(outside, _mm_setzero_si128())) != 0xFFFF) break;
    p += 8;
  }
#endif
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

/// Widens the ASCII run at the start of bytes [p, end) into `to`, which has
/// room for as many units as there are bytes; returns its length. One pass:
/// a run that fills a block of 8 goes on in blocks of 16, then of 8, and
/// ends byte by byte; a short run (a word between Chinese ones) never
/// pays for the wide blocks.
inline size_t WidenRun(const char* p, const char* end, char16_t* to) {
  const char* const start = p;
  auto block8 = [&] {
    uint64_t w;
    std::memcpy(&w, p, 8);
    if (w & 0x8080808080808080ull) return false;
    for (int k = 0; k < 8; ++k) to[k] = static_cast<char16_t>((w >> (8 * k)) & 0xFF);
    p += 8;
    to += 8;
    return true;
  };
  if (end - p >= 8 && block8()) {
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    while (end - p >= 16) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      if (_mm_movemask_epi8(block)) break;
      _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_unpacklo_epi8(block, zero));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 8), _mm_unpackhi_epi8(block, zero));
      p += 16;
      to += 16;
    }
#endif
    while (end - p >= 8 && block8()) {
    }
  }
  while (p < end && static_cast<unsigned char>(*p) < 0x80) *to++ = static_cast<unsigned char>(*p++);
  return static_cast<size_t>(p - start);
}

/// Narrows the ASCII run at the start of units [p, end) into `to`, which
/// has room for as many bytes as there are units; returns its length. As
/// WidenRun: blocks of 4, of 16 once a block of 4 is filled, then units.
inline size_t NarrowRun(const char16_t* p, const char16_t* end, char* to) {
  const char16_t* const start = p;
  auto block4 = [&] {
    uint64_t w;
    std::memcpy(&w, p, 8);
    if (w & 0xFF80FF80FF80FF80ull) return false;
    for (int k = 0; k < 4; ++k) to[k] = static_cast<char>((w >> (16 * k)) & 0xFF);
    p += 4;
    to += 4;
    return true;
  };
  if (end - p >= 4 && block4()) {
#ifdef __SSE2__
    const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80));
    while (end - p >= 16) {
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8));
      const __m128i outside = _mm_and_si128(_mm_or_si128(a, b), high);
      if (_mm_movemask_epi8(_mm_cmpeq_epi16(outside, _mm_setzero_si128())) != 0xFFFF) break;
      _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_packus_epi16(a, b));
      p += 16;
      to += 16;
    }
#endif
    while (end - p >= 4 && block4()) {
    }
  }
  while (p < end && *p < 0x80) *to++ = static_cast<char>(*p++);
  return static_cast<size_t>(p - start);
}

/// Encodes `text` into `out`, which has room for it: ASCII runs are copied
/// in blocks, and `encode(p, end, d)` writes the character at `p`, advancing
/// `p` past the units it reads and `d` past the bytes it writes. Returns
/// the bytes written.
template <class Encode>
size_t EncodeEach(std::u16string_view text, char* const out, Encode& encode) {
  char* d = out;
  const char16_t* p = text.data();
  const char16_t* const e = p + text.size();
  while (p < e) {
    const size_t run = NarrowRun(p, e, d);
    p += run;
    d += run;
    if (p != e) encode(p, e, d);
  }
  return static_cast<size_t>(d - out);
}

/// EncodeEach into a text of at most `max_bytes_per_unit` bytes a unit. A
/// short text is encoded on the stack and copied once at its length; a long
/// one in place.
template <class Encode>
std::string NarrowEach(std::u16string_view text, size_t max_bytes_per_unit, Encode encode) {
  constexpr size_t kOnStack = 512;
  const size_t most = text.size() * max_bytes_per_unit;
  if (most <= kOnStack) {
    char buffer[kOnStack];
    return std::string(buffer, EncodeEach(text, buffer, encode));
  }
  std::string out(most, '\0');
  out.resize(EncodeEach(text, out.data(), encode));
  return out;
}

}  // namespace automation::ascii
