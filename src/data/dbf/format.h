// The free-table file format in one place: the layout of the table header,
// the field descriptors, records and the memo file, and the codes stored in
// them. Everything that reads or writes bytes of a .dbf or .fpt takes its
// offsets and codes from here.
//
// Table file (.dbf), little-endian numbers:
//   header (32 bytes) | field descriptors (32 bytes each) | 0x0D |
//   backlink area (263 bytes, Visual FoxPro versions only) | records | 0x1A
// A record is one deletion flag byte (' ' or '*') and the fields' bytes in
// descriptor order; a hidden system field _NullFlags holds the null and
// variable-length bits.
//
// Memo file (.fpt), big-endian numbers:
//   header block (512 bytes: next free block, block size) | blocks
// A memo starts on a block: type (4 bytes), length (4 bytes), the data.
#pragma once

#include <cstddef>
#include <cstdint>

namespace data::dbf::format {

// --- Table header --------------------------------------------------------
inline constexpr size_t kHeaderSize = 32;
inline constexpr size_t kVersionAt = 0;
inline constexpr size_t kUpdateYearAt = 1;  // year - 1900
inline constexpr size_t kUpdateMonthAt = 2;
inline constexpr size_t kUpdateDayAt = 3;
inline constexpr size_t kRecordCountAt = 4;   // uint32
inline constexpr size_t kHeaderLengthAt = 8;  // uint16: where record 0 starts
inline constexpr size_t kRecordLengthAt = 10;  // uint16: deletion flag included
inline constexpr size_t kTableFlagsAt = 28;
inline constexpr size_t kCodePageMarkAt = 29;

// Version bytes (the first byte of the file).
inline constexpr uint8_t kVersionFoxBase = 0x02;
inline constexpr uint8_t kVersionDbase3 = 0x03;  // dBase III / FoxPro, no memo
inline constexpr uint8_t kVersionVfp = 0x30;
inline constexpr uint8_t kVersionVfpAutoinc = 0x31;
inline constexpr uint8_t kVersionVfpVarchar = 0x32;
inline constexpr uint8_t kVersionFoxPro2Memo = 0xF5;  // FoxPro 2.x with .fpt memo
inline constexpr uint8_t kVersionFoxBaseMemo = 0xFB;

/// Versions written by Visual FoxPro: they carry the backlink area, field
/// flags and the binary memo pointer.
inline constexpr bool IsVfpVersion(uint8_t v) {
  return v == kVersionVfp || v == kVersionVfpAutoinc || v == kVersionVfpVarchar;
}
inline constexpr bool IsKnownVersion(uint8_t v) {
  return IsVfpVersion(v) || v == kVersionFoxBase || v == kVersionDbase3 ||
         v == kVersionFoxPro2Memo || v == kVersionFoxBaseMemo;
}

// Table flags (header byte 28).
inline constexpr uint8_t kTableHasCdx = 0x01;
inline constexpr uint8_t kTableHasMemo = 0x02;
inline constexpr uint8_t kTableIsDatabase = 0x04;

// Code page marks (header byte 29). Code page 936 is written as 0x7A by
// Visual FoxPro and as 0x4D by other tools; both are read as 936, and new
// tables get 0x7A.
inline constexpr uint8_t kCodePageNone = 0x00;
inline constexpr uint8_t kCodePage936 = 0x7A;
inline constexpr uint8_t kCodePage936Alt = 0x4D;

// --- Field descriptors ---------------------------------------------------
inline constexpr size_t kDescriptorSize = 32;
inline constexpr size_t kFieldNameAt = 0;
inline constexpr size_t kFieldNameSize = 11;  // NUL-padded, at most 10 bytes used
inline constexpr size_t kFieldTypeAt = 11;
inline constexpr size_t kFieldOffsetAt = 12;  // uint32: displacement in the record
inline constexpr size_t kFieldWidthAt = 16;
inline constexpr size_t kFieldDecimalsAt = 17;
inline constexpr size_t kFieldFlagsAt = 18;
inline constexpr size_t kFieldAutoincNextAt = 19;  // uint32
inline constexpr size_t kFieldAutoincStepAt = 23;
inline constexpr size_t kMaxFieldNameBytes = 10;
inline constexpr size_t kMaxFields = 255;

// Field flags (descriptor byte 18).
inline constexpr uint8_t kFieldSystem = 0x01;
inline constexpr uint8_t kFieldNullable = 0x02;
inline constexpr uint8_t kFieldBinary = 0x04;  // no code page translation
inline constexpr uint8_t kFieldAutoinc = 0x0C;

inline constexpr uint8_t kHeaderTerminator = 0x0D;
inline constexpr size_t kBacklinkSize = 263;
inline constexpr uint8_t kEndOfFile = 0x1A;

// The hidden field that holds the null bits; its type byte is '0'.
inline constexpr char kNullFlagsName[] = "_NullFlags";
inline constexpr char kNullFlagsType = '0';

// --- Records -------------------------------------------------------------
inline constexpr uint8_t kRecordActive = ' ';
inline constexpr uint8_t kRecordDeleted = '*';
inline constexpr size_t kMaxRecordLength = 65500;

// Fixed widths of the binary and date types.
inline constexpr int kDateWidth = 8;      // D: "YYYYMMDD", blanks when empty
inline constexpr int kDateTimeWidth = 8;  // T: Julian day + milliseconds
inline constexpr int kIntegerWidth = 4;   // I
inline constexpr int kDoubleWidth = 8;    // B
inline constexpr int kCurrencyWidth = 8;  // Y: value x 10,000
inline constexpr int kLogicalWidth = 1;   // L
inline constexpr int kMemoWidthVfp = 4;   // M, G, W in Visual FoxPro: block number
inline constexpr int kMemoWidthText = 10;  // M, G in older versions: digits
inline constexpr int kMaxCharWidth = 254;
inline constexpr int kMaxNumericWidth = 20;

/// Julian day number of 1899-12-30, the automation date's day zero.
inline constexpr int64_t kJulianDayOfSerialZero = 2415019;
inline constexpr int64_t kMillisecondsPerDay = 86400000;

// --- Memo file -----------------------------------------------------------
inline constexpr size_t kMemoHeaderSize = 512;
inline constexpr size_t kMemoNextFreeAt = 0;  // uint32 big-endian, in blocks
inline constexpr size_t kMemoBlockSizeAt = 6;  // uint16 big-endian
inline constexpr size_t kMemoBlockHeaderSize = 8;
inline constexpr uint32_t kMemoTypePicture = 0;  // binary data
inline constexpr uint32_t kMemoTypeText = 1;
inline constexpr uint32_t kMemoTypeObject = 2;
inline constexpr uint16_t kDefaultMemoBlockSize = 64;

}  // namespace data::dbf::format
