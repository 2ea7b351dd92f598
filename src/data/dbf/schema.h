// The structure of a free table: its fields as the descriptors give them
// and where each one lies in a record.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "automation/text.h"

namespace data::dbf {

using automation::Text;
using automation::TextView;

/// Field types by their descriptor letter.
enum class FieldType : char {
  kCharacter = 'C',  // text padded with blanks to the width
  kNumeric = 'N',    // digits as text, right-aligned
  kFloat = 'F',      // as N
  kLogical = 'L',    // 'T' / 'F' (also 'Y' / 'N'; blank or '?' reads false)
  kDate = 'D',       // "YYYYMMDD"
  kDateTime = 'T',   // Julian day and milliseconds, two uint32
  kInteger = 'I',    // int32
  kDouble = 'B',     // IEEE double (Visual FoxPro's B)
  kCurrency = 'Y',   // int64, value x 10,000
  kMemo = 'M',       // text in the memo file
  kGeneral = 'G',    // OLE object in the memo file, read as bytes
  kBlob = 'W',       // bytes in the memo file
  kPicture = 'P',    // bytes in the memo file
  kVarchar = 'V',    // text up to the width; the length in the last byte
  kVarbinary = 'Q',  // bytes up to the width; the length in the last byte
};

/// True for the letters above.
bool IsFieldType(char c);
/// M, G, W, P: the record holds a block number of the memo file.
bool IsMemoType(FieldType t);
/// The width a type always has (D, T, I, B, Y, L; M, G, W, P in Visual
/// FoxPro), or 0 when the width is chosen per field.
int FixedWidth(FieldType t);

/// A field as a new table declares it.
struct FieldSpec {
  Text name;  // at most 10 bytes in code page 936 (five Chinese characters)
  FieldType type = FieldType::kCharacter;
  int width = 0;     // 0: the type's fixed width
  int decimals = 0;  // N, F, B
  bool nullable = false;
  bool binary = false;         // C, M, V: stored without code page translation
  bool autoincrement = false;  // I only
};

/// A field of an open table: its declaration and its place in the record.
struct Field : FieldSpec {
  uint32_t offset = 0;  // bytes from the start of the record (the flag is byte 0)
  int null_bit = -1;    // bit in _NullFlags that marks Null; -1 when not nullable
  int varlen_bit = -1;  // V, Q: bit that says the length is in the last byte
  uint8_t flags = 0;    // descriptor byte 18 as stored
  uint32_t autoinc_next = 0;
  uint8_t autoinc_step = 0;
  int descriptor = 0;  // position of its descriptor (counts hidden fields too)
};

/// Everything the header says about a table.
struct Schema {
  uint8_t version = 0;
  uint8_t table_flags = 0;
  uint8_t code_page_mark = 0;
  uint32_t header_length = 0;  // where record 0 starts
  uint32_t record_length = 0;  // deletion flag included
  uint32_t record_count = 0;   // as the header says
  std::vector<Field> fields;   // visible fields, in order (no _NullFlags)
  int null_flags_offset = -1;  // _NullFlags: offset in the record, or -1
  int null_flags_width = 0;
  int descriptor_count = 0;    // descriptors in the header, hidden ones included

  bool HasMemoFields() const;
  bool HasStructuralIndex() const;
};

}  // namespace data::dbf
