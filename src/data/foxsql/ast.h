// The parsed form of a statement of the dialect. The parser builds it from
// tokens; the emitter writes it out as SQLite SQL.
#pragma once

#include <memory>
#include <optional>
#include <variant>
#include <vector>

#include "automation/text.h"

namespace data::foxsql {

using automation::Text;

struct Select;

enum class ExprKind {
  kNull,
  kBool,      // flag: the value
  kNumber,    // text: as written
  kText,      // text: the value
  kDate,      // number: the serial; flag: has a time
  kColumn,    // qualifier.text
  kStar,      // qualifier.* or * (select lists and Count(*))
  kUnary,     // op, args[0]
  kBinary,    // op, args[0], args[1]
  kLike,      // args[0] LIKE args[1]; flag: NOT
  kIn,        // args[0] IN (args[1..]) or IN (select); flag: NOT
  kBetween,   // args[0] BETWEEN args[1] AND args[2]; flag: NOT
  kIsNull,    // args[0] IS NULL; flag: NOT
  kExists,    // EXISTS (select)
  kSubquery,  // (select)
  kCall,      // text(args); flag: DISTINCT inside an aggregate
  kCast,      // Cast(args[0] As cast)
};

enum class Op {
  kNone,
  kOr,
  kAnd,
  kNot,
  kNegate,
  kPlusSign,
  kAdd,
  kSubtract,
  kMultiply,
  kDivide,
  kModulo,
  kPower,
  kContainedIn,  // $
  kEqual,        // = and ==
  kNotEqual,     // <> != #
  kLess,
  kLessEqual,
  kGreater,
  kGreaterEqual,
};

/// A Cast target or a column type of Create Table: the type letter as
/// FoxPro writes it (C, V, N, F, B, I, Y, L, D, T, M...) and its size.
struct TypeSpec {
  char16_t letter = u'C';
  int width = -1;     // -1: not given
  int decimals = -1;  // -1: not given
};

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct Expr {
  ExprKind kind = ExprKind::kNull;
  Op op = Op::kNone;
  Text text;
  Text qualifier;
  bool flag = false;
  double number = 0;
  std::vector<ExprPtr> args;
  std::unique_ptr<Select> select;
  TypeSpec type;
  int depth = 1;  // levels of operands below and including this node
};

struct SelectItem {
  ExprPtr expr;
  Text alias;  // empty: none given
};

enum class JoinKind { kComma, kInner, kLeft, kRight, kFull, kCross };

struct TableRef {
  Text name;                        // empty for a derived table
  Text alias;
  std::unique_ptr<Select> derived;  // (select) as alias
  JoinKind join = JoinKind::kComma; // how it joins the tables before it
  ExprPtr on;
};

struct SelectCore {
  bool distinct = false;
  std::optional<int64_t> top;
  std::vector<SelectItem> items;
  std::vector<TableRef> from;
  ExprPtr where;
  std::vector<ExprPtr> group_by;
  ExprPtr having;
};

struct OrderTerm {
  ExprPtr expr;
  bool descending = false;
};

struct Select {
  std::vector<SelectCore> cores;     // joined by UNION
  std::vector<bool> union_all;       // between core i and i+1
  std::vector<OrderTerm> order_by;
};

struct Assignment {
  Text column;
  ExprPtr value;
};

struct Update {
  TableRef target;
  std::vector<Assignment> sets;
  std::vector<TableRef> from;
  ExprPtr where;
};

struct Insert {
  Text table;
  std::vector<Text> columns;              // empty: all, in table order
  std::vector<std::vector<ExprPtr>> rows;  // VALUES
  std::unique_ptr<Select> select;          // or INSERT ... SELECT
};

struct Delete {
  Text table;
  Text alias;
  ExprPtr where;
};

struct ColumnDecl {
  Text name;
  TypeSpec type;
  bool nullable = false;
};

struct CreateTable {
  Text table;
  std::vector<ColumnDecl> columns;
};

using Statement = std::variant<Select, Update, Insert, Delete, CreateTable>;

}  // namespace data::foxsql
