// A meet database in a temporary folder for the engine's tests: a small
// Play table made with the dialect's own Create Table, and shorthands to
// run statements and read values.
#pragma once

#include <string>
#include <vector>

#include "automation/coerce.h"
#include "automation/runtime.h"
#include "data/dbf/test_files.h"
#include "data/foxsql/database.h"

namespace foxsql_test {

using automation::FromUtf8;
using automation::Text;
using automation::Variant;
using data::foxsql::Database;
using data::foxsql::Rows;

/// The columns of Play that the tests use, with the meet's widths.
inline constexpr const char* kCreatePlay =
    "Create Table Play Free (ID C(10), 编号 C(10), 运动员 C(20), 代表队 C(30), 年龄组 C(20), "
    "性别 L, 参赛项目 C(30), 参赛子项目 C(30), 比赛组次 I, 比赛名次 I, 比赛成绩 C(9), "
    "排序成绩 C(9), 比赛得分 N(6,1), 决赛信息 C(237), 备注 M Null, 日期 D)";

class MeetFolder {
 public:
  MeetFolder() : db_(std::make_unique<Database>(dir_.path())) {}

  Database& db() { return *db_; }
  const std::string& path() const { return dir_.path(); }
  std::string File(const std::string& name) const { return dir_.File(name); }

  data::foxsql::Outcome Run(const std::string& sql) { return db_->Run(FromUtf8(sql)); }
  Rows Query(const std::string& sql) { return *Run(sql).rows; }
  int64_t Exec(const std::string& sql) { return Run(sql).affected; }

  /// One entrant of Play (event 100米, age group 甲组, men unless said).
  void AddEntrant(const std::string& number, const std::string& name, const std::string& event = "100米",
                  bool men = true, int heat = 1) {
    Exec("Insert Into Play (ID, 编号, 运动员, 代表队, 年龄组, 性别, 参赛项目, 参赛子项目, 比赛组次) "
         "Values ('" + number + "', '" + number + "', '" + name + "', '一队', '甲组', " +
         (men ? ".T." : ".F.") + ", '" + event + "', '', " + std::to_string(heat) + ")");
  }

 private:
  dbf_test::TempDir dir_;
  std::unique_ptr<Database> db_;
};

/// The text of a value without the blanks a fixed-width field adds.
inline std::string Trimmed(const Variant& v) { return automation::ToUtf8(automation::RTrim(automation::CStr(v))); }

/// One column of a result, trimmed texts.
inline std::vector<std::string> Column(const Rows& rows, size_t column = 0) {
  std::vector<std::string> out;
  for (const auto& r : rows.rows) out.push_back(Trimmed(r.at(column)));
  return out;
}

}  // namespace foxsql_test
