// A chain of functions over a slice runs as one call (fox_slice): every
// chain gives what the same functions called one by one give, value, type
// and error alike, on texts of every kind.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <string>

#include "data/foxsql/collation.h"
#include "data/foxsql/function_steps.h"
#include "data/foxsql/functions.h"
#include "data/foxsql/translate.h"

namespace data::foxsql {
namespace {

using automation::FromUtf8;

class SliceChain : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
    RegisterCollations(db_);
    RegisterFunctions(db_, &errors_);
    Exec("CREATE TABLE t(k INTEGER, f TEXT, n REAL)");
    const char* rows[] = {
        "1, '0102000300045   0012.345 0007 -03.5 A级     第一中学    TF检录', 1",  // a packed field
        "2, '  12  x', 2",                     // short: slices past its end
        "3, '', 3",                            // empty
        "4, NULL, 4",                          // Null
        "5, '中国12345 67890.5 t', 5",         // two-byte characters before and across a slice
        "6, 'abc' || char(0) || 'def  ', 6",   // a NUL inside
        "7, '99999999999 1e3 ', 7",            // beyond a whole number's range of Cast As I
        "8, 123, 8",                           // a number where a text is expected
    };
    for (const char* r : rows) Exec("INSERT INTO t VALUES(" + std::string(r) + ")");
  }
  void TearDown() override { sqlite3_close(db_); }

  void Exec(const std::string& sql) {
    ASSERT_EQ(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
  }

  // Every row's value of the expression: its type, its value and the
  // error, if any, one line a row.
  std::string Rows(const std::string& sqlite_sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sqlite_sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
      return std::string("prepare failed: ") + sqlite3_errmsg(db_);
    std::string out;
    for (int row = 1; row <= 8; ++row) {
      sqlite3_bind_int(st, 1, row);
      errors_.error.reset();
      if (sqlite3_step(st) == SQLITE_ROW) {
        const int type = sqlite3_column_type(st, 0);
        out += std::to_string(type) + ":";
        if (type == SQLITE_TEXT) {
          out += "[" + std::string(static_cast<const char*>(sqlite3_column_blob(st, 0)),
                                   static_cast<size_t>(sqlite3_column_bytes(st, 0))) + "]";
        } else if (type != SQLITE_NULL) {
          char buf[64];
          std::snprintf(buf, sizeof buf, "%.17g", sqlite3_column_double(st, 0));
          out += buf;
        }
      } else {
        out += "error " + (errors_.error ? automation::ToUtf8(errors_.error->description()) : "?");
      }
      out += "\n";
      sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    return out;
  }

  sqlite3* db_ = nullptr;
  ErrorSlot errors_;
};

TEST_F(SliceChain, GivesWhatTheCallsOneByOneGive) {
  // %s is the slice; written as SubStr(f,0+a,b) it is no chain.
  const char* chains[] = {
      "Cast(Int(Val(%s)) As I)",
      "Iif(Int(Val(%s))=0,9999,Int(Val(%s)))",
      "Cast(AllTrim(%s) As C(6))",
      "Cast(AllTrim(%s) As C(2))",
      "Cast(%s As C(9))",
      "Cast(%s As V(3))",
      "Cast(RTrim(%s) As M)",
      "Cast(Round(Val(%s),1) As Numeric(6,1))",
      "Cast(Val(%s) As N(8))",
      "Cast(Val(%s) As C(5))",
      "Cast(Int(Val(%s)) As V(12))",
      "Round(Val(%s),0)",
      "Upper(%s)",
      "Lower(LTrim(%s))",
      "Int(Val(Trim(%s)))",
      "Cast(Cast(%s As I) As C(4))",
  };
  const std::pair<int, int> slices[] = {{1, 4}, {5, 4}, {13, 6}, {3, 2}, {4, 4}, {20, 9}, {1, 12}, {1, 0}, {40, 5}};
  for (const char* chain : chains) {
    for (auto [start, count] : slices) {
      auto with = [&](const std::string& slice) {
        std::string e = chain;
        for (size_t at; (at = e.find("%s")) != std::string::npos;) e.replace(at, 2, slice);
        return Translate(FromUtf8("Select " + e + " From t")).sql + " WHERE k = ?";
      };
      const std::string n = std::to_string(count);
      const std::string fused = with("SubStr(f," + std::to_string(start) + "," + n + ")");
      const std::string called = with("SubStr(f,0+" + std::to_string(start) + "," + n + ")");
      ASSERT_NE(fused.find("fox_slice"), std::string::npos) << fused;
      ASSERT_EQ(called.find("fox_slice"), std::string::npos) << called;
      EXPECT_EQ(Rows(fused), Rows(called)) << chain << " over SubStr(f," << start << "," << count << ")";
    }
  }
}

TEST_F(SliceChain, StepListsAreReadBackAsWrittenAndBadOnesRefused) {
  const std::vector<Step> steps = {{StepKind::kAllTrim}, {StepKind::kCastC, 6}, {StepKind::kRound, 1},
                                   {StepKind::kCastN, -1}};
  std::string text;
  for (const Step& s : steps) text += (text.empty() ? "" : " ") + StepText(s);
  EXPECT_EQ(text, "alltrim cast_c:6 round:1 cast_n:-1");
  auto back = ParseSteps(text);
  ASSERT_TRUE(back);
  ASSERT_EQ(back->size(), steps.size());
  for (size_t i = 0; i < steps.size(); ++i) {
    EXPECT_EQ((*back)[i].kind, steps[i].kind);
    EXPECT_EQ((*back)[i].n, steps[i].n);
  }
  for (const char* bad : {"trim", "cast_c", "alltrim:3", "round:x", "val int drop"})
    EXPECT_FALSE(ParseSteps(bad)) << bad;
  // A list that is no chain, given by hand, is an error of the statement.
  EXPECT_NE(Rows("SELECT fox_slice(f, 1, 4, 'val bogus') FROM t WHERE k = ?").find("error"), std::string::npos);
}

}  // namespace
}  // namespace data::foxsql
