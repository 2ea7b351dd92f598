// The values of single fields: decoding a field's bytes in a record to an
// automation variant and encoding a variant into them (see table.h for the
// value of each type).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "automation/variant.h"
#include "data/dbf/memo_file.h"
#include "data/dbf/schema.h"

namespace data::dbf {

/// Where a field's value is decoded or encoded: the table's structure and
/// memo file, and names for messages.
struct FieldContext {
  const Schema& schema;
  MemoFile* memo;  // null when the table has no memo file
  std::string_view file_name;
};

/// True when the record's _NullFlags marks the field Null.
bool FieldIsNull(const Field& field, const uint8_t* record, const Schema& schema);

/// The field's value in `record` (the whole record, deletion flag first).
automation::Variant DecodeField(const Field& field, const uint8_t* record, uint32_t row,
                                const FieldContext& context);

/// The same into `out`, reusing the storage of a text it already holds
/// (scans decode record after record into the same variants).
void DecodeFieldInto(const Field& field, const uint8_t* record, uint32_t row,
                     const FieldContext& context, automation::Variant& out);

/// Writes the field's blank value into `record` and clears its null bit.
void BlankField(const Field& field, char* record, const Schema& schema);

/// Writes `value` into the field of `record`: Empty blanks it, Null sets
/// the null bit (94 when the field takes no Null). Memo values go to the
/// memo file first. Raises 6, 13 or 94 with the field named.
void EncodeField(const Field& field, const automation::Variant& value, char* record,
                 const FieldContext& context);

/// `gbk` cut to at most `width` bytes without splitting a two-byte character.
std::string_view CutGbk(std::string_view gbk, size_t width);

}  // namespace data::dbf
