// A meet folder for the form field tests: the lookup tables Sjzd, BuMen and
// Part, and a record table whose first row carries values a form must
// survive (padding, quotes, markup, a Null, a date, a Boolean).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "arenix/frame/arenix_cls.h"
#include "arenix/show/form_field.h"
#include "automation/object.h"
#include "automation/registry.h"
#include "data/data.h"

namespace arenix::show::testing {

using automation::Text;
using automation::TextView;
using automation::Variant;

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterClasses();
    folder_ = std::filesystem::temp_directory_path() /
              ("arenix_form_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder_);
    conn = Variant(automation::CreateObject(u"Adodb.Connection"));
    Db().Open(u"provider=vfpoledb;data source=" + automation::FromUtf8(folder_.string()));
    for (const char16_t* sql : {
             u"CREATE TABLE Sjzd FREE (名称 C(20), 分类 C(20), 序号 N(3,0))",
             u"INSERT INTO Sjzd VALUES ('女', '性别', 2)",
             u"INSERT INTO Sjzd VALUES ('男', '性别', 1)",
             u"INSERT INTO Sjzd VALUES ('O''Neil <b>', '姓名', 1)",
             u"INSERT INTO Sjzd VALUES ('一号', 'O''Brien''s', 1)",
             u"INSERT INTO Sjzd VALUES ('二号', 'O''Brien', 1)",
             u"INSERT INTO Sjzd VALUES ('甲', '组', 1)",
             u"INSERT INTO Sjzd VALUES ('乙', '组', 2)",
             u"CREATE TABLE BuMen FREE (部门名称 C(20), 排列顺序 N(3,0))",
             u"INSERT INTO BuMen VALUES ('二中', 2)",
             u"INSERT INTO BuMen VALUES ('一中', 1)",
             u"CREATE TABLE Part FREE (Part C(10), SortId N(3,0))",
             u"INSERT INTO Part VALUES ('径赛', 2)",
             u"INSERT INTO Part VALUES ('田赛', 1)",
             u"CREATE TABLE athlete FREE (姓名 C(20), 性别 C(4), 生日 D, 报到 D, 身份证号码 C(18), 通过 L,"
             u" 爱好 C(20), 说明 M, 组别 N(3,0), 颜色 C(10), 部门名称 C(20), 备注 C(10) NULL, 签到 D NULL, 到场 L NULL)",
             u"INSERT INTO athlete (姓名, 性别, 生日, 身份证号码, 通过, 爱好, 说明, 组别, 颜色, 部门名称) VALUES"
             u" ('O''Neil <i>', '男', {^2024-03-05}, '110101200001011234', .T., 'a, b',"
             u" '</textarea><script>x()</script>', 2, '#ff0000', '二中')",
         }) {
      Db().Execute(sql);
    }
    Db().Execute(u"UPDATE athlete SET 备注 = NULL, 签到 = NULL, 到场 = NULL");
    rs = Open(u"select * from athlete");
  }

  void TearDown() override {
    if (auto* c = automation::ObjectTryCast<data::Connection>(conn); c && c->IsOpen()) c->Close();
    if (!folder_.empty()) std::filesystem::remove_all(folder_);
  }

  data::Connection& Db() { return automation::ObjectCast<data::Connection>(conn); }

  Variant Open(TextView sql) {
    Variant set(automation::CreateObject(u"Adodb.RecordSet"));
    automation::ObjectCast<data::Recordset>(set).Open(sql, conn, data::kOpenKeyset, data::kLockReadOnly);
    return set;
  }

  // Only the element markup: no cells, no box, no leading space.
  static FormField Bare(int16_t type, int16_t state, TextView field, TextView pop = u"", int16_t pop_allow = 0) {
    FormField f;
    f.type = type;
    f.width = 100;
    f.height = 3;
    f.title = u"allnull";
    f.name = u"x";
    f.field = Text(field);
    f.pop_field = Text(pop);
    f.pop_allow = pop_allow;
    f.state = state;
    f.div_height = -1;
    return f;
  }

  std::string Render(const FormField& f) { return automation::ToUtf8(ShowTd(conn, rs, f)); }

  Variant conn;
  Variant rs;
  std::filesystem::path folder_;
};

}  // namespace arenix::show::testing
