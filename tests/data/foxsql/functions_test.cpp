// The FoxPro functions, operators and text comparison, run in SQLite after
// translation (a plain in-memory SQLite table stands in for a free table).
#include "data/foxsql/functions.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>

#include "data/foxsql/collation.h"
#include "data/foxsql/statement_error.h"
#include "data/foxsql/translate.h"

namespace data::foxsql {
namespace {

using automation::FromUtf8;

class FoxFunctions : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
    RegisterCollations(db_);
    RegisterFunctions(db_, &errors_);
    Exec("CREATE TABLE t(a TEXT, b TEXT, n REAL, z TEXT)");
    Exec("INSERT INTO t VALUES('ab  ', 'cd', 7, NULL)");
  }
  void TearDown() override { sqlite3_close(db_); }

  void Exec(const char* sql) { ASSERT_EQ(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr), SQLITE_OK); }

  // The value of one FoxPro expression over the one row of t, as text:
  // numbers as %.15g, Null as "NULL", an error as "error <number>".
  std::string Eval(const char* fox_expression) {
    std::string fox = std::string("Select ") + fox_expression + " From t";
    std::string sql = Translate(FromUtf8(fox)).sql;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
      return std::string("prepare failed: ") + sqlite3_errmsg(db_);
    errors_.error.reset();
    std::string out;
    int rc = sqlite3_step(st);
    if (rc == SQLITE_ROW) {
      switch (sqlite3_column_type(st, 0)) {
        case SQLITE_NULL: out = "NULL"; break;
        case SQLITE_TEXT: out = reinterpret_cast<const char*>(sqlite3_column_text(st, 0)); break;
        default: {
          char buf[64];
          std::snprintf(buf, sizeof buf, "%.15g", sqlite3_column_double(st, 0));
          out = buf;
        }
      }
    } else {
      out = errors_.error ? "error " + std::to_string(errors_.error->number()) : "sqlite error";
    }
    sqlite3_finalize(st);
    return out;
  }

  sqlite3* db_ = nullptr;
  ErrorSlot errors_;
};

struct Case {
  const char* fox;
  const char* value;
};

TEST_F(FoxFunctions, GiveFoxProResultsCountingBytes) {
  const Case cases[] = {
      {"AllTrim('  a b  ')", "a b"},
      {"Trim(a)", "ab"},
      {"RTrim('x  ')", "x"},
      {"LTrim('  x ')", "x "},
      {"Len('国际健将')", "8"},
      {"Len(a)", "4"},
      {"SubStr('运动会2024', 3, 4)", "动会"},
      {"SubStr('运动会2024', 7)", "2024"},
      {"SubStr('运动会', 2, 2)", "??"},  // through two characters: half of each
      {"SubStr('abc', 5, 2)", ""},
      {"Left('国际健将', 4)", "国际"},
      {"Right('abc', 2)", "bc"},
      {"Right('abc', 9)", "abc"},
      {"PadL('一级', 8)", "    一级"},
      {"PadR('一级', 6, '*')", "一级**"},
      {"PadC('ab', 6)", "  ab  "},
      {"PadL('12', 4, '0')", "0012"},
      {"PadL('abcdef', 3)", "def"},
      {"PadR('abcdef', 3)", "abc"},
      {"PadC('abcdef', 4)", "bcde"},
      {"PadL(Str(2), 4)", "   2"},
      {"PadL(5, 3)", "  5"},
      {"Str(5)", "         5"},
      {"Str(12.5, 6, 1)", "  12.5"},
      {"Str(0.5)", "         1"},
      {"Str(-2.5, 4)", "  -3"},
      {"Str(12.345, 5, 2)", "12.35"},
      {"Str(3.14159, 4, 3)", "3.14"},
      {"Str(123456, 4)", "****"},
      {"Val('0.340')", "0.34"},
      {"Val(' 12abc')", "12"},
      {"Val('1 2')", "1"},
      {"Val('abc')", "0"},
      {"Val('-1.5e2')", "-150"},
      {"Int(-2.7)", "-2"},
      {"Int(Val(' 12'))", "12"},
      {"Round(2.675, 2)", "2.68"},
      {"Round(-2.5, 0)", "-3"},
      {"Round(1250, -2)", "1300"},
      {"Stuff('abcdef', 2, 3, 'XY')", "aXYef"},
      {"Stuff('abc', 4, 0, 'd')", "abcd"},
      {"Strtran('  1234 ', ' ', '0')", "0012340"},
      {"Strtran('aaa', 'a', 'b', 2)", "abb"},
      {"Strtran('aaa', 'a', 'b', 2, 1)", "aba"},
      {"Occurs('a', 'banana')", "3"},
      {"At('a', 'banana', 2)", "4"},
      {"At('动', '运动会')", "3"},
      {"At('x', 'abc')", "0"},
      {"Upper('abc中')", "ABC中"},
      {"Lower('ABC')", "abc"},
      {"Space(3)", "   "},
      {"Replicate('ab', 3)", "ababab"},
      {"Empty('   ')", "1"},
      {"Empty(0)", "1"},
      {"Empty(z)", "0"},
      {"Empty('a')", "0"},
      {"Nvl(z, 'x')", "x"},
      {"IsNull(z)", "1"},
      {"IsNull(a)", "0"},
      {"Iif(n > 5, 'big', 'small')", "big"},
      {"Iif(z = 'x', 'y', 'n')", "n"},  // Null is not true
      {"Cast('12' As I)", "12"},
      {"Cast(2.5 As I)", "3"},
      {"Cast(5 As C(3))", "5  "},
      {"Cast('abcdef' As C(3))", "abc"},
      {"Cast(1.25 As Numeric(6,1))", "1.3"},
      {"Cast(1 As L)", "1"},
      {"Max(n)", "7"},
      {"Mod(-7, 3)", "2"},
      {"Abs(-4)", "4"},
      {"Dtos({^2024-05-01})", "20240501"},
      {"Year({^2024-05-01})", "2024"},
      {"Allt(a)", "ab"},  // four letters are enough
  };
  for (const Case& c : cases) EXPECT_EQ(Eval(c.fox), c.value) << c.fox;
}

TEST_F(FoxFunctions, OperatorsJoinTextsAndAddNumbers) {
  const Case cases[] = {
      {"a + b", "ab  cd"},
      {"b + a", "cdab  "},
      {"a - b", "abcd  "},
      {"n + 1", "8"},
      {"n / 2", "3.5"},
      {"7 / 2", "3.5"},
      {"n % 4", "3"},
      {"2 ^ 10", "1024"},
      {"a + z", "NULL"},
      {"a + n", "error -2147217900"},
      {"n / 0", "error 11"},
      {"AllTrim(n)", "error -2147217900"},
      {"SubStr(a, 0)", "error -2147217900"},
      {"Space(100000000)", "error -2147217900"},
      {"Strtran(Replicate('a', 10000), 'a', Replicate('b', 10000))", "error -2147217900"},
  };
  for (const Case& c : cases) EXPECT_EQ(Eval(c.fox), c.value) << c.fox;
}

TEST_F(FoxFunctions, TextComparisonIgnoresTrailingBlanksOnlyAndNeverMatchesAPrefix) {
  const Case cases[] = {
      {"a = 'ab'", "1"},          // the stored blanks do not count
      {"a == 'ab   '", "1"},
      {"'1' = '10'", "0"},        // no prefix match, either way round
      {"'10' = '1'", "0"},
      {"Trim(a) = 'a'", "0"},
      {"AllTrim(a) == 'a'", "0"},
      {"a = 'AB'", "0"},          // case counts
      {"' ab' = 'ab'", "0"},      // leading blanks count
      {"AllTrim(' ab') == 'ab'", "1"},
      {"AllTrim(a) == ' ab'", "0"},
      {"z = ''", "NULL"},         // Null is not empty text
      {"Nvl(z, '') = ''", "1"},
      {"a Like 'a%'", "1"},
      {"a Like 'A%'", "0"},
      {"'运动会' Like '_动%'", "1"},
      {"'abcabd' Like '%ab_'", "1"},
      {"'abcabd' Like '%b%d'", "1"},
      {"'abc' Like 'a%%c%'", "1"},
      {"'abc' Like '%x%'", "0"},
      {"Replicate('a', 3000) Like Replicate('%a', 30) + '%b'", "0"},  // no exponential search
      {"'动' $ '运动会'", "1"},
      {"'' $ 'abc'", "0"},
      {"'ab' < 'abc'", "1"},
      {"'张三' > '李四'", "1"},   // code page 936 order: li before zhang
      {"'O''Neil' = \"O'Neil\"", "1"},
  };
  for (const Case& c : cases) EXPECT_EQ(Eval(c.fox), c.value) << c.fox;
}

TEST(FoxCollation, OrdersByCodePage936) {
  EXPECT_LT(FoxCompare("李", "王"), 0);
  EXPECT_LT(FoxCompare("王", "张"), 0);
  EXPECT_LT(FoxCompare("张", "赵"), 0);
  EXPECT_LT(FoxCompare("Z", "啊"), 0);  // one-byte codes before two-byte ones
  EXPECT_EQ(FoxCompare("张  ", "张"), 0);
  EXPECT_NE(FoxCompare("\xF0\x9F\x98\x80", "\xF0\x9F\x98\x81"), 0);  // both unrepresentable
  EXPECT_EQ(AllTrimCompare("  x ", "x"), 0);
}

}  // namespace
}  // namespace data::foxsql
