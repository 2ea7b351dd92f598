#include "data/dbf/header.h"

#include <set>
#include <string>

#include "automation/cp936.h"
#include "automation/datetime.h"
#include "automation/error.h"
#include "data/dbf/byte_order.h"
#include "data/dbf/format.h"
#include "data/dbf/table_error.h"

namespace data::dbf {
namespace {

namespace fmt = format;

std::string Hex(unsigned v) {
  static const char digits[] = "0123456789ABCDEF";
  return std::string("0x") + digits[(v >> 4) & 15] + digits[v & 15];
}

std::string Utf8Name(TextView name) { return automation::ToUtf8(name); }

// Descriptor widths that a type must have for its bytes to be read safely.
bool WidthFits(FieldType type, int width, bool vfp) {
  switch (type) {
    case FieldType::kCharacter:
    case FieldType::kVarchar:
    case FieldType::kVarbinary:
    case FieldType::kNumeric:
    case FieldType::kFloat:
      return width >= 1;
    case FieldType::kMemo:
    case FieldType::kGeneral:
    case FieldType::kPicture:
    case FieldType::kBlob:
      return width == fmt::kMemoWidthVfp || (!vfp && width == fmt::kMemoWidthText);
    case FieldType::kLogical:
      return width == 1;
    default:
      return width == FixedWidth(type);
  }
}

// Visual FoxPro hands out the _NullFlags bits in field order: a V or Q field
// first gets its length bit, then a nullable field its null bit.
int AssignBits(std::vector<Field>& fields) {
  int next = 0;
  for (Field& f : fields) {
    f.varlen_bit = -1;
    f.null_bit = -1;
    if (f.type == FieldType::kVarchar || f.type == FieldType::kVarbinary) f.varlen_bit = next++;
    if (f.nullable) f.null_bit = next++;
  }
  return next;
}

}  // namespace

std::string FieldNameBytes(TextView name) { return automation::ToGbk(name); }

Schema ParseHeader(std::string_view file, std::string_view file_name) {
  const auto* p = reinterpret_cast<const uint8_t*>(file.data());
  if (file.size() < fmt::kHeaderSize)
    ThrowCorrupt(file_name, "not a table: the file has " + std::to_string(file.size()) +
                                " bytes, fewer than a table header");
  Schema s;
  s.version = p[fmt::kVersionAt];
  if (!fmt::IsKnownVersion(s.version))
    ThrowCorrupt(file_name, "not a table: unknown version byte " + Hex(s.version));
  bool vfp = fmt::IsVfpVersion(s.version);
  s.record_count = LoadLe32(p + fmt::kRecordCountAt);
  s.header_length = LoadLe16(p + fmt::kHeaderLengthAt);
  s.record_length = LoadLe16(p + fmt::kRecordLengthAt);
  s.table_flags = p[fmt::kTableFlagsAt];
  s.code_page_mark = p[fmt::kCodePageMarkAt];
  if (s.header_length < fmt::kHeaderSize + 1 || s.header_length > file.size())
    ThrowCorrupt(file_name, "bad header: header length " + std::to_string(s.header_length) +
                                " outside the file of " + std::to_string(file.size()) + " bytes");
  if (s.record_length < 1)
    ThrowCorrupt(file_name, "bad header: record length 0");

  std::vector<Field> all;
  size_t at = fmt::kHeaderSize;
  uint32_t running = 1;  // after the deletion flag
  for (;;) {
    if (at >= s.header_length)
      ThrowCorrupt(file_name, "bad header: the field descriptors have no terminator");
    if (p[at] == fmt::kHeaderTerminator) break;
    if (at + fmt::kDescriptorSize > s.header_length)
      ThrowCorrupt(file_name, "bad header: a field descriptor crosses the end of the header");
    const uint8_t* d = p + at;
    if (all.size() >= fmt::kMaxFields)
      ThrowCorrupt(file_name, "bad header: more than 255 field descriptors");
    Field f;
    f.descriptor = s.descriptor_count;
    size_t name_len = 0;
    while (name_len < fmt::kFieldNameSize && d[name_len] != 0) ++name_len;
    std::string raw_name(reinterpret_cast<const char*>(d), name_len);
    while (!raw_name.empty() && raw_name.back() == ' ') raw_name.pop_back();
    f.name = automation::FromGbk(raw_name);
    char type = static_cast<char>(d[fmt::kFieldTypeAt]);
    f.width = d[fmt::kFieldWidthAt];
    f.decimals = d[fmt::kFieldDecimalsAt];
    f.flags = vfp ? d[fmt::kFieldFlagsAt] : 0;
    f.offset = vfp ? LoadLe32(d + fmt::kFieldOffsetAt) : running;
    std::string where = "field " + std::to_string(all.size() + 1) + " (" + Utf8Name(f.name) + ")";
    if (raw_name.empty()) ThrowCorrupt(file_name, "bad field descriptor: " + where + " has no name");
    bool system = type == fmt::kNullFlagsType || (f.flags & fmt::kFieldSystem);
    if (type == fmt::kNullFlagsType) {
      f.type = FieldType::kCharacter;  // not visible; the bits are read directly
    } else if (IsFieldType(type)) {
      f.type = static_cast<FieldType>(type);
    } else {
      ThrowCorrupt(file_name, "bad field descriptor: " + where + " has the unknown type " +
                                  (type >= 0x21 && type < 0x7F ? std::string(1, type) : Hex(d[11])));
    }
    if (type != fmt::kNullFlagsType && !WidthFits(f.type, f.width, vfp))
      ThrowCorrupt(file_name, "bad field descriptor: " + where + " of type " + std::string(1, type) +
                                  " has the width " + std::to_string(f.width));
    if (f.width < 1)
      ThrowCorrupt(file_name, "bad field descriptor: " + where + " has the width 0");
    if (f.offset < 1 || uint64_t{f.offset} + f.width > s.record_length)
      ThrowCorrupt(file_name, "bad field descriptor: " + where + " lies outside the record of " +
                                  std::to_string(s.record_length) + " bytes");
    f.nullable = (f.flags & fmt::kFieldNullable) != 0;
    f.binary = (f.flags & fmt::kFieldBinary) != 0;
    f.autoincrement = f.type == FieldType::kInteger && (f.flags & fmt::kFieldAutoinc) == fmt::kFieldAutoinc;
    f.autoinc_next = LoadLe32(d + fmt::kFieldAutoincNextAt);
    f.autoinc_step = d[fmt::kFieldAutoincStepAt];
    running += f.width;
    if (type == fmt::kNullFlagsType) {
      s.null_flags_offset = static_cast<int>(f.offset);
      s.null_flags_width = f.width;
    } else if (!system) {
      all.push_back(std::move(f));
    }
    at += fmt::kDescriptorSize;
    ++s.descriptor_count;
  }
  if (!vfp && running > s.record_length)
    ThrowCorrupt(file_name, "bad header: the fields need " + std::to_string(running) +
                                " bytes, the record has " + std::to_string(s.record_length));
  s.fields = std::move(all);
  if (s.null_flags_offset < 0) {
    // Without _NullFlags nothing can be null and every V or Q value is full.
    for (Field& f : s.fields) f.nullable = false;
    AssignBits(s.fields);
    for (Field& f : s.fields) f.varlen_bit = -1;
  } else {
    int bits = AssignBits(s.fields);
    if (bits > s.null_flags_width * 8)
      ThrowCorrupt(file_name, "bad header: " + std::to_string(bits) +
                                  " null bits do not fit _NullFlags of " +
                                  std::to_string(s.null_flags_width) + " bytes");
  }
  return s;
}

void CheckRecordsFit(const Schema& s, uint64_t file_size, std::string_view file_name) {
  uint64_t need = uint64_t{s.header_length} + uint64_t{s.record_count} * s.record_length;
  if (need > file_size)
    ThrowCorrupt(file_name, "the header counts " + std::to_string(s.record_count) +
                                " records, more than the file of " + std::to_string(file_size) +
                                " bytes holds");
}

Schema LayoutSchema(std::span<const FieldSpec> specs, uint8_t code_page_mark,
                    std::string_view file_name) {
  auto fail = [&](const std::string& why) {
    ThrowTableError(automation::err::kInvalidCall, file_name, why);
  };
  if (specs.empty()) fail("a table needs at least one field");
  Schema s;
  s.code_page_mark = code_page_mark;
  bool autoinc = false, varlen = false, memo = false;
  std::set<Text> names;
  uint32_t offset = 1;
  for (const FieldSpec& spec : specs) {
    Field f;
    static_cast<FieldSpec&>(f) = spec;
    std::string name = Utf8Name(spec.name);
    std::string bytes = FieldNameBytes(spec.name);
    if (bytes.empty() || bytes.size() > fmt::kMaxFieldNameBytes ||
        bytes.find('?') != std::string::npos || bytes.find(' ') != std::string::npos)
      fail("invalid field name \"" + name + "\" (1 to 10 bytes of code page 936, no blanks)");
    if (!names.insert(automation::AsciiLower(spec.name)).second)
      fail("the field name \"" + name + "\" is used twice");
    if (!IsFieldType(static_cast<char>(spec.type)))
      fail("field \"" + name + "\" has an unknown type");
    int fixed = FixedWidth(spec.type);
    if (fixed) {
      f.width = fixed;
      if (spec.type != FieldType::kDouble) f.decimals = 0;
    }
    switch (spec.type) {
      case FieldType::kCharacter:
      case FieldType::kVarchar:
      case FieldType::kVarbinary:
        if (f.width < 1 || f.width > fmt::kMaxCharWidth)
          fail("field \"" + name + "\" needs a width from 1 to 254");
        f.decimals = 0;
        break;
      case FieldType::kNumeric:
      case FieldType::kFloat:
        if (f.width < 1 || f.width > fmt::kMaxNumericWidth)
          fail("field \"" + name + "\" needs a width from 1 to 20");
        if (f.decimals < 0 || (f.decimals > 0 && f.decimals > f.width - 2))
          fail("field \"" + name + "\" has more decimals than its width allows");
        break;
      case FieldType::kDouble:
        if (f.decimals < 0 || f.decimals > 18) fail("field \"" + name + "\" has bad decimals");
        break;
      default:
        break;
    }
    if (spec.autoincrement && spec.type != FieldType::kInteger)
      fail("field \"" + name + "\": only an integer field can count by itself");
    f.offset = offset;
    offset += static_cast<uint32_t>(f.width);
    f.flags = static_cast<uint8_t>((f.nullable ? fmt::kFieldNullable : 0) |
                                   (f.binary ? fmt::kFieldBinary : 0) |
                                   (f.autoincrement ? fmt::kFieldAutoinc : 0));
    if (f.autoincrement) {
      f.autoinc_next = 1;
      f.autoinc_step = 1;
      autoinc = true;
    }
    if (spec.type == FieldType::kVarchar || spec.type == FieldType::kVarbinary ||
        spec.type == FieldType::kBlob)
      varlen = true;
    if (IsMemoType(spec.type)) memo = true;
    f.descriptor = static_cast<int>(s.fields.size());
    s.fields.push_back(std::move(f));
  }
  int bits = AssignBits(s.fields);
  s.descriptor_count = static_cast<int>(s.fields.size());
  if (bits > 0) {
    s.null_flags_offset = static_cast<int>(offset);
    s.null_flags_width = (bits + 7) / 8;
    offset += static_cast<uint32_t>(s.null_flags_width);
    ++s.descriptor_count;
  }
  if (static_cast<size_t>(s.descriptor_count) > fmt::kMaxFields) fail("more than 255 fields");
  if (offset > fmt::kMaxRecordLength) fail("the record would be longer than 65,500 bytes");
  s.version = varlen ? fmt::kVersionVfpVarchar : autoinc ? fmt::kVersionVfpAutoinc : fmt::kVersionVfp;
  s.table_flags = memo ? fmt::kTableHasMemo : 0;
  s.record_length = offset;
  s.header_length = static_cast<uint32_t>(fmt::kHeaderSize + fmt::kDescriptorSize * s.descriptor_count +
                                          1 + fmt::kBacklinkSize);
  s.record_count = 0;
  return s;
}

std::string UpdateDateBytes(automation::Date day) {
  automation::DateParts d = automation::SplitDate(day);
  std::string out(3, '\0');
  out[0] = static_cast<char>((d.year - 1900) & 0xFF);
  out[1] = static_cast<char>(d.month);
  out[2] = static_cast<char>(d.day);
  return out;
}

std::string BuildHeader(const Schema& s, automation::Date last_update) {
  std::string out(s.header_length, '\0');
  char* p = out.data();
  p[fmt::kVersionAt] = static_cast<char>(s.version);
  out.replace(fmt::kUpdateYearAt, 3, UpdateDateBytes(last_update));
  StoreLe32(p + fmt::kRecordCountAt, s.record_count);
  StoreLe16(p + fmt::kHeaderLengthAt, static_cast<uint16_t>(s.header_length));
  StoreLe16(p + fmt::kRecordLengthAt, static_cast<uint16_t>(s.record_length));
  p[fmt::kTableFlagsAt] = static_cast<char>(s.table_flags);
  p[fmt::kCodePageMarkAt] = static_cast<char>(s.code_page_mark);
  size_t at = fmt::kHeaderSize;
  auto put = [&](const std::string& name, char type, uint32_t offset, int width, int decimals,
                 uint8_t flags, uint32_t next, uint8_t step) {
    char* d = p + at;
    name.copy(d, std::min(name.size(), fmt::kMaxFieldNameBytes));
    d[fmt::kFieldTypeAt] = type;
    StoreLe32(d + fmt::kFieldOffsetAt, offset);
    d[fmt::kFieldWidthAt] = static_cast<char>(width);
    d[fmt::kFieldDecimalsAt] = static_cast<char>(decimals);
    d[fmt::kFieldFlagsAt] = static_cast<char>(flags);
    StoreLe32(d + fmt::kFieldAutoincNextAt, next);
    d[fmt::kFieldAutoincStepAt] = static_cast<char>(step);
    at += fmt::kDescriptorSize;
  };
  for (const Field& f : s.fields)
    put(FieldNameBytes(f.name), static_cast<char>(f.type), f.offset, f.width, f.decimals, f.flags,
        f.autoinc_next, f.autoinc_step);
  if (s.null_flags_offset >= 0)
    put(fmt::kNullFlagsName, fmt::kNullFlagsType, static_cast<uint32_t>(s.null_flags_offset),
        s.null_flags_width, 0, fmt::kFieldSystem | fmt::kFieldBinary, 0, 0);
  p[at] = static_cast<char>(fmt::kHeaderTerminator);
  return out;
}

}  // namespace data::dbf
