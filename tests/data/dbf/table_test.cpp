#include "data/dbf/table.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "automation/coerce.h"
#include "automation/datetime.h"
#include "automation/error.h"
#include "data/dbf/temp_dir.h"

namespace data::dbf {
namespace {

using automation::Date;
using automation::MakeDate;
using automation::Text;
using automation::Variant;

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

}  // namespace
}  // namespace data::dbf
