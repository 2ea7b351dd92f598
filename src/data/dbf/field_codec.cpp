#include "data/dbf/field_codec.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "automation/coerce.h"
#include "automation/cp936.h"
#include "automation/datetime.h"
#include "automation/error.h"
#include "data/dbf/byte_order.h"
#include "data/dbf/format.h"
#include "data/dbf/number_text.h"
#include "data/dbf/table_error.h"

namespace data::dbf {
namespace {

namespace fmt = format;
using automation::Bytes;
using automation::Date;
using automation::Text;
using automation::Variant;

bool GetBit(const uint8_t* record, const Schema& s, int bit) {
  if (bit < 0 || s.null_flags_offset < 0) return false;
  return (record[s.null_flags_offset + bit / 8] >> (bit % 8)) & 1;
}

void SetBit(char* record, const Schema& s, int bit, bool on) {
  if (bit < 0 || s.null_flags_offset < 0) return;
  auto& byte = reinterpret_cast<uint8_t&>(record[s.null_flags_offset + bit / 8]);
  uint8_t mask = static_cast<uint8_t>(1u << (bit % 8));
  byte = on ? (byte | mask) : (byte & ~mask);
}

std::string_view Slice(const uint8_t* record, const Field& f) {
  return {reinterpret_cast<const char*>(record) + f.offset, static_cast<size_t>(f.width)};
}

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

// "YYYYMMDD"; anything else (blanks included) is the empty date.
Date DecodeDate(std::string_view s) {
  int v[8];
  for (int i = 0; i < 8; ++i) {
    if (s[i] < '0' || s[i] > '9') return Date{0};
    v[i] = s[i] - '0';
  }
  int year = v[0] * 1000 + v[1] * 100 + v[2] * 10 + v[3];
  int month = v[4] * 10 + v[5];
  int day = v[6] * 10 + v[7];
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 100 || month < 1 || month > 12 || day < 1) return Date{0};
  int last = kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
  if (day > last) return Date{0};
  return Date{static_cast<double>(automation::DaysFromCivil(year, month, day))};
}

Date DecodeDateTime(const uint8_t* p) {
  uint32_t jdn = LoadLe32(p);
  uint32_t ms = LoadLe32(p + 4);
  if (jdn == 0 || jdn == 0x20202020) return Date{0};
  if (ms >= fmt::kMillisecondsPerDay) ms = 0;
  double serial = static_cast<double>(static_cast<int64_t>(jdn) - fmt::kJulianDayOfSerialZero);
  double time = static_cast<double>(ms) / fmt::kMillisecondsPerDay;
  // Days before day zero count their time forward from midnight as well.
  return Date{serial >= 0 ? serial + time : serial - time};
}

uint32_t MemoBlock(const Field& f, std::string_view s) {
  if (f.width == fmt::kMemoWidthVfp)
    return LoadLe32(reinterpret_cast<const uint8_t*>(s.data()));
  uint64_t n = 0;
  for (char c : s) {
    if (c >= '0' && c <= '9') n = n * 10 + static_cast<uint64_t>(c - '0');
    if (n > UINT32_MAX) return 0;
  }
  return static_cast<uint32_t>(n);
}

size_t VarLength(const Field& f, const uint8_t* record, const Schema& s) {
  if (!GetBit(record, s, f.varlen_bit)) return static_cast<size_t>(f.width);
  size_t n = record[f.offset + f.width - 1];
  return n < static_cast<size_t>(f.width) ? n : static_cast<size_t>(f.width);
}

std::string Describe(const Field& f) {
  std::string out = automation::ToUtf8(f.name) + " " + static_cast<char>(f.type) + "(" +
                    std::to_string(f.width);
  if (f.decimals) out += "," + std::to_string(f.decimals);
  return out + ")";
}

[[noreturn]] void ThrowField(int number, const FieldContext& c, const Field& f, std::string why) {
  ThrowTableError(number, c.file_name, "field " + Describe(f) + ": " + why);
}

std::string TextBytes(const Variant& v) {
  if (v.IsBytes()) return std::string(v.bytes().begin(), v.bytes().end());
  return automation::ToGbk(automation::CStr(v));
}

void PutDate(char* out, Date d) {
  if (d.serial == 0) {
    std::memset(out, ' ', 8);
    return;
  }
  automation::DateParts p = automation::SplitDate(d);
  char digits[16];
  std::snprintf(digits, sizeof digits, "%04d%02d%02d", p.year % 10000, p.month, p.day);
  std::memcpy(out, digits, 8);
}

void PutDateTime(char* out, Date d) {
  if (d.serial == 0) {
    std::memset(out, 0, 8);
    return;
  }
  // The fraction is the time of day even before day zero (-1.25 is the day
  // before at 06:00).
  double days = std::trunc(d.serial);
  double time = std::fabs(d.serial - days);
  int64_t ms = std::llround(time * 86400.0) * 1000;  // whole seconds, as FoxPro keeps them
  if (ms >= fmt::kMillisecondsPerDay) {
    ms -= fmt::kMillisecondsPerDay;
    days += 1;
  }
  StoreLe32(out, static_cast<uint32_t>(static_cast<int64_t>(days) + fmt::kJulianDayOfSerialZero));
  StoreLe32(out + 4, static_cast<uint32_t>(ms));
}

// Runs a coercion of the value and names the field when it fails.
template <class Fn>
auto Coerced(const FieldContext& c, const Field& f, Fn fn) {
  try {
    return fn();
  } catch (const automation::Error& e) {
    ThrowField(e.number(), c, f, automation::ToUtf8(e.description()));
  }
}

void EncodeValue(const Field& f, const Variant& v, char* out, const FieldContext& c) {
  const size_t width = static_cast<size_t>(f.width);
  switch (f.type) {
    case FieldType::kCharacter: {
      std::string b = Coerced(c, f, [&] { return TextBytes(v); });
      std::string_view cut = CutGbk(b, width);
      std::memcpy(out, cut.data(), cut.size());
      std::memset(out + cut.size(), ' ', width - cut.size());
      return;
    }
    case FieldType::kVarchar:
    case FieldType::kVarbinary: {
      std::string b = Coerced(c, f, [&] { return TextBytes(v); });
      std::string_view cut = f.type == FieldType::kVarchar ? CutGbk(b, width) : std::string_view(b).substr(0, std::min(b.size(), width));
      std::memset(out, f.type == FieldType::kVarchar ? ' ' : 0, width);
      std::memcpy(out, cut.data(), cut.size());
      bool partial = cut.size() < width;
      if (partial) out[width - 1] = static_cast<char>(cut.size());
      SetBit(out - f.offset, c.schema, f.varlen_bit, partial);
      return;
    }
    case FieldType::kNumeric:
    case FieldType::kFloat: {
      double d = Coerced(c, f, [&] { return automation::CDbl(v); });
      auto text = FormatFieldNumber(d, f.width, f.decimals);
      if (!text)
        ThrowField(automation::err::kOverflow, c, f,
                   "the number " + automation::ToUtf8(automation::DoubleToText(d)) +
                       " does not fit the field");
      std::memcpy(out, text->data(), width);
      return;
    }
    case FieldType::kLogical:
      out[0] = Coerced(c, f, [&] { return automation::CBool(v); }) ? 'T' : 'F';
      return;
    case FieldType::kDate:
      PutDate(out, Coerced(c, f, [&] { return automation::CDate(v); }));
      return;
    case FieldType::kDateTime:
      PutDateTime(out, Coerced(c, f, [&] { return automation::CDate(v); }));
      return;
    case FieldType::kInteger:
      StoreLe32(out, static_cast<uint32_t>(Coerced(c, f, [&] { return automation::CLng(v); })));
      return;
    case FieldType::kDouble:
      StoreLe64(out, std::bit_cast<uint64_t>(Coerced(c, f, [&] { return automation::CDbl(v); })));
      return;
    case FieldType::kCurrency:
      StoreLe64(out, static_cast<uint64_t>(Coerced(c, f, [&] { return automation::CCur(v); }).scaled));
      return;
    case FieldType::kMemo:
    case FieldType::kGeneral:
    case FieldType::kBlob:
    case FieldType::kPicture: {
      std::string b = Coerced(c, f, [&] { return TextBytes(v); });
      if (!b.empty() && !c.memo) ThrowField(automation::err::kPathFileAccess, c, f, "the table has no memo file");
      uint32_t type = f.type == FieldType::kMemo && !f.binary ? fmt::kMemoTypeText : fmt::kMemoTypePicture;
      uint32_t block = b.empty() ? 0 : c.memo->Write(b, type);
      if (width == fmt::kMemoWidthVfp) {
        StoreLe32(out, block);
      } else {
        std::string digits = block ? std::to_string(block) : "";
        std::memset(out, ' ', width);
        std::memcpy(out + width - digits.size(), digits.data(), digits.size());
      }
      return;
    }
  }
}

}  // namespace

std::string_view CutGbk(std::string_view gbk, size_t width) {
  if (gbk.size() <= width) return gbk;
  size_t i = 0;
  while (i < gbk.size()) {
    auto b = static_cast<uint8_t>(gbk[i]);
    size_t step = (b >= 0x81 && b <= 0xFE && i + 1 < gbk.size()) ? 2 : 1;
    if (i + step > width) break;
    i += step;
  }
  return gbk.substr(0, i);
}

bool FieldIsNull(const Field& f, const uint8_t* record, const Schema& s) {
  return GetBit(record, s, f.null_bit);
}

namespace {

// Stores a value in place when the variant already holds that kind.
template <class T>
void Put(Variant& out, T value) {
  if (out.Is<T>())
    out.As<T>() = value;
  else
    out = Variant(value);
}

void SetText(Variant& out, std::string_view gbk) {
  if (!out.IsString()) out = Variant(Text());
  automation::FromGbk(gbk, out.As<Text>());
}

}  // namespace

void DecodeFieldInto(const Field& f, const uint8_t* record, uint32_t row, const FieldContext& c,
                     Variant& out) {
  if (f.null_bit >= 0 && GetBit(record, c.schema, f.null_bit)) {
    out = Variant::Null();
    return;
  }
  std::string_view s = Slice(record, f);
  const auto* p = record + f.offset;
  switch (f.type) {
    case FieldType::kCharacter:
      SetText(out, s);
      return;
    case FieldType::kVarchar:
      SetText(out, s.substr(0, VarLength(f, record, c.schema)));
      return;
    case FieldType::kVarbinary: {
      std::string_view b = s.substr(0, VarLength(f, record, c.schema));
      out = Variant(Bytes(b.begin(), b.end()));
      return;
    }
    case FieldType::kNumeric:
    case FieldType::kFloat:
      Put(out, ParseFieldNumber(s));
      return;
    case FieldType::kLogical: {
      char ch = s[0];
      Put(out, ch == 'T' || ch == 't' || ch == 'Y' || ch == 'y');
      return;
    }
    case FieldType::kDate:
      Put(out, DecodeDate(s));
      return;
    case FieldType::kDateTime:
      Put(out, DecodeDateTime(p));
      return;
    case FieldType::kInteger:
      Put(out, static_cast<int32_t>(LoadLe32(p)));
      return;
    case FieldType::kDouble:
      Put(out, std::bit_cast<double>(LoadLe64(p)));
      return;
    case FieldType::kCurrency:
      Put(out, automation::Currency{static_cast<int64_t>(LoadLe64(p))});
      return;
    case FieldType::kMemo:
    case FieldType::kGeneral:
    case FieldType::kBlob:
    case FieldType::kPicture: {
      bool text = f.type == FieldType::kMemo && !f.binary;
      uint32_t block = MemoBlock(f, s);
      std::string_view data;
      if (block != 0) {
        std::string what = "field " + automation::ToUtf8(f.name) + " of record " + std::to_string(row + 1);
        if (!c.memo) ThrowCorrupt(c.file_name, what + " points into a missing memo file");
        data = c.memo->Read(block, what);
      }
      if (text)
        SetText(out, data);
      else
        out = Variant(Bytes(data.begin(), data.end()));
      return;
    }
  }
  out = Variant();
}

Variant DecodeField(const Field& f, const uint8_t* record, uint32_t row, const FieldContext& c) {
  Variant out;
  DecodeFieldInto(f, record, row, c, out);
  return out;
}

void BlankField(const Field& f, char* record, const Schema& s) {
  char* out = record + f.offset;
  const size_t width = static_cast<size_t>(f.width);
  switch (f.type) {
    case FieldType::kLogical:
      out[0] = 'F';
      break;
    case FieldType::kDateTime:
    case FieldType::kInteger:
    case FieldType::kDouble:
    case FieldType::kCurrency:
      std::memset(out, 0, width);
      break;
    case FieldType::kMemo:
    case FieldType::kGeneral:
    case FieldType::kBlob:
    case FieldType::kPicture:
      std::memset(out, width == fmt::kMemoWidthVfp ? 0 : ' ', width);
      break;
    case FieldType::kVarchar:
    case FieldType::kVarbinary:
      std::memset(out, f.type == FieldType::kVarchar ? ' ' : 0, width);
      out[width - 1] = 0;
      SetBit(record, s, f.varlen_bit, true);
      break;
    default:
      std::memset(out, ' ', width);
      break;
  }
  SetBit(record, s, f.null_bit, false);
}

void EncodeField(const Field& f, const Variant& value, char* record, const FieldContext& c) {
  if (value.IsNull()) {
    if (f.null_bit < 0)
      ThrowField(automation::err::kInvalidNull, c, f, "the field does not accept null values");
    BlankField(f, record, c.schema);
    SetBit(record, c.schema, f.null_bit, true);
    return;
  }
  if (value.IsEmpty()) {
    BlankField(f, record, c.schema);
    return;
  }
  EncodeValue(f, value, record + f.offset, c);
  SetBit(record, c.schema, f.null_bit, false);
}

}  // namespace data::dbf
