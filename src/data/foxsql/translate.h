// The dialect translator: one FoxPro statement in, one SQLite statement out,
// with what the runner needs to know about it (the tables it touches, the
// table it writes, the kinds of the computed columns).
//
//   Translation t = Translate(u"Select * From [Play] Where AllTrim(参赛项目)=='100米'");
//   // t.sql: SELECT * FROM "Play" WHERE "参赛项目" COLLATE "fox_alltrim" = '100米'
//
// What changes on the way: [names] and plain names become "names"; texts in
// double quotes become single-quoted literals; .T./.F. become 1/0; .And.,
// .Or., .Not. and ! become AND, OR, NOT; == and = both compare texts with
// the fox collation (trailing blanks ignored, no prefix match); <> != #
// are one operator; + joins texts and adds numbers; / always divides in
// reals; the FoxPro functions become the fox_* functions (functions.h);
// Iif, Nvl, IsNull, InList, Between and Cast are written out; Top n becomes
// LIMIT n; an unnamed computed column is named as FoxPro names it (Exp_1,
// max_col, cnt). A comparison of AllTrim/Trim(column) with a text becomes a
// comparison of the column itself under the matching collation, with the
// same result, so that the table's index can serve it. One-argument
// functions and casts applied over SubStr(x, n, m) with literal n and m
// (Cast(Int(Val(SubStr(f,5,4))) As I)) become one fox_slice call that runs
// them in turn (function_steps.h).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "data/foxsql/ast.h"
#include "data/foxsql/value_kind.h"

namespace data::foxsql {

enum class StatementKind { kQuery, kUpdate, kInsert, kDelete, kCreateTable };

struct Translation {
  StatementKind kind = StatementKind::kQuery;
  std::string sql;             // SQLite text (empty for Create Table)
  std::vector<Text> tables;    // every table the statement names, each once
  Text target;                 // the table written (empty for a query)
  std::vector<Text> insert_columns;  // Insert's column list (empty: all columns)
  /// The kinds of the result columns that are computed (neither * nor a
  /// plain column), in order; nothing when they cannot be told apart from
  /// plain columns (a query over a derived table).
  std::optional<std::vector<ValueKind>> computed_kinds;
  CreateTable create;          // Create Table only
  /// Column names longer than a stored field name can be (10 bytes in code
  /// page 936), each once, as written: the runner looks them up among the
  /// tables' fields (ColumnRenames) and translates again.
  std::vector<Text> long_columns;
  bool IsWrite() const { return kind != StatementKind::kQuery; }
};

/// A long column name as written -> the stored field name it stands for.
using ColumnRenames = std::map<Text, Text>;

/// The most bytes a free table's field name holds.
inline constexpr size_t kFieldNameBytes = 10;

/// Raises the statement error (number kStatementError, quoting the
/// statement) for anything it cannot translate. Column names found in
/// `renames` are written as their stored names.
Translation Translate(automation::TextView statement, const ColumnRenames* renames = nullptr);

/// The SQLite form of a name: "name" with inner quotes doubled (UTF-8).
std::string QuoteName(automation::TextView name);
/// The SQLite form of a text literal: 'text' with inner quotes doubled.
std::string QuoteText(automation::TextView text);

}  // namespace data::foxsql
