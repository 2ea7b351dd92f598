// Code page 936 (GBK), the server's multibyte code page. Text files, host
// bytes, byte conversions, display widths, pinyin look-ups and MD5 messages
// take a character's code from here. The tables come from iconv's "CP936"
// (0x80 is the euro sign); a character it cannot represent becomes "?".
//
// Thread-safe: the tables are built once, on first use.
#pragma once

#include <cstdint>
#include <string>

#include "automation/text.h"

namespace automation {

/// The code of one 16-bit unit: 0x00-0x80 for one byte, lead*256+trail for
/// two bytes, or kNoGbkCode when code page 936 has no such character.
inline constexpr uint16_t kNoGbkCode = 0xFFFF;
uint16_t GbkCode(char16_t c);

/// True when GBK writes the character in two bytes.
inline bool IsGbkDoubleByte(char16_t c) {
  uint16_t code = GbkCode(c);
  return code != kNoGbkCode && code > 0xFF;
}

/// The character's code read as a signed 16-bit number: one byte b gives b,
/// two bytes give lead*256+trail-65536 (negative), unrepresentable gives 63.
int16_t GbkCodeValue(char16_t c);

/// Text -> GBK bytes; unrepresentable characters become "?".
std::string ToGbk(TextView text);

/// GBK bytes -> Text; a byte sequence GBK does not define becomes "?".
Text FromGbk(std::string_view bytes);
/// The same into `out`, replacing its contents and reusing its storage (for
/// callers that decode many texts in a row, such as table scans).
void FromGbk(std::string_view bytes, Text& out);

/// The character of a one- or two-byte code (as GbkCode gives it), or 0 when
/// the code is not defined.
char16_t GbkCharOf(uint16_t code);

}  // namespace automation
