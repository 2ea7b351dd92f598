// Reading and writing the table header and its field descriptors.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "automation/variant.h"
#include "data/dbf/schema.h"

namespace data::dbf {

/// Reads the header at the start of `file` (the whole file, or at least its
/// header) and checks it: a known version, descriptors that lie inside the
/// header and inside the record, known types with sound widths, null bits
/// that fit _NullFlags. Raises 75 naming `file_name` otherwise.
Schema ParseHeader(std::string_view file, std::string_view file_name);

/// Raises 75 unless the header's records fit in a file of `file_size` bytes.
void CheckRecordsFit(const Schema& schema, uint64_t file_size, std::string_view file_name);

/// Lays out a new table's fields (offsets, null bits, _NullFlags) and picks
/// its version. Raises 5 naming `file_name` for an invalid field list.
Schema LayoutSchema(std::span<const FieldSpec> fields, uint8_t code_page_mark,
                    std::string_view file_name);

/// The header bytes of a schema with no records, through the backlink area.
std::string BuildHeader(const Schema& schema, automation::Date last_update);

/// The three bytes of the header's last-update date (YY MM DD).
std::string UpdateDateBytes(automation::Date day);

/// The field name as code page 936 bytes (what the descriptor holds).
std::string FieldNameBytes(TextView name);

}  // namespace data::dbf
