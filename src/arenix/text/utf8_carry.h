// UTF-8 bytes carried through GBK text. A page that reads a UTF-8 request
// with code page 936 holds the UTF-8 bytes as a text whose GBK encoding gives
// them back; these conversions go from such a text to proper text and back.
//
// Two modes: the standard one (the UTF-8 codec of the text layer, and code
// page 936 pairing bytes into characters where they form one), and the
// component's own byte-by-byte codec, kept for callers that ask for it.
#pragma once

#include "automation/text.h"

namespace arenix::text {

using automation::Text;
using automation::TextView;

/// Encodes `s` in code page 936 and decodes the bytes as UTF-8.
/// Standard mode: invalid sequences become U+FFFD. Own mode: one to three
/// bytes per character by the lead byte (0xC2-0xDF two, 0xE0 and above
/// three), a stray byte 0x80-0xC1 by itself in code page 936; a sequence cut
/// off by the end is dropped.
Text CodeUtf8ToUnicode(TextView s, bool standard);

/// The UTF-8 bytes of `s` as GBK-carried text. Standard mode: adjacent
/// bytes pair up into GBK characters, bytes that form none become "?". Own
/// mode: every byte becomes one character by itself (ASCII, 0x80 the euro
/// sign, others "?"); surrogate halves are encoded one by one. With `html`,
/// every CR LF of the result becomes "<br/>".
Text CodeUnicodeToUtf8(TextView s, bool standard, bool html);

}  // namespace arenix::text
