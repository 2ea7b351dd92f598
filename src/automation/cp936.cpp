#include "automation/cp936.h"

#include <iconv.h>

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
  std::string out;
  out.reserve(text.size() * 2);
  const Tables* t = nullptr;
  for (char16_t c : text) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    if (!t) t = &GetTables();
    uint16_t code = t->encode[c];
    if (code == kNoGbkCode)
      out.push_back('?');
    else if (code <= 0xFF)
      out.push_back(static_cast<char>(code));
    else {
      out.push_back(static_cast<char>(code >> 8));
      out.push_back(static_cast<char>(code & 0xFF));
    }
  }
  return out;
}

Text FromGbk(std::string_view bytes) {
  Text out;
  out.reserve(bytes.size());
  const Tables* t = nullptr;
  for (size_t i = 0; i < bytes.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out.push_back(b);
      continue;
    }
    if (!t) t = &GetTables();
    if (b >= 0x81 && b <= 0xFE && i + 1 < bytes.size()) {
      unsigned char trail = static_cast<unsigned char>(bytes[i + 1]);
      char16_t c = t->decode[b << 8 | trail];
      if (c) {
        out.push_back(c);
        ++i;
        continue;
      }
    }
    char16_t c = t->decode[b];
    out.push_back(c ? c : u'?');
  }
  return out;
}

}  // namespace automation
