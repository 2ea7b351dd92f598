#include "data/dbf/table.h"

#include <gtest/gtest.h>

#include <cstdio>


#include "automation/clock.h"
#include "automation/coerce.h"
#include "automation/cp936.h"
#include "automation/datetime.h"
#include "automation/error.h"
#include "data/dbf/format.h"
#include "data/dbf/number_text.h"
#include "data/dbf/test_files.h"

namespace data::dbf {
namespace {

using automation::Date;
using automation::MakeDate;
using automation::Text;
using automation::Variant;
using dbf_test::ErrorOf;
using dbf_test::Slurp;

std::vector<FieldSpec> AllTypes() {
  return {
      {u"名称", FieldType::kCharacter, 10},
      {u"成绩", FieldType::kNumeric, 6, 1},
      {u"FNUM", FieldType::kFloat, 10, 3},
      {u"男", FieldType::kLogical},
      {u"日期", FieldType::kDate},
      {u"时间", FieldType::kDateTime},
      {u"序号", FieldType::kInteger},
      {u"比值", FieldType::kDouble, 0, 2},
      {u"金额", FieldType::kCurrency},
      {u"备注", FieldType::kMemo},
      {u"图", FieldType::kGeneral},
      {u"变长", FieldType::kVarchar, 8},
      {u"字节", FieldType::kVarbinary, 6},
      {u"可空", FieldType::kCharacter, 4, 0, true},
  };
}

TEST(DbfTable, RoundTripsEveryType) {
  dbf_test::TempDir dir;
  std::string path = dir.File("all.dbf");
  std::vector<Variant> row = {
      Variant(Text(u"张三")),
      Variant(12.35),
      Variant(-3.1416),
      Variant(true),
      Variant(MakeDate(2024, 3, 5)),
      Variant(MakeDate(2024, 3, 5, 8, 30, 5)),
      Variant(int32_t{-42}),
      Variant(2.5),
      Variant(automation::Currency{123456}),
      Variant(Text(u"一段备注\r\n第二行")),
      Variant(automation::Bytes{1, 2, 0, 255}),
      Variant(Text(u"变长")),
      Variant(automation::Bytes{9, 8}),
      Variant::Null(),
  };
  {
    auto t = Table::Create(path, AllTypes());
    EXPECT_EQ(t->Append(row), 0u);
    EXPECT_EQ(t->Append({}), 1u);
  }
  auto t = Table::Open(path, Access::kRead);
  ASSERT_EQ(t->RecordCount(), 2u);
  std::vector<Variant> got;
  t->ReadRecord(0, got);
  EXPECT_EQ(got[0], Variant(Text(u"张三      ")));  // padded to 10 bytes
  EXPECT_EQ(got[1], Variant(12.4));  // N(6,1) rounds half away from zero
  EXPECT_EQ(got[2], Variant(-3.142));
  EXPECT_EQ(got[3], Variant(true));
  EXPECT_EQ(got[4], Variant(MakeDate(2024, 3, 5)));
  EXPECT_EQ(got[5], Variant(MakeDate(2024, 3, 5, 8, 30, 5)));
  EXPECT_EQ(got[6], Variant(int32_t{-42}));
  EXPECT_EQ(got[7], Variant(2.5));
  EXPECT_EQ(got[8], Variant(automation::Currency{123456}));
  EXPECT_EQ(got[9], Variant(Text(u"一段备注\r\n第二行")));
  EXPECT_EQ(got[10], Variant(automation::Bytes{1, 2, 0, 255}));
  EXPECT_EQ(got[11], Variant(Text(u"变长")));
  EXPECT_EQ(got[12], Variant(automation::Bytes{9, 8}));
  EXPECT_TRUE(got[13].IsNull());

  t->ReadRecord(1, got);  // blank record
  EXPECT_EQ(got[0], Variant(Text(u"          ")));
  EXPECT_EQ(got[1], Variant(0.0));
  EXPECT_EQ(got[3], Variant(false));
  EXPECT_EQ(got[4], Variant(Date{0}));
  EXPECT_EQ(got[5], Variant(Date{0}));
  EXPECT_EQ(got[9], Variant(Text()));
  EXPECT_EQ(got[11], Variant(Text()));
  EXPECT_FALSE(got[13].IsNull());
}


TEST(DbfTable, NewTablesHaveTheFreeTableHeader) {
  dbf_test::TempDir dir;
  automation::ScopedClock clock(MakeDate(2024, 6, 7, 10, 0, 0), 1);
  std::string path = dir.File("Age.dbf");
  auto t = Table::Create(path, std::vector<FieldSpec>{{u"年龄组", FieldType::kCharacter, 20},
                                                      {u"流水号", FieldType::kNumeric, 3}});
  t->Append({Variant(Text(u"甲组")), Variant(1.0)});
  t.reset();
  std::string b = Slurp(path);
  ASSERT_EQ(b.size(), 32u + 2 * 32 + 1 + 263 + 24 + 1);
  EXPECT_EQ(uint8_t(b[0]), 0x30);
  EXPECT_EQ(b.substr(1, 3), std::string("\x7C\x06\x07", 3));  // 2024-06-07
  EXPECT_EQ(b.substr(4, 4), std::string("\x01\0\0\0", 4));
  EXPECT_EQ(uint8_t(b[8]) | uint8_t(b[9]) << 8, 32 + 64 + 1 + 263);
  EXPECT_EQ(uint8_t(b[10]), 24);
  EXPECT_EQ(uint8_t(b[29]), 0x7A);
  EXPECT_EQ(uint8_t(b[32 + 64]), 0x0D);
  EXPECT_EQ(b.substr(32, 6), automation::ToGbk(u"年龄组"));
  EXPECT_EQ(b.substr(360), " " + automation::ToGbk(u"甲组") + std::string(16, ' ') + "  1\x1A");
}

// A table in the older layouts: no backlink, no field flags, offsets left
// to the reader; the memo pointer of FoxPro 2 is ten digits.
std::string OldTable(uint8_t version, const std::vector<std::string>& descriptors,
                     const std::vector<std::string>& records) {
  size_t record_length = records.empty() ? 1 : records[0].size();
  std::string h(32, '\0');
  h[0] = static_cast<char>(version);
  h[1] = 99, h[2] = 1, h[3] = 2;
  h[4] = static_cast<char>(records.size());
  size_t header_length = 32 + 32 * descriptors.size() + 1;
  h[8] = static_cast<char>(header_length & 0xFF), h[9] = static_cast<char>(header_length >> 8);
  h[10] = static_cast<char>(record_length);
  for (const std::string& d : descriptors) h += d;
  h += '\x0D';
  for (const std::string& r : records) h += r;
  return h + '\x1A';
}

std::string Descriptor(const std::string& name, char type, int width, int decimals = 0) {
  std::string d(32, '\0');
  d.replace(0, name.size(), name);
  d[11] = type;
  d[16] = static_cast<char>(width);
  d[17] = static_cast<char>(decimals);
  return d;
}

TEST(DbfTable, ReadsOlderVersions) {
  std::string gbk_name = automation::ToGbk(u"姓名");
  std::string dbase = OldTable(0x03, {Descriptor(gbk_name, 'C', 6), Descriptor("N1", 'N', 5, 2),
                                      Descriptor("D1", 'D', 8), Descriptor("L1", 'L', 1)},
                               {" " + automation::ToGbk(u"王二") + "   1.5019991231Y",
                                "*abcdef-2.50        ?"});
  auto t = Table::FromBytes("old.dbf", dbase);
  ASSERT_EQ(t->fields().size(), 4u);
  EXPECT_EQ(t->fields()[0].name, u"姓名");
  EXPECT_EQ(t->fields()[1].offset, 7u);
  std::vector<Variant> v;
  t->ReadRecord(0, v);
  EXPECT_EQ(v[0], Variant(Text(u"王二  ")));
  EXPECT_EQ(v[1], Variant(1.5));
  EXPECT_EQ(v[2], Variant(MakeDate(1999, 12, 31)));
  EXPECT_EQ(v[3], Variant(true));
  EXPECT_TRUE(t->IsDeleted(1));
  t->ReadRecord(1, v);
  EXPECT_EQ(v[1], Variant(-2.5));
  EXPECT_EQ(v[2], Variant(Date{0}));
  EXPECT_EQ(v[3], Variant(false));

  std::string memo(512, '\0');
  memo[7] = 64;  // block size 64
  memo += std::string("\0\0\0\1\0\0\0\4", 8) + automation::ToGbk(u"备注");
  memo.resize(512 + 64, '\0');
  std::string foxpro = OldTable(0xF5, {Descriptor("M1", 'M', 10)}, {"          8", "           "});
  auto m = Table::FromBytes("fox.dbf", foxpro, memo);
  EXPECT_EQ(m->Value(0, 0), Variant(Text(u"备注")));
  EXPECT_EQ(m->Value(1, 0), Variant(Text()));
}

TEST(DbfTable, FindsFieldsWithoutCaseAndReadsSingleFields) {
  dbf_test::TempDir dir;
  auto t = Table::Create(dir.File("Part.dbf"), std::vector<FieldSpec>{{u"Part", FieldType::kCharacter, 8},
                                                                     {u"SortId", FieldType::kInteger}});
  for (int i = 0; i < 5; ++i) t->Append({Variant(Text(u"p") + char16_t(u'0' + i)), Variant(int32_t{i})});
  EXPECT_EQ(t->FieldIndex(u"SORTID"), 1);
  EXPECT_EQ(t->FieldIndex(u"part"), 0);
  EXPECT_EQ(t->FieldIndex(u"none"), -1);
  EXPECT_EQ(t->Value(3, 1), Variant(int32_t{3}));
  EXPECT_EQ(t->RawField(4, 0), "p4      ");
  EXPECT_EQ(ErrorOf([&] { t->Value(5, 0); }).first, automation::err::kSubscript);
  EXPECT_EQ(ErrorOf([&] { t->Value(0, 2); }).first, automation::err::kSubscript);
}

TEST(DbfTable, FindsItsMemoFileWithoutRegardToCase) {
  dbf_test::TempDir dir;
  Table::Create(dir.File("xtsz.dbf"), std::vector<FieldSpec>{{u"竞赛规程", FieldType::kMemo}})
      ->Append({Variant(Text(u"规程"))});
  std::rename(dir.File("xtsz.fpt").c_str(), dir.File("XTSZ.FPT").c_str());
  auto t = Table::Open(dir.File("xtsz.dbf"), Access::kWrite);
  EXPECT_EQ(t->Value(0, 0), Variant(Text(u"规程")));
  t->Update(0, std::vector<FieldValue>{{0, Variant(Text(u"新规程"))}});
  EXPECT_EQ(Table::Open(dir.File("xtsz.dbf"), Access::kRead)->Value(0, 0), Variant(Text(u"新规程")));
}

}  // namespace
}  // namespace data::dbf
