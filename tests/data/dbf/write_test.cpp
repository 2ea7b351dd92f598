// Writing rules: texts cut to the width on whole characters, numbers that do
// not fit refused, Null only where the field takes it, tables with a
// structural index refused, and the record count, date and autoincrement
// counters kept in the header.
#include <gtest/gtest.h>

#include "automation/clock.h"
#include "automation/cp936.h"
#include "automation/datetime.h"
#include "automation/error.h"
#include "data/dbf/table.h"
#include "data/dbf/test_files.h"

namespace data::dbf {
namespace {

using automation::MakeDate;
using automation::Text;
using automation::Variant;
using dbf_test::ErrorOf;
using dbf_test::Slurp;
using dbf_test::Spit;
namespace err = automation::err;

TEST(DbfWrite, TextsAreCutToTheWidthOnWholeCharacters) {
  dbf_test::TempDir dir;
  auto t = Table::Create(dir.File("t.dbf"), std::vector<FieldSpec>{{u"C5", FieldType::kCharacter, 5},
                                                                  {u"V5", FieldType::kVarchar, 5}});
  struct Case {
    Text in, c_stored, v_stored;
  } cases[] = {
      {u"张三李四", u"张三 ", u"张三"},  // the third character would need bytes 5 and 6
      {u"a张三李", u"a张三", u"a张三"},
      {u"abcdefg", u"abcde", u"abcde"},
      {u"张三", u"张三 ", u"张三"},
      {u"", u"     ", u""},
      {u"€x", u"€x   ", u"€x"},  // 0x80 is one byte in code page 936
  };
  for (const Case& c : cases) {
    uint32_t row = t->Append({Variant(c.in), Variant(c.in)});
    EXPECT_EQ(t->Value(row, 0), Variant(c.c_stored)) << automation::ToUtf8(c.in);
    EXPECT_EQ(t->Value(row, 1), Variant(c.v_stored)) << automation::ToUtf8(c.in);
  }
  // A number given to a text field is its text form.
  uint32_t row = t->Append({Variant(12.5)});
  EXPECT_EQ(t->Value(row, 0), Variant(Text(u"12.5 ")));
}

TEST(DbfWrite, RefusesValuesTheFieldCannotHold) {
  dbf_test::TempDir dir;
  auto t = Table::Create(dir.File("Play.dbf"),
                         std::vector<FieldSpec>{{u"比赛得分", FieldType::kNumeric, 6, 1},
                                                {u"比赛名次", FieldType::kInteger},
                                                {u"性别", FieldType::kLogical},
                                                {u"日期", FieldType::kDate}});
  t->Append({Variant(9999.9)});
  auto [number, text] = ErrorOf([&] { t->Append({Variant(99999.9)}); });
  EXPECT_EQ(number, err::kOverflow);
  EXPECT_EQ(text, "Play.dbf: field 比赛得分 N(6,1): the number 99999.9 does not fit the field");
  EXPECT_EQ(ErrorOf([&] { t->Append({Variant(-10000.0)}); }).first, err::kOverflow);
  EXPECT_EQ(ErrorOf([&] { t->Append({Variant(), Variant(3e10)}); }).first, err::kOverflow);
  auto [null_number, null_text] = ErrorOf([&] { t->Append({Variant::Null()}); });
  EXPECT_EQ(null_number, err::kInvalidNull);
  EXPECT_EQ(null_text, "Play.dbf: field 比赛得分 N(6,1): the field does not accept null values");
  auto [mismatch, mismatch_text] = ErrorOf([&] { t->Append({Variant(Text(u"快"))}); });
  EXPECT_EQ(mismatch, err::kTypeMismatch);
  EXPECT_NE(mismatch_text.find("Play.dbf: field 比赛得分"), std::string::npos);
  EXPECT_EQ(ErrorOf([&] { t->Append({Variant(), Variant(), Variant(), Variant(Text(u"明天"))}); }).first,
            err::kTypeMismatch);
  // Nothing of the refused appends reached the file.
  EXPECT_EQ(t->RecordCount(), 1u);
  EXPECT_EQ(Table::Open(dir.File("Play.dbf"), Access::kRead)->RecordCount(), 1u);
}

TEST(DbfWrite, UpdatesAndDeletionsChangeOneRecordInPlace) {
  dbf_test::TempDir dir;
  automation::ScopedClock clock(MakeDate(2025, 1, 31), 1);
  std::string path = dir.File("Item.dbf");
  auto t = Table::Create(path, std::vector<FieldSpec>{{u"参赛项目", FieldType::kCharacter, 20},
                                                      {u"团体人数", FieldType::kNumeric, 3},
                                                      {u"自定义得分", FieldType::kMemo}});
  t->Append({Variant(Text(u"100米")), Variant(1.0), Variant(Text(u"9|7|6"))});
  t->Append({Variant(Text(u"4×100米接力")), Variant(4.0)});
  std::string before = Slurp(path);
  {
    automation::ScopedClock later(MakeDate(2025, 2, 1), 1);
    t->Update(1, std::vector<FieldValue>{{1, Variant(6.0)}, {2, Variant(Text(u"18|14|12"))}});
  }
  std::string after = Slurp(path);
  ASSERT_EQ(before.size(), after.size());
  size_t record1 = t->schema().header_length + t->schema().record_length;
  for (size_t i = 0; i < before.size(); ++i) {
    bool in_record1 = i >= record1 && i < record1 + t->schema().record_length;
    bool in_date = i >= 1 && i <= 3;
    if (!in_record1 && !in_date) ASSERT_EQ(before[i], after[i]) << "byte " << i;
  }
  EXPECT_EQ(after.substr(1, 3), std::string("\x7D\x02\x01", 3));
  EXPECT_EQ(t->Value(1, 1), Variant(6.0));
  EXPECT_EQ(t->Value(1, 2), Variant(Text(u"18|14|12")));
  EXPECT_EQ(t->Value(0, 2), Variant(Text(u"9|7|6")));
  t->SetDeleted(0, true);
  EXPECT_TRUE(t->IsDeleted(0));
  EXPECT_FALSE(t->IsDeleted(1));
  // Deleting keeps the values; recalling brings the record back unchanged.
  t->SetDeleted(0, false);
  EXPECT_EQ(t->Value(0, 0), Variant(Text(u"100米") + Text(15, u' ')));
}

TEST(DbfWrite, TablesWithAStructuralIndexAreReadButNotWritten) {
  dbf_test::TempDir dir;
  std::string path = dir.File("Record.dbf");
  Table::Create(path, std::vector<FieldSpec>{{u"运动员", FieldType::kCharacter, 8}})
      ->Append({Variant(Text(u"刘翔"))});
  std::string bytes = Slurp(path);
  bytes[28] |= 0x01;  // the header says: structural .cdx
  Spit(path, bytes);
  auto t = Table::Open(path, Access::kWrite);
  EXPECT_TRUE(t->HasStructuralIndex());
  EXPECT_EQ(t->Value(0, 0), Variant(Text(u"刘翔    ")));
  auto [number, text] = ErrorOf([&] { t->Append({Variant(Text(u"x"))}); });
  EXPECT_EQ(number, err::kPermissionDenied);
  EXPECT_EQ(text, "Record.dbf: the table has a structural index (.cdx), which would go stale; "
                  "writing to it is refused");
  EXPECT_EQ(ErrorOf([&] { t->SetDeleted(0, true); }).first, err::kPermissionDenied);
  EXPECT_EQ(ErrorOf([&] { t->Update(0, std::vector<FieldValue>{{0, Variant(Text(u"y"))}}); }).first,
            err::kPermissionDenied);
  EXPECT_EQ(Slurp(path), bytes);

  // An index file beside the table counts as well.
  std::string other = dir.File("team.dbf");
  Table::Create(other, std::vector<FieldSpec>{{u"代表队", FieldType::kCharacter, 8}});
  Spit(dir.File("TEAM.CDX"), "index");
  EXPECT_EQ(ErrorOf([&] { Table::Open(other, Access::kWrite)->Append({Variant(Text(u"x"))}); }).first,
            err::kPermissionDenied);
}

TEST(DbfWrite, ReadOnlyTablesRefuseWrites) {
  dbf_test::TempDir dir;
  std::string path = dir.File("Age.dbf");
  Table::Create(path, std::vector<FieldSpec>{{u"年龄组", FieldType::kCharacter, 8}});
  auto t = Table::Open(path, Access::kRead);
  EXPECT_EQ(ErrorOf([&] { t->Append({Variant(Text(u"x"))}); }),
            std::make_pair(err::kPermissionDenied, std::string("Age.dbf: the table is open for reading only")));
}

TEST(DbfWrite, AutoincrementFieldsCountInTheHeader) {
  dbf_test::TempDir dir;
  std::string path = dir.File("Sjzd.dbf");
  FieldSpec id{u"ID", FieldType::kInteger};
  id.autoincrement = true;
  auto t = Table::Create(path, std::vector<FieldSpec>{id, {u"名称", FieldType::kCharacter, 10}});
  EXPECT_EQ(t->schema().version, 0x31);
  t->Append({Variant(), Variant(Text(u"男"))});
  t->Append({Variant(), Variant(Text(u"女"))});
  t.reset();
  auto again = Table::Open(path, Access::kWrite);
  again->Append({Variant(), Variant(Text(u"混"))});
  EXPECT_EQ(again->Value(0, 0), Variant(int32_t{1}));
  EXPECT_EQ(again->Value(2, 0), Variant(int32_t{3}));
  EXPECT_EQ(again->fields()[0].autoinc_step, 1);
}

TEST(DbfWrite, CreateRefusesBadFieldListsAndExistingFiles) {
  dbf_test::TempDir dir;
  std::string path = dir.File("bad.dbf");
  auto create = [&](std::vector<FieldSpec> fields) {
    return ErrorOf([&] { Table::Create(path, fields); });
  };
  EXPECT_EQ(create({}).first, err::kInvalidCall);
  EXPECT_EQ(create({{u"名字太长了的字段", FieldType::kCharacter, 5}}).first, err::kInvalidCall);
  EXPECT_EQ(create({{u"A", FieldType::kCharacter, 0}}).first, err::kInvalidCall);
  EXPECT_EQ(create({{u"A", FieldType::kCharacter, 255}}).first, err::kInvalidCall);
  EXPECT_EQ(create({{u"A", FieldType::kNumeric, 5, 4}}).first, err::kInvalidCall);
  EXPECT_EQ(create({{u"A", FieldType::kNumeric, 3}, {u"a", FieldType::kNumeric, 3}}).second,
            "bad.dbf: the field name \"a\" is used twice");
  Table::Create(path, std::vector<FieldSpec>{{u"A", FieldType::kCharacter, 1}});
  EXPECT_EQ(create({{u"A", FieldType::kCharacter, 1}}).first, err::kFileExists);
  CreateOptions replace;
  replace.overwrite = true;
  auto t = Table::Create(path, std::vector<FieldSpec>{{u"B", FieldType::kMemo}}, replace);
  EXPECT_EQ(t->fields()[0].name, u"B");
}

}  // namespace
}  // namespace data::dbf
