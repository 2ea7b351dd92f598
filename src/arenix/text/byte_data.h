// Byte data and its conversions to text. Byte data arrives as a variant
// holding a byte array, or as a byte string: a text whose 16-bit units each
// carry two bytes, low byte first (so any text can be read as byte data).
#pragma once

#include "automation/variant.h"

namespace arenix::text {

using automation::Bytes;
using automation::Text;
using automation::Variant;

/// The bytes of byte data: a byte array as it is, a text's 16-bit units low
/// byte first, an array of numbers element by element (each must fit a
/// byte, else overflow 6), Empty as no bytes. Null raises 94, anything else
/// type mismatch (13).
Bytes ByteDataOf(const Variant& v);

/// The bytes' decimal numbers, `delimiter` between them.
/// Example: JoinBytes(Bytes{1, 2, 255}, u",") == u"1,2,255".
Text JoinBytes(const Variant& bytes, automation::TextView delimiter);

/// The bytes' decimal numbers run together: {65, 66} gives "6566".
Text BinaryToString(const Variant& bytes);

/// The bytes decoded from code page 936 (a text is first taken as its
/// storage bytes); empty data gives the empty text.
Text RsBinaryToString(const Variant& bytes);

/// A byte array of the storage bytes of a text or of byte data; the empty
/// text (not an empty array) when there are none.
Variant MultiByteToBinary(const Variant& data);

}  // namespace arenix::text
