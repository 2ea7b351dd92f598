// `arenix db` run as people and scripts run it: the built tool on a data
// folder in a temporary folder.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>

#include "data/dbf/test_files.h"

namespace {

struct Outcome {
  int code;
  std::string out, err;
};

std::string ShellQuote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

class DbCommand : public ::testing::Test {
 protected:
  Outcome Run(std::vector<std::string> args) {
    std::string command = ShellQuote(ARENIX_CLI);
    for (const auto& a : args) command += " " + ShellQuote(a);
    command += " >" + dir.File("out.txt") + " 2>" + dir.File("err.txt");
    int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, dbf_test::Slurp(dir.File("out.txt")),
            dbf_test::Slurp(dir.File("err.txt"))};
  }
  Outcome Db(const std::string& verb, const std::string& statement) {
    return Run({"db", verb, data, statement});
  }
  void SetUp() override {
    data = dir.File("data");
    std::filesystem::create_directory(data);
    ASSERT_EQ(Db("exec", "Create Table Play Free (编号 C(4), 运动员 C(10), 性别 L, 得分 N(6,1) Null)").out,
              "0\n");
    ASSERT_EQ(Db("exec", "Insert Into Play Values ('10', '张三', .T., 9.5)").out, "1\n");
    ASSERT_EQ(Db("exec", "Insert Into Play Values ('2', 'O''Neil', .F., .NULL.)").out, "1\n");
  }

  dbf_test::TempDir dir;
  std::string data;
};

TEST_F(DbCommand, ListsTablesAndFields) {
  Db("exec", "Create Table age Free (年龄组 C(20))");
  EXPECT_EQ(Run({"db", "tables", data}).out, "age\nPlay\n");
  Outcome schema = Run({"db", "schema", data, "play"});
  EXPECT_EQ(schema.code, 0);
  EXPECT_EQ(schema.out,
            "field   type\n"
            "------  ------  ----\n"
            "编号    C(4)\n"
            "运动员  C(10)\n"
            "性别    L\n"
            "得分    N(6,1)  null\n"
            "(4 fields, 2 records)\n");
}

TEST_F(DbCommand, PrintsRowsForPeopleAndForScripts) {
  Outcome table = Db("query", "Select 编号, 运动员, 性别, 得分 From Play Order By 运动员");
  EXPECT_EQ(table.code, 0);
  EXPECT_EQ(table.out,
            "编号  运动员  性别    得分\n"
            "----  ------  ----  ------\n"
            "2     O'Neil  .F.   .NULL.\n"
            "10    张三    .T.      9.5\n"
            "(2 rows)\n");

  Outcome json = Run({"db", "query", data, "Select 运动员, 得分, 编号=='10' As 十号 From Play", "--json"});
  EXPECT_EQ(json.code, 0);
  auto rows = nlohmann::ordered_json::parse(json.out);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].dump(), R"({"运动员":"张三      ","得分":9.5,"十号":true})");
  EXPECT_EQ(rows[1].dump(), R"({"运动员":"O'Neil    ","得分":null,"十号":false})");

  EXPECT_EQ(Db("exec", "Update Play Set 得分=1 Where Trim(编号)='1'").out, "0\n");
  EXPECT_EQ(Db("exec", "Delete From Play Where 编号=='2'").out, "1\n");
}

TEST_F(DbCommand, ReportsErrorsWithTheirNumbers) {
  Outcome bad = Db("query", "Select * Frm Play");
  EXPECT_EQ(bad.code, 1);
  EXPECT_EQ(bad.out, "");
  EXPECT_EQ(bad.err, "error -2147217900: Syntax error near Frm in statement: Select * Frm Play\n");
  Outcome missing = Db("query", "Select * From Nothing");
  EXPECT_EQ(missing.code, 1);
  EXPECT_EQ(missing.err, "error 53: File 'Nothing.dbf' does not exist in statement: Select * From Nothing\n");
  EXPECT_EQ(Run({"db", "query", data}).code, 2);
  EXPECT_EQ(Run({"db", "tables"}).code, 2);
  EXPECT_EQ(Run({"db", "frobnicate", data}).code, 2);
}

}  // namespace
