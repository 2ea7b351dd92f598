#include "automation/cp936.h"

#include "automation/ascii_run.h"

#include <iconv.h>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include <cstring>
#include <memory>
#include <stdexcept>

namespace automation {
namespace {

struct Tables {
  uint16_t encode[65536];  // char -> code, kNoGbkCode when none
  char16_t decode[65536];  // code (one byte or lead*256+trail) -> char, 0 when none

  Tables() {
    for (auto& e : encode) e = kNoGbkCode;
    for (auto& d : decode) d = 0;
    iconv_t to = iconv_open("CP936", "UTF-16LE");
    iconv_t from = iconv_open("UTF-16LE", "CP936");
    if (to == (iconv_t)-1 || from == (iconv_t)-1)
      throw std::runtime_error("iconv has no CP936 conversion");
    for (uint32_t c = 0; c < 0x10000; ++c) {
      if (c >= 0xD800 && c <= 0xDFFF) continue;
      char in[2] = {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
      char out[8];
      char* pin = in;
      char* pout = out;
      size_t nin = 2, nout = sizeof out;
      iconv(to, nullptr, nullptr, nullptr, nullptr);
      if (iconv(to, &pin, &nin, &pout, &nout) == static_cast<size_t>(-1)) continue;
      size_t n = sizeof out - nout;
      if (n == 1)
        encode[c] = static_cast<unsigned char>(out[0]);
      else if (n == 2)
        encode[c] = static_cast<uint16_t>(static_cast<unsigned char>(out[0]) << 8 |
                                          static_cast<unsigned char>(out[1]));
    }
    auto decode_one = [&](const char* bytes, size_t len) -> char16_t {
      char out[8];
      char* pin = const_cast<char*>(bytes);
      char* pout = out;
      size_t nin = len, nout = sizeof out;
      iconv(from, nullptr, nullptr, nullptr, nullptr);
      if (iconv(from, &pin, &nin, &pout, &nout) == static_cast<size_t>(-1)) return 0;
      if (sizeof out - nout != 2) return 0;
      return static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                                   static_cast<unsigned char>(out[1]) << 8);
    };
    for (uint32_t b = 0; b < 0x81; ++b) {
      char in[1] = {static_cast<char>(b)};
      decode[b] = b == 0 ? 0 : decode_one(in, 1);
    }
    for (uint32_t lead = 0x81; lead <= 0xFE; ++lead)
      for (uint32_t trail = 0x40; trail <= 0xFE; ++trail) {
        if (trail == 0x7F) continue;
        char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        decode[lead << 8 | trail] = decode_one(in, 2);
      }
    iconv_close(to);
    iconv_close(from);
  }
};

const Tables& GetTables() {
  static const std::unique_ptr<Tables> tables = std::make_unique<Tables>();
  return *tables;
}

}  // namespace

uint16_t GbkCode(char16_t c) {
  if (c < 0x80) return c;
  return GetTables().encode[c];
}

int16_t GbkCodeValue(char16_t c) {
  uint16_t code = GbkCode(c);
  if (code == kNoGbkCode) return 63;
  if (code <= 0xFF) return static_cast<int16_t>(code);
  return static_cast<int16_t>(static_cast<int32_t>(code) - 65536);
}

char16_t GbkCharOf(uint16_t code) {
  if (code < 0x80) return code;
  return GetTables().decode[code];
}

std::string ToGbk(TextView text) {
  // At most two bytes a unit; the tables are looked up only past ASCII.
  const Tables* t = nullptr;
  return ascii::NarrowEach(text, 2, [&t](const char16_t*& p, const char16_t*, char*& d) {
    if (!t) t = &GetTables();
    const uint16_t code = t->encode[*p++];
    if (code == kNoGbkCode) {
      *d++ = '?';
    } else if (code <= 0xFF) {
      *d++ = static_cast<char>(code);
    } else {
      *d++ = static_cast<char>(code >> 8);
      *d++ = static_cast<char>(code & 0xFF);
    }
  });
}

Text FromGbk(std::string_view bytes) {
  Text out;
  FromGbk(bytes, out);
  return out;
}

void FromGbk(std::string_view bytes, Text& out) {
  out.resize(bytes.size());  // never more characters than bytes
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t size = bytes.size();
  char16_t* d = out.data();
  size_t i = 0, n = 0;
  while (i < size) {
    // A run of ASCII (most of a padded field) is widened in blocks; a run
    // that reaches the end finishes with one block that overlaps the part
    // already done (within an ASCII run bytes and characters line up).
    const size_t run = i;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= size; i += 16, n += 16) {
      __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
      if (_mm_movemask_epi8(chunk)) break;
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d + n), _mm_unpacklo_epi8(chunk, zero));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d + n + 8), _mm_unpackhi_epi8(chunk, zero));
    }
    if (i + 16 > size && size >= 16 && size - 16 >= run) {
      size_t from = size - 16;
      __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + from));
      if (!_mm_movemask_epi8(chunk)) {
        char16_t* at = d + n - (i - from);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at), _mm_unpacklo_epi8(chunk, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at + 8), _mm_unpackhi_epi8(chunk, zero));
        n += size - i;
        break;
      }
    }
#endif
    for (; i + 8 <= size; i += 8, n += 8) {
      uint64_t chunk;
      std::memcpy(&chunk, s + i, 8);
      if (chunk & 0x8080808080808080ull) break;
      for (int k = 0; k < 8; ++k) d[n + k] = static_cast<char16_t>((chunk >> (8 * k)) & 0xFF);
    }
    if (i + 8 > size && size >= 8 && size - 8 >= run) {
      uint64_t chunk;
      std::memcpy(&chunk, s + size - 8, 8);
      if (!(chunk & 0x8080808080808080ull)) {
        char16_t* at = d + n - (i - (size - 8));
        for (int k = 0; k < 8; ++k) at[k] = static_cast<char16_t>((chunk >> (8 * k)) & 0xFF);
        n += size - i;
        break;
      }
    }
    while (i < size && s[i] < 0x80) d[n++] = s[i++];
    // A run of two-byte characters.
    if (i < size) {
      const Tables& t = GetTables();
      while (i < size && s[i] >= 0x80) {
        unsigned char b = s[i];
        if (b >= 0x81 && b <= 0xFE && i + 1 < size) {
          char16_t c = t.decode[b << 8 | s[i + 1]];
          if (c) {
            d[n++] = c;
            i += 2;
            continue;
          }
        }
        char16_t c = t.decode[b];
        d[n++] = c ? c : u'?';
        ++i;
      }
    }
  }
  out.resize(n);
}

}  // namespace automation
