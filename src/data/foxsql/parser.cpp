#include "data/foxsql/parser.h"

#include <algorithm>
#include <cstdlib>

#include "automation/text.h"
#include "data/foxsql/lexer.h"
#include "data/foxsql/statement_error.h"

namespace data::foxsql {
namespace {

using automation::EqualsNoCase;
using automation::TextView;

// Words that end a clause and so can never be a bare name or alias.
constexpr std::u16string_view kReserved[] = {
    u"select", u"from",  u"where", u"group",  u"order",   u"by",     u"having", u"as",
    u"and",    u"or",    u"not",   u"in",     u"like",    u"between", u"is",    u"null",
    u"join",   u"inner", u"left",  u"right",  u"full",    u"outer",  u"cross",  u"on",
    u"union",  u"set",   u"values", u"into",  u"asc",     u"desc",   u"distinct", u"all",
    u"top",    u"exists", u"update", u"insert", u"delete", u"create", u"table", u"escape",
};

bool IsReserved(TextView word) {
  return std::any_of(std::begin(kReserved), std::end(kReserved),
                     [&](std::u16string_view r) { return EqualsNoCase(r, word); });
}

ExprPtr MakeExpr(ExprKind kind) {
  auto e = std::make_unique<Expr>();
  e->kind = kind;
  return e;
}

// How deep statements may nest (parentheses, subqueries, NOT chains) and
// how tall an expression may grow (a + b + c ...), so that a hostile
// statement meets an error instead of exhausting the stack.
constexpr int kMaxNesting = 100;
constexpr int kMaxExprDepth = 400;

class Parser {
 public:
  explicit Parser(TextView statement) : statement_(statement), tokens_(Tokenize(statement)) {}

  Statement Run() {
    Statement s = ParseStatement();
    AcceptSymbol(u";");
    if (Peek().kind != TokenKind::kEnd) SyntaxError();
    return s;
  }

 private:
  // Counts one level of nesting for the scope of a recursive call.
  class Nesting {
   public:
    explicit Nesting(Parser& p) : p_(p) {
      if (++p_.nesting_ > kMaxNesting) ThrowStatementError(u"The statement is nested too deeply", p_.statement_);
    }
    ~Nesting() { --p_.nesting_; }

   private:
    Parser& p_;
  };

  // Takes the node's height from its operands, refusing one too tall.
  ExprPtr Finish(ExprPtr e) {
    for (const auto& a : e->args) e->depth = std::max(e->depth, a->depth + 1);
    if (e->depth > kMaxExprDepth) ThrowStatementError(u"The expression is too long", statement_);
    return e;
  }

  ExprPtr MakeBinary(Op op, ExprPtr a, ExprPtr b) {
    auto e = MakeExpr(ExprKind::kBinary);
    e->op = op;
    e->args.push_back(std::move(a));
    e->args.push_back(std::move(b));
    return Finish(std::move(e));
  }

  // --- tokens ---
  const Token& Peek(size_t ahead = 0) const {
    return tokens_[std::min(pos_ + ahead, tokens_.size() - 1)];
  }
  const Token& Next() {
    const Token& t = Peek();
    if (pos_ < tokens_.size() - 1) ++pos_;
    return t;
  }
  bool IsKeyword(const Token& t, std::u16string_view word) const {
    return t.kind == TokenKind::kName && EqualsNoCase(t.text, word);
  }
  bool IsSymbol(const Token& t, std::u16string_view s) const {
    return t.kind == TokenKind::kSymbol && t.text == s;
  }
  bool AcceptKeyword(std::u16string_view word) {
    if (!IsKeyword(Peek(), word)) return false;
    Next();
    return true;
  }
  void ExpectKeyword(std::u16string_view word) {
    if (!AcceptKeyword(word)) SyntaxError();
  }
  bool AcceptSymbol(std::u16string_view s) {
    if (!IsSymbol(Peek(), s)) return false;
    Next();
    return true;
  }
  void ExpectSymbol(std::u16string_view s) {
    if (!AcceptSymbol(s)) SyntaxError();
  }
  bool AcceptAnd() {
    if (Peek().kind == TokenKind::kDotAnd) return Next(), true;
    return AcceptKeyword(u"and");
  }
  bool AcceptOr() {
    if (Peek().kind == TokenKind::kDotOr) return Next(), true;
    return AcceptKeyword(u"or");
  }
  bool AcceptNot() {
    if (Peek().kind == TokenKind::kDotNot) return Next(), true;
    if (IsSymbol(Peek(), u"!") && !IsSymbol(Peek(1), u"=")) return Next(), true;
    return AcceptKeyword(u"not");
  }
  bool IsNameToken(const Token& t) const {
    return t.kind == TokenKind::kQuotedName || (t.kind == TokenKind::kName && !IsReserved(t.text));
  }

  [[noreturn]] void SyntaxError() const {
    const Token& t = Peek();
    if (t.kind == TokenKind::kEnd) ThrowStatementError(u"Syntax error at the end", statement_);
    Text near = t.kind == TokenKind::kText ? u"'" + t.text + u"'" : t.text;
    ThrowStatementError(u"Syntax error near " + near, statement_);
  }
  [[noreturn]] void Unsupported(TextView what) const {
    ThrowStatementError(Text(what) + u" is not supported", statement_);
  }

  Text ParseName() {
    if (!IsNameToken(Peek())) SyntaxError();
    return Next().text;
  }

  int64_t ParseWholeNumber() {
    if (Peek().kind != TokenKind::kNumber) SyntaxError();
    std::string digits = automation::ToUtf8(Next().text);
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 15)
      SyntaxError();
    return std::strtoll(digits.c_str(), nullptr, 10);
  }

  // --- statements ---
  Statement ParseStatement() {
    if (IsKeyword(Peek(), u"select")) return ParseSelect();
    if (AcceptKeyword(u"update")) return ParseUpdate();
    if (AcceptKeyword(u"insert")) return ParseInsert();
    if (AcceptKeyword(u"delete")) return ParseDelete();
    if (AcceptKeyword(u"create")) return ParseCreate();
    SyntaxError();
  }

  Select ParseSelect() {
    Nesting nesting(*this);
    Select s;
    s.cores.push_back(ParseCore());
    while (AcceptKeyword(u"union")) {
      s.union_all.push_back(AcceptKeyword(u"all"));
      s.cores.push_back(ParseCore());
    }
    if (AcceptKeyword(u"order")) {
      ExpectKeyword(u"by");
      do {
        OrderTerm term;
        term.expr = ParseExpr();
        if (AcceptKeyword(u"desc"))
          term.descending = true;
        else
          AcceptKeyword(u"asc");
        s.order_by.push_back(std::move(term));
      } while (AcceptSymbol(u","));
    }
    return s;
  }

  SelectCore ParseCore() {
    ExpectKeyword(u"select");
    SelectCore c;
    for (;;) {
      if (AcceptKeyword(u"distinct")) {
        c.distinct = true;
      } else if (AcceptKeyword(u"all")) {
      } else if (AcceptKeyword(u"top")) {
        c.top = ParseWholeNumber();
        if (IsKeyword(Peek(), u"percent")) Unsupported(u"Top ... Percent");
      } else {
        break;
      }
    }
    do c.items.push_back(ParseItem());
    while (AcceptSymbol(u","));
    if (AcceptKeyword(u"from")) ParseFromList(c.from);
    if (AcceptKeyword(u"where")) c.where = ParseExpr();
    if (AcceptKeyword(u"group")) {
      ExpectKeyword(u"by");
      do c.group_by.push_back(ParseExpr());
      while (AcceptSymbol(u","));
    }
    if (AcceptKeyword(u"having")) c.having = ParseExpr();
    if (IsKeyword(Peek(), u"into")) Unsupported(u"Select ... Into");
    return c;
  }

  SelectItem ParseItem() {
    SelectItem item;
    if (AcceptSymbol(u"*")) {
      item.expr = MakeExpr(ExprKind::kStar);
      return item;
    }
    if (IsNameToken(Peek()) && IsSymbol(Peek(1), u".") && IsSymbol(Peek(2), u"*")) {
      item.expr = MakeExpr(ExprKind::kStar);
      item.expr->qualifier = Next().text;
      Next();
      Next();
      return item;
    }
    item.expr = ParseExpr();
    item.alias = ParseAlias();
    return item;
  }

  // [As] name; a text in quotes may also name a column.
  Text ParseAlias() {
    if (AcceptKeyword(u"as")) {
      if (Peek().kind == TokenKind::kText) return Next().text;
      return ParseName();
    }
    if (IsNameToken(Peek())) return Next().text;
    return {};
  }

  void ParseFromList(std::vector<TableRef>& out) {
    out.push_back(ParseTableRef(JoinKind::kComma));
    for (;;) {
      if (AcceptSymbol(u",")) {
        out.push_back(ParseTableRef(JoinKind::kComma));
        continue;
      }
      JoinKind kind;
      if (AcceptKeyword(u"join")) {
        kind = JoinKind::kInner;
      } else if (AcceptKeyword(u"inner")) {
        kind = JoinKind::kInner;
        ExpectKeyword(u"join");
      } else if (AcceptKeyword(u"cross")) {
        kind = JoinKind::kCross;
        ExpectKeyword(u"join");
      } else if (IsKeyword(Peek(), u"left") || IsKeyword(Peek(), u"right") ||
                 IsKeyword(Peek(), u"full")) {
        kind = IsKeyword(Peek(), u"left")    ? JoinKind::kLeft
               : IsKeyword(Peek(), u"right") ? JoinKind::kRight
                                             : JoinKind::kFull;
        Next();
        AcceptKeyword(u"outer");
        ExpectKeyword(u"join");
      } else {
        return;
      }
      TableRef ref = ParseTableRef(kind);
      if (kind != JoinKind::kCross) {
        ExpectKeyword(u"on");
        ref.on = ParseExpr();
      }
      out.push_back(std::move(ref));
    }
  }

  TableRef ParseTableRef(JoinKind join) {
    TableRef ref;
    ref.join = join;
    if (AcceptSymbol(u"(")) {
      ref.derived = std::make_unique<Select>(ParseSelect());
      ExpectSymbol(u")");
      ref.alias = ParseAlias();
      if (ref.alias.empty()) SyntaxError();
      return ref;
    }
    ref.name = ParseName();
    ref.alias = ParseAlias();
    return ref;
  }

  Update ParseUpdate() {
    Update u;
    u.target.name = ParseName();
    ExpectKeyword(u"set");
    do {
      Assignment a;
      a.column = ParseName();
      if (AcceptSymbol(u".")) a.column = ParseName();  // Play.col: the target's column
      ExpectSymbol(u"=");
      a.value = ParseExpr();
      u.sets.push_back(std::move(a));
    } while (AcceptSymbol(u","));
    if (AcceptKeyword(u"from")) ParseFromList(u.from);
    if (AcceptKeyword(u"where")) u.where = ParseExpr();
    return u;
  }

  Insert ParseInsert() {
    ExpectKeyword(u"into");
    Insert ins;
    ins.table = ParseName();
    if (AcceptSymbol(u"(")) {
      do ins.columns.push_back(ParseName());
      while (AcceptSymbol(u","));
      ExpectSymbol(u")");
    }
    if (IsKeyword(Peek(), u"select")) {
      ins.select = std::make_unique<Select>(ParseSelect());
      return ins;
    }
    ExpectKeyword(u"values");
    do {
      ExpectSymbol(u"(");
      std::vector<ExprPtr> row;
      do row.push_back(ParseExpr());
      while (AcceptSymbol(u","));
      ExpectSymbol(u")");
      ins.rows.push_back(std::move(row));
    } while (AcceptSymbol(u","));
    return ins;
  }

  Delete ParseDelete() {
    ExpectKeyword(u"from");
    Delete d;
    d.table = ParseName();
    d.alias = ParseAlias();
    if (AcceptKeyword(u"where")) d.where = ParseExpr();
    return d;
  }

  CreateTable ParseCreate() {
    ExpectKeyword(u"table");
    CreateTable c;
    c.table = Peek().kind == TokenKind::kText ? Next().text : ParseName();
    AcceptKeyword(u"free");
    ExpectSymbol(u"(");
    do {
      ColumnDecl col;
      col.name = ParseName();
      col.type = ParseType();
      if (AcceptKeyword(u"null")) {
        col.nullable = true;
      } else if (AcceptKeyword(u"not")) {
        ExpectKeyword(u"null");
      }
      c.columns.push_back(std::move(col));
    } while (AcceptSymbol(u","));
    ExpectSymbol(u")");
    return c;
  }

  TypeSpec ParseType() {
    static constexpr std::pair<std::u16string_view, char16_t> kTypes[] = {
        {u"c", u'C'},         {u"char", u'C'},      {u"character", u'C'}, {u"v", u'V'},
        {u"varchar", u'V'},   {u"n", u'N'},         {u"num", u'N'},       {u"numeric", u'N'},
        {u"decimal", u'N'},   {u"f", u'F'},         {u"float", u'F'},     {u"b", u'B'},
        {u"double", u'B'},    {u"i", u'I'},         {u"int", u'I'},       {u"integer", u'I'},
        {u"y", u'Y'},         {u"currency", u'Y'},  {u"money", u'Y'},     {u"l", u'L'},
        {u"logical", u'L'},   {u"d", u'D'},         {u"date", u'D'},      {u"t", u'T'},
        {u"datetime", u'T'},  {u"m", u'M'},         {u"memo", u'M'},      {u"g", u'G'},
        {u"general", u'G'},   {u"w", u'W'},         {u"blob", u'W'},      {u"q", u'Q'},
        {u"varbinary", u'Q'},
    };
    if (Peek().kind != TokenKind::kName) SyntaxError();
    TypeSpec spec;
    bool known = false;
    for (const auto& [word, letter] : kTypes)
      if (EqualsNoCase(word, Peek().text)) {
        spec.letter = letter;
        known = true;
      }
    if (!known) ThrowStatementError(u"Unknown type " + Peek().text, statement_);
    Next();
    if (AcceptSymbol(u"(")) {
      spec.width = static_cast<int>(ParseWholeNumber());
      if (AcceptSymbol(u",")) spec.decimals = static_cast<int>(ParseWholeNumber());
      ExpectSymbol(u")");
    }
    return spec;
  }

  // --- expressions, lowest precedence first ---
  ExprPtr ParseExpr() {
    Nesting nesting(*this);
    ExprPtr e = ParseAndExpr();
    while (AcceptOr()) e = MakeBinary(Op::kOr, std::move(e), ParseAndExpr());
    return e;
  }

  ExprPtr ParseAndExpr() {
    ExprPtr e = ParseNotExpr();
    while (AcceptAnd()) e = MakeBinary(Op::kAnd, std::move(e), ParseNotExpr());
    return e;
  }

  ExprPtr ParseNotExpr() {
    if (AcceptNot()) {
      Nesting nesting(*this);
      auto e = MakeExpr(ExprKind::kUnary);
      e->op = Op::kNot;
      e->args.push_back(ParseNotExpr());
      return Finish(std::move(e));
    }
    return ParseComparison();
  }

  ExprPtr ParseComparison() {
    ExprPtr left = ParseAdditive();
    static constexpr std::pair<std::u16string_view, Op> kOps[] = {
        {u"=", Op::kEqual},        {u"==", Op::kEqual},     {u"<>", Op::kNotEqual},
        {u"!=", Op::kNotEqual},    {u"#", Op::kNotEqual},   {u"<", Op::kLess},
        {u"<=", Op::kLessEqual},   {u">", Op::kGreater},    {u">=", Op::kGreaterEqual},
        {u"$", Op::kContainedIn},
    };
    for (const auto& [sym, op] : kOps)
      if (AcceptSymbol(sym)) return MakeBinary(op, std::move(left), ParseAdditive());

    bool negated = false;
    if ((IsKeyword(Peek(), u"not") || Peek().kind == TokenKind::kDotNot) &&
        (IsKeyword(Peek(1), u"like") || IsKeyword(Peek(1), u"in") ||
         IsKeyword(Peek(1), u"between"))) {
      Next();
      negated = true;
    }
    if (AcceptKeyword(u"like")) {
      auto e = MakeExpr(ExprKind::kLike);
      e->flag = negated;
      e->args.push_back(std::move(left));
      e->args.push_back(ParseAdditive());
      if (IsKeyword(Peek(), u"escape")) Unsupported(u"Like ... Escape");
      return Finish(std::move(e));
    }
    if (AcceptKeyword(u"in")) {
      auto e = MakeExpr(ExprKind::kIn);
      e->flag = negated;
      e->args.push_back(std::move(left));
      ExpectSymbol(u"(");
      if (IsKeyword(Peek(), u"select")) {
        e->select = std::make_unique<Select>(ParseSelect());
      } else {
        do e->args.push_back(ParseExpr());
        while (AcceptSymbol(u","));
      }
      ExpectSymbol(u")");
      return Finish(std::move(e));
    }
    if (AcceptKeyword(u"between")) {
      auto e = MakeExpr(ExprKind::kBetween);
      e->flag = negated;
      e->args.push_back(std::move(left));
      e->args.push_back(ParseAdditive());
      if (!AcceptAnd()) SyntaxError();
      e->args.push_back(ParseAdditive());
      return Finish(std::move(e));
    }
    if (AcceptKeyword(u"is")) {
      auto e = MakeExpr(ExprKind::kIsNull);
      e->flag = AcceptKeyword(u"not");
      if (!AcceptKeyword(u"null") && !(Peek().kind == TokenKind::kNull && (Next(), true)))
        SyntaxError();
      e->args.push_back(std::move(left));
      return Finish(std::move(e));
    }
    return left;
  }

  ExprPtr ParseAdditive() {
    ExprPtr e = ParseMultiplicative();
    for (;;) {
      if (AcceptSymbol(u"+"))
        e = MakeBinary(Op::kAdd, std::move(e), ParseMultiplicative());
      else if (AcceptSymbol(u"-"))
        e = MakeBinary(Op::kSubtract, std::move(e), ParseMultiplicative());
      else
        return e;
    }
  }

  ExprPtr ParseMultiplicative() {
    ExprPtr e = ParsePower();
    for (;;) {
      if (AcceptSymbol(u"*"))
        e = MakeBinary(Op::kMultiply, std::move(e), ParsePower());
      else if (AcceptSymbol(u"/"))
        e = MakeBinary(Op::kDivide, std::move(e), ParsePower());
      else if (AcceptSymbol(u"%"))
        e = MakeBinary(Op::kModulo, std::move(e), ParsePower());
      else
        return e;
    }
  }

  ExprPtr ParsePower() {
    ExprPtr e = ParseUnary();
    while (AcceptSymbol(u"^") || AcceptSymbol(u"**"))
      e = MakeBinary(Op::kPower, std::move(e), ParseUnary());
    return e;
  }

  ExprPtr ParseUnary() {
    if (AcceptSymbol(u"-")) {
      Nesting nesting(*this);
      auto e = MakeExpr(ExprKind::kUnary);
      e->op = Op::kNegate;
      e->args.push_back(ParseUnary());
      return Finish(std::move(e));
    }
    if (AcceptSymbol(u"+")) {
      Nesting nesting(*this);
      return ParseUnary();
    }
    return Finish(ParsePrimary());
  }

  ExprPtr ParsePrimary() {
    const Token& t = Peek();
    switch (t.kind) {
      case TokenKind::kNumber: {
        auto e = MakeExpr(ExprKind::kNumber);
        e->text = Next().text;
        return e;
      }
      case TokenKind::kText: {
        auto e = MakeExpr(ExprKind::kText);
        e->text = Next().text;
        return e;
      }
      case TokenKind::kDate: {
        auto e = MakeExpr(ExprKind::kDate);
        e->number = t.number;
        e->flag = t.has_time;
        Next();
        return e;
      }
      case TokenKind::kTrue:
      case TokenKind::kFalse: {
        auto e = MakeExpr(ExprKind::kBool);
        e->flag = t.kind == TokenKind::kTrue;
        Next();
        return e;
      }
      case TokenKind::kNull:
        Next();
        return MakeExpr(ExprKind::kNull);
      default:
        break;
    }
    if (AcceptSymbol(u"(")) {
      if (IsKeyword(Peek(), u"select")) {
        auto e = MakeExpr(ExprKind::kSubquery);
        e->select = std::make_unique<Select>(ParseSelect());
        ExpectSymbol(u")");
        return e;
      }
      ExprPtr e = ParseExpr();
      ExpectSymbol(u")");
      return e;
    }
    if (AcceptKeyword(u"null")) return MakeExpr(ExprKind::kNull);
    if (IsKeyword(t, u"exists") && IsSymbol(Peek(1), u"(")) {
      Next();
      Next();
      auto e = MakeExpr(ExprKind::kExists);
      e->select = std::make_unique<Select>(ParseSelect());
      ExpectSymbol(u")");
      return e;
    }
    if (t.kind == TokenKind::kName && IsSymbol(Peek(1), u"(")) {
      if (EqualsNoCase(t.text, u"cast")) return ParseCast();
      return ParseCall();
    }
    if (IsNameToken(t)) {
      auto e = MakeExpr(ExprKind::kColumn);
      e->text = Next().text;
      if (IsSymbol(Peek(), u".") && IsNameToken(Peek(1))) {
        Next();
        e->qualifier = std::move(e->text);
        e->text = Next().text;
      }
      return e;
    }
    SyntaxError();
  }

  ExprPtr ParseCall() {
    auto e = MakeExpr(ExprKind::kCall);
    e->text = Next().text;
    ExpectSymbol(u"(");
    if (AcceptSymbol(u")")) return e;
    if (AcceptSymbol(u"*")) {
      e->args.push_back(MakeExpr(ExprKind::kStar));
      ExpectSymbol(u")");
      return e;
    }
    e->flag = AcceptKeyword(u"distinct");
    do e->args.push_back(ParseExpr());
    while (AcceptSymbol(u","));
    ExpectSymbol(u")");
    return e;
  }

  ExprPtr ParseCast() {
    Next();
    ExpectSymbol(u"(");
    auto e = MakeExpr(ExprKind::kCast);
    e->args.push_back(ParseExpr());
    ExpectKeyword(u"as");
    e->type = ParseType();
    AcceptKeyword(u"null");
    ExpectSymbol(u")");
    return e;
  }

  TextView statement_;
  std::vector<Token> tokens_;
  size_t pos_ = 0;
  int nesting_ = 0;
};

}  // namespace

Statement Parse(TextView statement) { return Parser(statement).Run(); }

}  // namespace data::foxsql
