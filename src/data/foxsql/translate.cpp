#include "data/foxsql/translate.h"

#include <algorithm>
#include <cstdio>

#include "data/foxsql/collation.h"
#include "data/foxsql/function_steps.h"
#include "data/foxsql/functions.h"
#include "data/foxsql/parser.h"
#include "data/foxsql/statement_error.h"
#include "automation/cp936.h"

namespace data::foxsql {

using automation::EqualsNoCase;
using automation::TextView;
using automation::ToUtf8;

std::string QuoteName(TextView name) {
  std::string out = "\"";
  for (char c : ToUtf8(name)) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  return out + "\"";
}

std::string QuoteText(TextView text) {
  std::string out = "'";
  for (char c : ToUtf8(text)) {
    if (c == '\'') out.push_back('\'');
    out.push_back(c);
  }
  return out + "'";
}

namespace {

// A piece of SQLite text and what is known of its value.
struct Sql {
  std::string text;
  ValueKind kind = ValueKind::kAny;
  bool atomic = true;  // needs no parentheses as an operand

  std::string Operand() const { return atomic ? text : "(" + text + ")"; }
};

bool IsNumeric(ValueKind k) {
  return k == ValueKind::kNumber || k == ValueKind::kInteger || k == ValueKind::kCurrency;
}
bool IsDateKind(ValueKind k) { return k == ValueKind::kDate || k == ValueKind::kDateTime; }
// Known not to be text: comparisons need no text collation.
bool IsNotText(ValueKind k) {
  return IsNumeric(k) || IsDateKind(k) || k == ValueKind::kLogical;
}

const std::string kCollateFox = std::string(" COLLATE \"") + kFoxCollation + "\"";
const std::string kCollateAllTrim = std::string(" COLLATE \"") + kAllTrimCollation + "\"";

bool IsAllBlank(TextView s) {
  for (char16_t c : s)
    if (c != u' ') return false;
  return true;
}

class Translator {
 public:
  Translator(TextView statement, const ColumnRenames* renames)
      : statement_(statement), renames_(renames) {}

  Translation Run() {
    Statement parsed = Parse(statement_);
    if (auto* s = std::get_if<Select>(&parsed)) {
      out_.kind = StatementKind::kQuery;
      out_.computed_kinds.emplace();
      out_.sql = EmitSelect(*s, /*top_level=*/true);
    } else if (auto* u = std::get_if<Update>(&parsed)) {
      out_.kind = StatementKind::kUpdate;
      out_.sql = EmitUpdate(*u);
    } else if (auto* i = std::get_if<Insert>(&parsed)) {
      out_.kind = StatementKind::kInsert;
      out_.sql = EmitInsert(*i);
    } else if (auto* d = std::get_if<Delete>(&parsed)) {
      out_.kind = StatementKind::kDelete;
      out_.sql = EmitDelete(*d);
    } else {
      auto& c = std::get<CreateTable>(parsed);
      out_.kind = StatementKind::kCreateTable;
      out_.target = c.table;
      out_.create = std::move(c);
    }
    // A long name the statement gives a result column itself is no field.
    std::erase_if(out_.long_columns, [&](const Text& column) {
      return std::any_of(aliases_.begin(), aliases_.end(),
                         [&](const Text& alias) { return EqualsNoCase(alias, column); });
    });
    return std::move(out_);
  }

 private:
  [[noreturn]] void Fail(TextView message) const { ThrowStatementError(message, statement_); }

  // A column as SQLite sees it: a name longer than a field name can be is
  // noted, and written as its stored name once the runner has found it.
  std::string ColumnName(const Text& name) {
    if (automation::ToGbk(name).size() <= kFieldNameBytes) return QuoteName(name);
    if (renames_) {
      auto it = renames_->find(name);
      if (it != renames_->end()) return QuoteName(it->second);
    }
    auto& noted = out_.long_columns;
    if (std::find(noted.begin(), noted.end(), name) == noted.end()) noted.push_back(name);
    return QuoteName(name);
  }

  void NoteTable(const Text& name) {
    for (const auto& t : out_.tables)
      if (EqualsNoCase(t, name)) return;
    out_.tables.push_back(name);
  }

  // --- statements ---

  std::string EmitSelect(const Select& s, bool top_level) {
    std::string sql;
    for (size_t i = 0; i < s.cores.size(); ++i) {
      if (i > 0) sql += s.union_all[i - 1] ? " UNION ALL " : " UNION ";
      sql += EmitCore(s.cores[i], top_level && i == 0);
    }
    if (!s.order_by.empty()) {
      sql += " ORDER BY ";
      for (size_t i = 0; i < s.order_by.size(); ++i) {
        if (i > 0) sql += ", ";
        const OrderTerm& term = s.order_by[i];
        if (term.expr->kind == ExprKind::kNumber) {
          sql += ToUtf8(term.expr->text);  // a column position
        } else {
          Sql e = Emit(*term.expr);
          sql += e.Operand();
          if (!IsNotText(e.kind)) sql += kCollateFox;
        }
        sql += term.descending ? " DESC" : " ASC";
      }
    }
    if (s.cores.front().top) sql += " LIMIT " + std::to_string(*s.cores.front().top);
    return sql;
  }

  std::string EmitCore(const SelectCore& c, bool names_result) {
    std::string sql = c.distinct ? "SELECT DISTINCT " : "SELECT ";
    int unnamed = 0;
    for (size_t i = 0; i < c.items.size(); ++i) {
      if (i > 0) sql += ", ";
      const SelectItem& item = c.items[i];
      const Expr& e = *item.expr;
      if (e.kind == ExprKind::kStar) {
        sql += e.qualifier.empty() ? "*" : QuoteName(e.qualifier) + ".*";
        continue;
      }
      Sql v = Emit(e);
      sql += v.text;
      Text name = item.alias;
      if (!name.empty()) aliases_.push_back(name);
      if (e.kind != ExprKind::kColumn) {
        if (names_result && out_.computed_kinds) out_.computed_kinds->push_back(v.kind);
        if (name.empty()) name = ComputedName(e, unnamed);
      }
      if (!name.empty()) sql += " AS " + QuoteName(name);
    }
    if (!c.from.empty()) sql += " FROM " + EmitFrom(c.from);
    if (c.where) sql += " WHERE " + Emit(*c.where).text;
    if (!c.group_by.empty()) {
      sql += " GROUP BY ";
      for (size_t i = 0; i < c.group_by.size(); ++i) {
        if (i > 0) sql += ", ";
        sql += Emit(*c.group_by[i]).text;
      }
    }
    if (c.having) sql += " HAVING " + Emit(*c.having).text;
    return sql;
  }

  // FoxPro's names for unnamed computed columns: max_col for an aggregate
  // of a column, cnt for Count(*), Exp_n otherwise.
  Text ComputedName(const Expr& e, int& unnamed) {
    if (e.kind == ExprKind::kCall && e.args.size() == 1) {
      const FunctionSpec* f = FindFunction(e.text);
      if (f && f->form == FunctionForm::kAggregate) {
        if (e.args[0]->kind == ExprKind::kStar) return u"cnt";
        if (e.args[0]->kind == ExprKind::kColumn)
          return automation::AsciiLower(f->name) + u"_" + e.args[0]->text;
      }
    }
    return u"Exp_" + automation::FromAscii(std::to_string(++unnamed));
  }

  std::string EmitFrom(const std::vector<TableRef>& refs) {
    std::string sql;
    for (size_t i = 0; i < refs.size(); ++i) {
      const TableRef& r = refs[i];
      if (i > 0) sql += JoinWord(r.join);
      sql += EmitTableRef(r);
      if (r.on) sql += " ON " + Emit(*r.on).Operand();
    }
    return sql;
  }

  static const char* JoinWord(JoinKind join) {
    switch (join) {
      case JoinKind::kComma: return ", ";
      case JoinKind::kInner: return " JOIN ";
      case JoinKind::kLeft: return " LEFT JOIN ";
      case JoinKind::kRight: return " RIGHT JOIN ";
      case JoinKind::kFull: return " FULL JOIN ";
      case JoinKind::kCross: return " CROSS JOIN ";
    }
    return ", ";
  }

  std::string EmitTableRef(const TableRef& r) {
    std::string sql;
    if (r.derived) {
      out_.computed_kinds.reset();  // its columns may be computed
      sql = "(" + EmitSelect(*r.derived, false) + ")";
    } else {
      NoteTable(r.name);
      sql = QuoteName(r.name);
    }
    if (!r.alias.empty()) sql += " AS " + QuoteName(r.alias);
    return sql;
  }

  std::string EmitUpdate(const Update& u) {
    out_.target = u.target.name;
    NoteTable(u.target.name);
    std::string sql = "UPDATE " + QuoteName(u.target.name) + " SET ";
    for (size_t i = 0; i < u.sets.size(); ++i) {
      if (i > 0) sql += ", ";
      sql += ColumnName(u.sets[i].column) + " = " + Emit(*u.sets[i].value).text;
    }
    std::vector<std::string> conditions;
    const TableRef* first = u.from.empty() ? nullptr : &u.from.front();
    if (first && !first->derived && EqualsNoCase(first->name, u.target.name) &&
        (first->alias.empty() || EqualsNoCase(first->alias, u.target.name))) {
      // FoxPro may list the target again first (Update t Set ... From t Join
      // s On ...); SQLite takes the target as given, so that entry goes and
      // the inner joins become a list whose conditions join the Where clause.
      std::string from;
      for (size_t i = 1; i < u.from.size(); ++i) {
        const TableRef& r = u.from[i];
        if (r.join == JoinKind::kLeft || r.join == JoinKind::kRight || r.join == JoinKind::kFull)
          Fail(u"An outer join in the From list of an Update");
        from += (i > 1 ? ", " : "") + EmitTableRef(r);
        if (r.on) conditions.push_back(Emit(*r.on).Operand());
      }
      if (!from.empty()) sql += " FROM " + from;
    } else if (first) {
      sql += " FROM " + EmitFrom(u.from);
    }
    if (u.where) conditions.push_back(Emit(*u.where).Operand());
    for (size_t i = 0; i < conditions.size(); ++i)
      sql += (i == 0 ? " WHERE " : " AND ") + conditions[i];
    return sql;
  }

  std::string EmitInsert(const Insert& ins) {
    out_.target = ins.table;
    NoteTable(ins.table);
    out_.insert_columns = ins.columns;
    if (renames_)
      for (Text& c : out_.insert_columns)
        if (auto it = renames_->find(c); it != renames_->end()) c = it->second;
    std::string sql = "INSERT INTO " + QuoteName(ins.table);
    if (!ins.columns.empty()) {
      sql += " (";
      for (size_t i = 0; i < ins.columns.size(); ++i)
        sql += (i > 0 ? ", " : "") + ColumnName(ins.columns[i]);
      sql += ")";
    }
    if (ins.select) return sql + " " + EmitSelect(*ins.select, false);
    sql += " VALUES ";
    for (size_t r = 0; r < ins.rows.size(); ++r) {
      if (r > 0) sql += ", ";
      sql += "(";
      for (size_t i = 0; i < ins.rows[r].size(); ++i)
        sql += (i > 0 ? ", " : "") + Emit(*ins.rows[r][i]).text;
      sql += ")";
    }
    return sql;
  }

  std::string EmitDelete(const Delete& d) {
    out_.target = d.table;
    NoteTable(d.table);
    std::string sql = "DELETE FROM " + QuoteName(d.table);
    if (!d.alias.empty()) sql += " AS " + QuoteName(d.alias);
    if (d.where) sql += " WHERE " + Emit(*d.where).text;
    return sql;
  }

  // --- expressions ---

  Sql Emit(const Expr& e) {
    switch (e.kind) {
      case ExprKind::kNull: return {"NULL"};
      case ExprKind::kBool: return {e.flag ? "1" : "0", ValueKind::kLogical};
      case ExprKind::kNumber: {
        std::string n = ToUtf8(e.text);
        if (n[0] == '.') n = "0" + n;
        bool whole = n.find_first_of(".eE") == std::string::npos;
        return {n, whole ? ValueKind::kInteger : ValueKind::kNumber};
      }
      case ExprKind::kText: return {QuoteText(e.text), ValueKind::kText};
      case ExprKind::kDate: {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17g", e.number);
        std::string n = buf;
        if (n.find_first_of(".e") == std::string::npos) n += ".0";
        return {n, e.flag ? ValueKind::kDateTime : ValueKind::kDate};
      }
      case ExprKind::kColumn:
        return {e.qualifier.empty() ? ColumnName(e.text)
                                    : QuoteName(e.qualifier) + "." + ColumnName(e.text)};
      case ExprKind::kStar: Fail(u"* is allowed only in a select list or Count(*)");
      case ExprKind::kUnary: {
        Sql a = Emit(*e.args[0]);
        if (e.op == Op::kNot) return {"NOT " + a.Operand(), ValueKind::kLogical, false};
        return {"-" + a.Operand(), a.kind, false};
      }
      case ExprKind::kBinary: return EmitBinary(e);
      case ExprKind::kLike: {
        Sql a = Emit(*e.args[0]), p = Emit(*e.args[1]);
        std::string call = "fox_like(" + a.text + ", " + p.text + ")";
        if (e.flag) return {"NOT " + call, ValueKind::kLogical, false};
        return {call, ValueKind::kLogical};
      }
      case ExprKind::kIn: return EmitIn(e, 1);
      case ExprKind::kBetween: return EmitBetween(*e.args[0], *e.args[1], *e.args[2], e.flag);
      case ExprKind::kIsNull:
        return {Emit(*e.args[0]).Operand() + (e.flag ? " IS NOT NULL" : " IS NULL"),
                ValueKind::kLogical, false};
      case ExprKind::kExists:
        return {"EXISTS (" + EmitSelect(*e.select, false) + ")", ValueKind::kLogical};
      case ExprKind::kSubquery: return {"(" + EmitSelect(*e.select, false) + ")"};
      case ExprKind::kCall: return EmitCall(e);
      case ExprKind::kCast: return EmitCast(e);
    }
    Fail(u"Unknown expression");
  }

  // AllTrim(col) / Trim(col) / RTrim(col) / LTrim(col): the column and the
  // collation under which comparing the column itself with `literal`
  // gives the same answer; nothing when no such form exists.
  std::optional<std::string> TrimmedColumnCollation(const Expr& call, const Expr& literal) {
    if (call.kind != ExprKind::kCall || call.args.size() != 1 ||
        call.args[0]->kind != ExprKind::kColumn || literal.kind != ExprKind::kText)
      return std::nullopt;
    const FunctionSpec* f = FindFunction(call.text);
    if (!f) return std::nullopt;
    std::string_view name = f->sqlite_name ? f->sqlite_name : "";
    // Trailing blanks never count, so Trim(col) = 'x' is col = 'x'.
    if (name == "fox_rtrim") return kCollateFox;
    // Leading blanks of the column are dropped by the function; the rewrite
    // drops them on both sides, which is the same unless the text itself
    // starts with a blank (then the function's result could never equal it).
    if ((name == "fox_alltrim" || name == "fox_ltrim") &&
        (literal.text.empty() || literal.text[0] != u' ' || IsAllBlank(literal.text)))
      return kCollateAllTrim;
    return std::nullopt;
  }

  Sql EmitBinary(const Expr& e) {
    const Expr& x = *e.args[0];
    const Expr& y = *e.args[1];
    switch (e.op) {
      case Op::kAnd:
      case Op::kOr: {
        Sql a = Emit(x), b = Emit(y);
        return {a.Operand() + (e.op == Op::kAnd ? " AND " : " OR ") + b.Operand(),
                ValueKind::kLogical, false};
      }
      case Op::kEqual:
      case Op::kNotEqual:
      case Op::kLess:
      case Op::kLessEqual:
      case Op::kGreater:
      case Op::kGreaterEqual: return EmitComparison(e.op, x, y);
      case Op::kContainedIn: {
        Sql a = Emit(x), b = Emit(y);
        return {"fox_contains(" + a.text + ", " + b.text + ")", ValueKind::kLogical};
      }
      default: break;
    }
    Sql a = Emit(x), b = Emit(y);
    auto infix = [&](const char* op, ValueKind kind) {
      return Sql{a.Operand() + " " + op + " " + b.Operand(), kind, false};
    };
    auto call = [&](const char* fn, ValueKind kind) {
      return Sql{std::string(fn) + "(" + a.text + ", " + b.text + ")", kind};
    };
    bool whole = a.kind == ValueKind::kInteger && b.kind == ValueKind::kInteger;
    switch (e.op) {
      case Op::kAdd:
        if (IsNumeric(a.kind) && IsNumeric(b.kind))
          return infix("+", whole ? ValueKind::kInteger : ValueKind::kNumber);
        if (a.kind == ValueKind::kText && b.kind == ValueKind::kText)
          return infix("||", ValueKind::kText);
        if (IsDateKind(a.kind) && IsNumeric(b.kind)) return infix("+", a.kind);
        return call("fox_add", a.kind == ValueKind::kText || b.kind == ValueKind::kText
                                   ? ValueKind::kText
                                   : ValueKind::kAny);
      case Op::kSubtract:
        if (IsNumeric(a.kind) && IsNumeric(b.kind))
          return infix("-", whole ? ValueKind::kInteger : ValueKind::kNumber);
        if (IsDateKind(a.kind) && IsDateKind(b.kind)) return infix("-", ValueKind::kNumber);
        if (IsDateKind(a.kind) && IsNumeric(b.kind)) return infix("-", a.kind);
        return call("fox_sub", a.kind == ValueKind::kText ? ValueKind::kText : ValueKind::kAny);
      case Op::kMultiply: return infix("*", whole ? ValueKind::kInteger : ValueKind::kNumber);
      case Op::kDivide: return call("fox_div", ValueKind::kNumber);
      case Op::kModulo: return call("fox_mod", ValueKind::kNumber);
      case Op::kPower: return call("fox_pow", ValueKind::kNumber);
      default: Fail(u"Unknown operator");
    }
  }

  Sql EmitComparison(Op op, const Expr& x, const Expr& y) {
    static constexpr std::pair<Op, const char*> kOps[] = {
        {Op::kEqual, "="},     {Op::kNotEqual, "<>"},   {Op::kLess, "<"},
        {Op::kLessEqual, "<="}, {Op::kGreater, ">"},    {Op::kGreaterEqual, ">="},
    };
    const char* sym = "=";
    for (const auto& [o, s] : kOps)
      if (o == op) sym = s;
    if (op == Op::kEqual || op == Op::kNotEqual) {
      // Column first, so that the column's table can use the comparison.
      const Expr* call = &x;
      const Expr* literal = &y;
      if (y.kind == ExprKind::kCall) std::swap(call, literal);
      if (auto collation = TrimmedColumnCollation(*call, *literal))
        return {Emit(*call->args[0]).text + *collation + " " + sym + " " + QuoteText(literal->text),
                ValueKind::kLogical, false};
    }
    Sql a = Emit(x), b = Emit(y);
    std::string left = a.Operand();
    if (!IsNotText(a.kind) && !IsNotText(b.kind)) left += kCollateFox;
    return {left + " " + sym + " " + b.Operand(), ValueKind::kLogical, false};
  }

  // x [NOT] IN (a, b...) with args[first..] as the list, or IN (select).
  Sql EmitIn(const Expr& e, size_t first) {
    const Expr& x = *e.args[0];
    std::string list;
    bool all_text = true;
    std::optional<std::string> collation;
    for (size_t i = first; i < e.args.size(); ++i) {
      const Expr& item = *e.args[i];
      if (i > first) list += ", ";
      list += Emit(item).text;
      auto c = TrimmedColumnCollation(x, item);
      if (!c || (collation && *collation != *c)) all_text = false;
      collation = c;
    }
    std::string left;
    if (e.select) {
      Sql a = Emit(x);
      left = a.Operand() + (IsNotText(a.kind) ? "" : kCollateFox);
      list = EmitSelect(*e.select, false);
    } else if (all_text && collation) {
      left = Emit(*x.args[0]).text + *collation;
    } else {
      Sql a = Emit(x);
      left = a.Operand() + (IsNotText(a.kind) ? "" : kCollateFox);
    }
    return {left + (e.flag ? " NOT IN (" : " IN (") + list + ")", ValueKind::kLogical, false};
  }

  Sql EmitBetween(const Expr& x, const Expr& lo, const Expr& hi, bool negated) {
    Sql a = Emit(x), b = Emit(lo), c = Emit(hi);
    std::string left = a.Operand();
    if (!IsNotText(a.kind)) left += kCollateFox;
    return {left + (negated ? " NOT BETWEEN " : " BETWEEN ") + b.Operand() + " AND " + c.Operand(),
            ValueKind::kLogical, false};
  }

  Sql EmitCall(const Expr& e) {
    const FunctionSpec* f = FindFunction(e.text);
    if (!f) Fail(u"Unknown function " + e.text);
    int n = static_cast<int>(e.args.size());
    if (n < f->min_args || (f->max_args >= 0 && n > f->max_args))
      Fail(u"Wrong number of arguments to " + e.text);
    bool star = n == 1 && e.args[0]->kind == ExprKind::kStar;
    if (star && !EqualsNoCase(f->name, u"Count")) Fail(u"* is allowed only in Count(*)");
    if (e.flag && f->form != FunctionForm::kAggregate) Fail(u"Distinct inside " + e.text);
    if (f->form == FunctionForm::kScalar)
      if (auto chain = SliceChain(e)) return {*chain, f->result};

    std::vector<Sql> args;
    if (!star)
      for (const auto& a : e.args) args.push_back(Emit(*a));
    auto joined = [&] {
      std::string s;
      for (size_t i = 0; i < args.size(); ++i) s += (i > 0 ? ", " : "") + args[i].text;
      return s;
    };
    auto common_kind = [](const Sql& a, const Sql& b) {
      if (a.kind == b.kind) return a.kind;
      if (a.text == "NULL") return b.kind;
      if (b.text == "NULL") return a.kind;
      if (IsNumeric(a.kind) && IsNumeric(b.kind)) return ValueKind::kNumber;
      return ValueKind::kAny;
    };
    switch (f->form) {
      case FunctionForm::kScalar:
        return {std::string(f->sqlite_name) + "(" + joined() + ")", f->result};
      case FunctionForm::kAggregate: {
        std::string inner = star ? "*" : (e.flag ? "DISTINCT " : "") + joined();
        ValueKind kind = f->result;
        if (kind == ValueKind::kAny && args.size() == 1) kind = args[0].kind;
        return {std::string(f->sqlite_name) + "(" + inner + ")", kind};
      }
      case FunctionForm::kIif:
        return {"CASE WHEN " + args[0].Operand() + " THEN " + args[1].Operand() + " ELSE " +
                    args[2].Operand() + " END",
                common_kind(args[1], args[2])};
      case FunctionForm::kNvl:
        return {"ifnull(" + joined() + ")", common_kind(args[0], args[1])};
      case FunctionForm::kIsNull:
        return {args[0].Operand() + " IS NULL", ValueKind::kLogical, false};
      case FunctionForm::kInList: return EmitIn(e, 1);
      case FunctionForm::kBetween:
        return EmitBetween(*e.args[0], *e.args[1], *e.args[2], false);
      case FunctionForm::kInternal: break;
    }
    Fail(u"Unknown function " + e.text);
  }

  // A whole number written as such (no sign, point or exponent).
  static std::optional<int64_t> WholeLiteral(const Expr& e) {
    if (e.kind != ExprKind::kNumber || e.text.empty() || e.text.size() > 15) return std::nullopt;
    int64_t n = 0;
    for (char16_t c : e.text) {
      if (c < u'0' || c > u'9') return std::nullopt;
      n = n * 10 + (c - u'0');
    }
    return n;
  }

  // The step (function_steps.h) of a one-argument function or a Cast, if
  // it is one.
  static std::optional<Step> CallStep(const Expr& e) {
    if (e.kind == ExprKind::kCast) {
      const TypeSpec& t = e.type;
      switch (t.letter) {
        case u'I': return Step{StepKind::kCastI};
        case u'N':
        case u'F': return Step{StepKind::kCastN, t.width >= 0 ? std::max(t.decimals, 0) : -1};
        case u'B': return Step{StepKind::kCastN};
        case u'C': return Step{StepKind::kCastC, t.width >= 0 ? t.width : -1};
        case u'V': return Step{StepKind::kCastV, t.width >= 0 ? t.width : -1};
        case u'M': return Step{StepKind::kCastV};
        default: return std::nullopt;
      }
    }
    if (e.kind != ExprKind::kCall || e.flag || e.args.empty() || e.args[0]->kind == ExprKind::kStar)
      return std::nullopt;
    const FunctionSpec* f = FindFunction(e.text);
    if (!f || f->form != FunctionForm::kScalar) return std::nullopt;
    static constexpr std::pair<std::string_view, StepKind> kOneArgument[] = {
        {"fox_alltrim", StepKind::kAllTrim}, {"fox_rtrim", StepKind::kRTrim}, {"fox_ltrim", StepKind::kLTrim},
        {"fox_upper", StepKind::kUpper},     {"fox_lower", StepKind::kLower}, {"fox_val", StepKind::kVal},
        {"fox_int", StepKind::kInt},
    };
    const std::string_view name = f->sqlite_name;
    for (const auto& [sqlite_name, kind] : kOneArgument)
      if (name == sqlite_name) return e.args.size() == 1 ? std::optional<Step>(Step{kind}) : std::nullopt;
    if (name == "fox_round" && e.args.size() == 2)
      if (auto d = WholeLiteral(*e.args[1]); d && *d <= 18) return Step{StepKind::kRound, *d};
    return std::nullopt;
  }

  // Steps over SubStr(x, start, count) with literal numbers, each taking
  // what the one inside gives (no step that would fail on its type): one
  // fox_slice call instead of a call for each, with the same results.
  std::optional<std::string> SliceChain(const Expr& outer) {
    std::vector<Step> steps;  // outermost first
    const Expr* e = &outer;
    while (auto step = CallStep(*e)) {
      steps.push_back(*step);
      e = e->args[0].get();
    }
    if (steps.empty() || e->kind != ExprKind::kCall || e->flag || e->args.size() != 3) return std::nullopt;
    const FunctionSpec* f = FindFunction(e->text);
    if (!f || std::string_view(f->sqlite_name ? f->sqlite_name : "") != "fox_substr") return std::nullopt;
    auto start = WholeLiteral(*e->args[1]), count = WholeLiteral(*e->args[2]);
    if (!start || !count || *start < 1) return std::nullopt;
    bool text = true;  // what the inner step gives
    std::string list;
    for (auto it = steps.rbegin(); it != steps.rend(); ++it) {
      switch (it->kind) {
        case StepKind::kAllTrim:
        case StepKind::kRTrim:
        case StepKind::kLTrim:
        case StepKind::kUpper:
        case StepKind::kLower:
          if (!text) return std::nullopt;
          break;
        case StepKind::kInt:
        case StepKind::kRound:
          if (text) return std::nullopt;
          break;
        case StepKind::kVal:
        case StepKind::kCastI:
        case StepKind::kCastN: text = false; break;
        case StepKind::kCastC:
        case StepKind::kCastV: text = true; break;
      }
      list += (list.empty() ? "" : " ") + StepText(*it);
    }
    return "fox_slice(" + Emit(*e->args[0]).text + ", " + std::to_string(*start) + ", " + std::to_string(*count) +
           ", '" + list + "')";
  }

  Sql EmitCast(const Expr& e) {
    const TypeSpec& t = e.type;
    if (auto chain = SliceChain(e)) {
      const bool text = t.letter == u'C' || t.letter == u'V' || t.letter == u'M';
      return {*chain, text ? ValueKind::kText : t.letter == u'I' ? ValueKind::kInteger : ValueKind::kNumber};
    }
    Sql a = Emit(*e.args[0]);
    auto with = [&](const char* fn, std::initializer_list<int> extra, ValueKind kind) {
      std::string s = std::string(fn) + "(" + a.text;
      for (int v : extra)
        if (v >= 0) s += ", " + std::to_string(v);
      return Sql{s + ")", kind};
    };
    switch (t.letter) {
      case u'I': return with("fox_cast_i", {}, ValueKind::kInteger);
      case u'N':
      case u'F':
        return with("fox_cast_n", {t.width, t.width >= 0 ? std::max(t.decimals, 0) : -1},
                    ValueKind::kNumber);
      case u'B': return with("fox_cast_n", {}, ValueKind::kNumber);
      case u'Y': return with("fox_cast_y", {}, ValueKind::kCurrency);
      case u'C': return with("fox_cast_c", {t.width}, ValueKind::kText);
      case u'V': return with("fox_cast_v", {t.width}, ValueKind::kText);
      case u'M': return with("fox_cast_v", {}, ValueKind::kText);
      case u'L': return with("fox_cast_l", {}, ValueKind::kLogical);
      case u'D': return with("fox_cast_d", {}, ValueKind::kDate);
      case u'T': return with("fox_cast_t", {}, ValueKind::kDateTime);
      default: Fail(u"Cast to this type is not supported");
    }
  }

  TextView statement_;
  const ColumnRenames* renames_;
  std::vector<Text> aliases_;  // names the statement gives its result columns
  Translation out_;
};

}  // namespace

Translation Translate(TextView statement, const ColumnRenames* renames) {
  return Translator(statement, renames).Run();
}

}  // namespace data::foxsql
