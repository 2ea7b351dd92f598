// Interop with Debian's python3-dbf: tables written here open there, and
// tables written there (deleted rows, Null values, memos, code page 936
// texts) read correctly here, also after this layer has written to them.
#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "automation/datetime.h"
#include "automation/text.h"
#include "data/dbf/table.h"
#include "data/dbf/test_files.h"

namespace data::dbf {
namespace {

using automation::Date;
using automation::MakeDate;
using automation::Text;
using automation::Variant;
using nlohmann::json;

const std::string kTool = std::string(ARENIX_SOURCE_DIR) + "/tests/data/dbf/pydbf_tool.py";

std::string RunCommand(const std::string& command) {
  std::string out;
  FILE* p = ::popen(command.c_str(), "r");
  if (!p) return out;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  EXPECT_EQ(::pclose(p), 0) << command;
  return out;
}

std::vector<json> PythonDump(const std::string& path) {
  std::vector<json> rows;
  std::string out = RunCommand("/usr/bin/python3 " + kTool + " dump " + path);
  size_t start = 0;
  while (start < out.size()) {
    size_t end = out.find('\n', start);
    if (end == std::string::npos) end = out.size();
    if (end > start) rows.push_back(json::parse(out.substr(start, end - start)));
    start = end + 1;
  }
  return rows;
}

std::string U8(const Text& t) { return automation::ToUtf8(t); }

TEST(DbfInterop, TablesWrittenHereOpenInPythonDbf) {
  dbf_test::TempDir dir;
  std::string path = dir.File("Team.dbf");
  std::vector<FieldSpec> fields = {
      {u"代表队", FieldType::kCharacter, 11},
      {u"得分", FieldType::kNumeric, 8, 2},
      {u"编外队", FieldType::kLogical},
      {u"报名日期", FieldType::kDate},
      {u"说明", FieldType::kMemo},
  };
  std::string long_memo;
  for (int i = 0; i < 300; ++i) long_memo += "第" + std::to_string(i) + "行;";
  {
    auto t = Table::Create(path, fields);
    t->Append({Variant(Text(u"一中")), Variant(12.5), Variant(true), Variant(MakeDate(2024, 5, 1)),
               Variant(Text(u"田径队\r\n含教练"))});
    t->Append({Variant(Text(u"实验中学")), Variant(-3.0), Variant(false), Variant(Date{0}),
               Variant(automation::FromUtf8(long_memo))});
    // Six Chinese characters in 11 bytes: the sixth would be split, so it goes.
    t->Append({Variant(Text(u"一二三四五六")), Variant(0.125), Variant(false),
               Variant(MakeDate(1999, 12, 31)), Variant(Text())});
    t->SetDeleted(1, true);
    t->Update(2, std::vector<FieldValue>{{1, Variant(99.99)}});
  }
  std::vector<json> rows = PythonDump(path);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], json::parse(R"({"deleted": false,
      "values": ["一中       ", 12.5, true, "2024-05-01", "田径队\r\n含教练"]})"));
  EXPECT_EQ(rows[1]["deleted"], true);
  EXPECT_EQ(rows[1]["values"][0], "实验中学   ");
  EXPECT_EQ(rows[1]["values"][3], nullptr);  // empty date
  EXPECT_EQ(rows[1]["values"][4], long_memo);
  EXPECT_EQ(rows[2], json::parse(R"({"deleted": false,
      "values": ["一二三四五 ", 99.99, false, "1999-12-31", ""]})"));
}

TEST(DbfInterop, TablesWrittenByPythonDbfReadHere) {
  dbf_test::TempDir dir;
  std::string path = dir.File("py.dbf");
  RunCommand("/usr/bin/python3 " + kTool + " make " + path);
  auto t = Table::Open(path, Access::kWrite);
  EXPECT_EQ(t->schema().code_page_mark, 0x4D);
  ASSERT_EQ(t->fields().size(), 6u);
  ASSERT_EQ(t->RecordCount(), 4u);
  std::vector<Variant> v;

  t->ReadRecord(0, v);
  EXPECT_FALSE(t->IsDeleted(0));
  EXPECT_EQ(v[0], Variant(Text(u"张三丰      ")));
  EXPECT_EQ(v[1], Variant(12.34));
  EXPECT_EQ(v[2], Variant(true));
  EXPECT_EQ(v[3], Variant(MakeDate(2024, 3, 5)));
  EXPECT_EQ(v[4], Variant(Text(u"太极拳\r\n武当山")));
  EXPECT_EQ(v[5], Variant(int32_t{7}));

  EXPECT_TRUE(t->IsDeleted(1));
  t->ReadRecord(1, v);
  EXPECT_EQ(v[1], Variant(-1.5));
  EXPECT_EQ(v[4], Variant(Text()));
  EXPECT_EQ(v[5], Variant(int32_t{-3}));

  t->ReadRecord(2, v);
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(v[i].IsNull()) << i;

  t->ReadRecord(3, v);
  EXPECT_EQ(v[3], Variant(Date{0}));
  EXPECT_EQ(v[4], Variant(Text(400, u'长')));

  // Writing into the foreign table keeps it readable there.
  t->Update(2, std::vector<FieldValue>{{0, Variant(Text(u"赵六"))}, {4, Variant(Text(u"新备注"))}});
  t->Append({Variant(Text(u"钱七")), Variant::Null(), Variant(false), Variant(MakeDate(2023, 1, 2)),
             Variant(Text(u"追加")), Variant(int32_t{8})});
  t->SetDeleted(1, false);
  t.reset();
  std::vector<json> rows = PythonDump(path);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[1]["deleted"], false);
  EXPECT_EQ(rows[2]["values"][0], "赵六        ");
  EXPECT_EQ(rows[2]["values"][1], nullptr);
  EXPECT_EQ(rows[2]["values"][4], "新备注");
  EXPECT_EQ(rows[4], json::parse(R"({"deleted": false,
      "values": ["钱七        ", null, false, "2023-01-02", "追加", 8]})"));
}

}  // namespace
}  // namespace data::dbf
