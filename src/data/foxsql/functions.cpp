#include "data/foxsql/functions.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "automation/clock.h"
#include "automation/datetime.h"
#include "automation/text.h"
#include "data/foxsql/fox_text.h"
#include "data/foxsql/function_steps.h"
#include "data/foxsql/statement_error.h"
#include "data/limits.h"

namespace data::foxsql {

using automation::Error;

// ---------------------------------------------------------------------------
// Call: the arguments and result of one function call.

class Call {
 public:
  Call(sqlite3_context* ctx, int argc, sqlite3_value** argv, const FunctionSpec& spec)
      : ctx_(ctx), argc_(argc), argv_(argv), spec_(spec) {}

  int size() const { return argc_; }
  int type(int i) const { return sqlite3_value_type(argv_[i]); }
  bool IsNull(int i) const { return type(i) == SQLITE_NULL; }
  bool IsText(int i) const { return type(i) == SQLITE_TEXT; }
  bool IsNumber(int i) const { return type(i) == SQLITE_INTEGER || type(i) == SQLITE_FLOAT; }
  bool AnyNull() const {
    for (int i = 0; i < argc_; ++i)
      if (IsNull(i)) return true;
    return false;
  }
  sqlite3_value* value(int i) const { return argv_[i]; }
  sqlite3_context* context() const { return ctx_; }

  /// Argument i as a step's value: a text or a number (a blob is refused).
  StepValue Step(int i) const {
    switch (type(i)) {
      case SQLITE_TEXT: return StepValue::OfText(ValueText(argv_[i]));
      case SQLITE_INTEGER: return StepValue::OfWhole(sqlite3_value_int64(argv_[i]));
      case SQLITE_FLOAT: return StepValue::OfReal(sqlite3_value_double(argv_[i]));
      default: BadArgument();
    }
  }
  /// Argument i with one step run on it, as the result.
  void ResultOfStep(int i, data::foxsql::Step step) {
    StepValue v = Step(i);
    RunStep(v, step, spec_.name);
    Result(v);
  }

  std::string_view Text(int i) const {
    if (!IsText(i)) BadArgument();
    return ValueText(argv_[i]);
  }
  double Number(int i) const {
    if (!IsNumber(i)) BadArgument();
    return sqlite3_value_double(argv_[i]);
  }
  /// A whole-number argument (a length, a position): the fraction is dropped.
  int64_t Whole(int i) const {
    if (type(i) == SQLITE_INTEGER) return sqlite3_value_int64(argv_[i]);
    double d = Number(i);
    if (!(std::fabs(d) < 9.0e15)) BadArgument();
    return static_cast<int64_t>(d);
  }
  /// Optional argument i, or `fallback` when it was not given.
  int64_t WholeOr(int i, int64_t fallback) const { return i < argc_ ? Whole(i) : fallback; }

  void Result(std::string_view s) {
    if (static_cast<int64_t>(s.size()) > kMaxTextBytes) TooLong();
    // Never a null pointer, which SQLite would take for Null.
    sqlite3_result_text(ctx_, s.empty() ? "" : s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
  }
  void Result(const std::string& s) {
    if (static_cast<int64_t>(s.size()) > kMaxTextBytes) TooLong();
    ResultUtf8(ctx_, s);
  }
  void Result(double d) { sqlite3_result_double(ctx_, d); }
  void ResultWhole(int64_t n) { sqlite3_result_int64(ctx_, n); }
  /// A whole number when it fits in 64 bits, else a real.
  void ResultWhole(double d) {
    if (std::fabs(d) < 9.2e18)
      sqlite3_result_int64(ctx_, static_cast<int64_t>(d));
    else
      sqlite3_result_double(ctx_, d);
  }
  void ResultBool(bool b) { sqlite3_result_int(ctx_, b ? 1 : 0); }
  void ResultNull() { sqlite3_result_null(ctx_); }
  void ResultValue(sqlite3_value* v) { sqlite3_result_value(ctx_, v); }
  void Result(const StepValue& v) {
    switch (v.type()) {
      case StepValue::Type::kText: return Result(v.text());
      case StepValue::Type::kWhole: return ResultWhole(v.whole());
      case StepValue::Type::kReal: return Result(v.real());
    }
  }

  [[noreturn]] void BadArgument() const { ThrowBadArgument(spec_.name); }
  [[noreturn]] void TooLong() const { ThrowTooLong(spec_.name); }

 private:

  sqlite3_context* ctx_;
  int argc_;
  sqlite3_value** argv_;
  const FunctionSpec& spec_;
};

// ---------------------------------------------------------------------------
// Number rules.

double FoxRound(double x, int decimals) {
  if (!std::isfinite(x)) return x;
  if (decimals > 18) decimals = 18;
  if (decimals < -18) decimals = -18;
  double scale = std::pow(10.0, decimals);
  // A value already whole at that scale (a number cut from a stage field,
  // say) prints and reads back as itself: no text round trip.
  if (const double v = x * scale; std::fabs(v) < 1e15 && v == std::trunc(v)) {
    const double r = v / scale;
    return r == 0 ? 0.0 : r;
  }
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", x * scale);
  double r = std::round(std::strtod(buf, nullptr)) / scale;
  return r == 0 ? 0.0 : r;  // no "-0"
}

double FoxVal(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  size_t start = i;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return 0;
  const bool exponent = i < s.size() && (s[i] == 'e' || s[i] == 'E');
  if (!exponent && digits <= 15 && s.find('.', start) >= i) {
    // A whole number of up to 15 digits (the packed fields' heats, lanes
    // and places) is exact in a double: read without the library.
    int64_t n = 0;
    for (size_t k = start; k < i; ++k)
      if (s[k] >= '0' && s[k] <= '9') n = n * 10 + (s[k] - '0');
    return s[start] == '-' ? -static_cast<double>(n) : static_cast<double>(n);
  }
  if (exponent) {
    size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j < s.size() && s[j] >= '0' && s[j] <= '9') {
      while (j < s.size() && s[j] >= '0' && s[j] <= '9') ++j;
      i = j;
    }
  }
  std::string number(s.substr(start, i - start));
  return std::strtod(number.c_str(), nullptr);
}

std::string FoxStr(double x, int width, int decimals) {
  if (width <= 0) return {};
  if (decimals < 0) decimals = 0;
  if (decimals > 18) decimals = 18;
  for (int d = decimals; d >= 0; --d) {
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", d, FoxRound(x, d));
    std::string s = buf;
    if (static_cast<int>(s.size()) <= width) return std::string(width - s.size(), ' ') + s;
  }
  return std::string(static_cast<size_t>(width), '*');
}

namespace {

// A value that FoxPro accepts where text is expected by conversion.
std::string AsText(const Call& c, int i) {
  if (c.IsText(i)) return std::string(c.Text(i));
  if (c.type(i) == SQLITE_INTEGER) return std::to_string(sqlite3_value_int64(c.value(i)));
  return NumberText(c.Number(i));
}

// ---------------------------------------------------------------------------
// Text functions.

void AllTrim(Call& c) { c.ResultOfStep(0, {StepKind::kAllTrim}); }
void RTrim(Call& c) { c.ResultOfStep(0, {StepKind::kRTrim}); }
void LTrim(Call& c) { c.ResultOfStep(0, {StepKind::kLTrim}); }

void SubStr(Call& c) {
  StepValue v = StepValue::OfText(c.Text(0));
  int64_t start = c.Whole(1);
  int64_t count = c.size() > 2 ? c.Whole(2) : INT64_MAX / 2;
  if (start < 1 || count < 0) c.BadArgument();
  SliceStep(v, start, count);
  c.Result(v);
}

// fox_slice(x, start, count, steps): the steps (function_steps.h) run on
// SubStr(x, start, count), as the nested calls the translator found. The
// steps are read once per statement (SQLite keeps them with the call).
void Slice(Call& c) {
  using Steps = std::vector<Step>;
  const auto* steps = static_cast<const Steps*>(sqlite3_get_auxdata(c.context(), 3));
  std::optional<Steps> unkept;
  if (!steps) {
    unkept = ParseSteps(c.Text(3));
    if (!unkept) c.BadArgument();
    sqlite3_set_auxdata(c.context(), 3, new Steps(*unkept), [](void* p) { delete static_cast<Steps*>(p); });
    steps = &*unkept;
  }
  if (!c.IsText(0)) ThrowBadArgument(u"SubStr");
  // Kept by the thread, so that its buffers (a padded text) are reused
  // from row to row.
  thread_local StepValue v = StepValue::OfText({});
  v.SetText(c.Text(0));
  const int64_t start = c.Whole(1), count = c.Whole(2);
  if (start < 1 || count < 0) ThrowBadArgument(u"SubStr");
  SliceStep(v, start, count);
  for (const Step& s : *steps) RunStep(v, s);
  c.Result(v);
  v.ReleaseBeyond(limits::kStepBufferBytes);
}

void Left(Call& c) { c.Result(GbkSubstr(c.Text(0), 0, c.Whole(1))); }

void Right(Call& c) {
  std::string_view s = c.Text(0);
  int64_t n = c.Whole(1);
  int64_t len = GbkLength(s);
  if (n <= 0) return c.Result(std::string_view());
  c.Result(GbkSubstr(s, std::max<int64_t>(0, len - n), n));
}

void Len(Call& c) { c.ResultWhole(GbkLength(c.Text(0))); }

void Upper(Call& c) { c.ResultOfStep(0, {StepKind::kUpper}); }
void Lower(Call& c) { c.ResultOfStep(0, {StepKind::kLower}); }

void Space(Call& c) {
  int64_t n = c.Whole(0);
  if (n > kMaxTextBytes) c.TooLong();
  c.Result(std::string(static_cast<size_t>(std::max<int64_t>(0, n)), ' '));
}

void Replicate(Call& c) {
  std::string_view s = c.Text(0);
  int64_t n = std::max<int64_t>(0, c.Whole(1));
  if (!s.empty() && n > kMaxTextBytes / static_cast<int64_t>(s.size())) c.TooLong();
  std::string out;
  out.reserve(s.size() * static_cast<size_t>(n));
  for (int64_t i = 0; i < n; ++i) out.append(s);
  c.Result(out);
}

void Pad(Call& c, PadSide side) {
  int64_t width = c.Whole(1);
  if (width > kMaxTextBytes) c.TooLong();
  std::string_view pad = c.size() > 2 ? c.Text(2) : std::string_view(" ");
  c.Result(GbkPad(AsText(c, 0), width, pad, side));
}
void PadL(Call& c) { Pad(c, PadSide::kLeft); }
void PadR(Call& c) { Pad(c, PadSide::kRight); }
void PadC(Call& c) { Pad(c, PadSide::kBoth); }

void Stuff(Call& c) {
  std::string_view s = c.Text(0);
  int64_t start = c.Whole(1), count = c.Whole(2);
  std::string_view with = c.Text(3);
  if (start < 1 || count < 0) c.BadArgument();
  int64_t len = GbkLength(s);
  std::string out = GbkSubstr(s, 0, start - 1);
  out.append(with);
  out += GbkSubstr(s, start - 1 + count, len);
  c.Result(out);
}

void Strtran(Call& c) {
  std::string_view s = c.Text(0), find = c.Text(1);
  std::string_view with = c.size() > 2 ? c.Text(2) : std::string_view();
  int64_t first = c.WholeOr(3, 1), count = c.WholeOr(4, -1);
  if (first < 1) first = 1;
  // Refuse a result too long before building it.
  if (with.size() > find.size() &&
      static_cast<double>(s.size()) +
              static_cast<double>(GbkOccurs(s, find)) * static_cast<double>(with.size() - find.size()) >
          static_cast<double>(kMaxTextBytes))
    c.TooLong();
  c.Result(GbkReplace(s, find, with, first, count));
}

void Occurs(Call& c) { c.ResultWhole(GbkOccurs(c.Text(1), c.Text(0))); }
void At(Call& c) { c.ResultWhole(GbkAt(c.Text(1), c.Text(0), c.WholeOr(2, 1))); }

void Empty(Call& c) {
  switch (c.type(0)) {
    case SQLITE_NULL: return c.ResultBool(false);
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: return c.ResultBool(c.Number(0) == 0);
    case SQLITE_BLOB: return c.ResultBool(sqlite3_value_bytes(c.value(0)) == 0);
    default:
      for (char ch : c.Text(0))
        if (ch != ' ' && ch != '\t' && ch != '\r' && ch != '\n') return c.ResultBool(false);
      return c.ResultBool(true);
  }
}

// ---------------------------------------------------------------------------
// Numbers.

void Val(Call& c) { c.ResultOfStep(0, {StepKind::kVal}); }
void Int(Call& c) { c.ResultOfStep(0, {StepKind::kInt}); }

void Str(Call& c) {
  int64_t width = c.WholeOr(1, 10), decimals = c.WholeOr(2, 0);
  if (width > 255 || width < 0 || decimals < 0) c.BadArgument();
  c.Result(FoxStr(c.Number(0), static_cast<int>(width), static_cast<int>(decimals)));
}

void Round(Call& c) {
  int64_t d = c.Whole(1);
  if (d > 18 || d < -18) c.BadArgument();
  c.ResultOfStep(0, {StepKind::kRound, d});
}

void Abs(Call& c) {
  if (c.type(0) == SQLITE_INTEGER && sqlite3_value_int64(c.value(0)) != INT64_MIN)
    return c.ResultWhole(static_cast<int64_t>(std::abs(sqlite3_value_int64(c.value(0)))));
  c.Result(std::fabs(c.Number(0)));
}

void Ceiling(Call& c) { c.ResultWhole(std::ceil(c.Number(0))); }
void Floor(Call& c) { c.ResultWhole(std::floor(c.Number(0))); }

// FoxPro's modulus takes the sign of the divisor.
void Mod(Call& c) {
  double a = c.Number(0), b = c.Number(1);
  if (b == 0) throw Error(automation::err::kDivisionByZero);
  double r = a - b * std::floor(a / b);
  if (c.type(0) == SQLITE_INTEGER && c.type(1) == SQLITE_INTEGER)
    c.ResultWhole(r);
  else
    c.Result(r);
}

// ---------------------------------------------------------------------------
// Dates (serial day numbers).

automation::DateParts Parts(const Call& c) { return automation::SplitDate({c.Number(0)}); }
void Year(Call& c) { c.ResultWhole(int64_t{Parts(c).year}); }
void Month(Call& c) { c.ResultWhole(int64_t{Parts(c).month}); }
void Day(Call& c) { c.ResultWhole(int64_t{Parts(c).day}); }

// The empty date (serial 0) gives eight blanks.
void Dtos(Call& c) {
  if (c.Number(0) == 0) return c.Result(std::string_view("        "));
  auto p = Parts(c);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d%02d%02d", p.year, p.month, p.day);
  c.Result(std::string_view(buf));
}

void Today(Call& c) { c.Result(std::floor(automation::Now().serial)); }

// ---------------------------------------------------------------------------
// Operators the translator writes as calls.

bool BothNumbers(const Call& c) { return c.IsNumber(0) && c.IsNumber(1); }
bool BothWhole(const Call& c) {
  return c.type(0) == SQLITE_INTEGER && c.type(1) == SQLITE_INTEGER;
}

[[noreturn]] void OperandMismatch() {
  throw Error(kStatementError, u"Operator/operand type mismatch");
}

// "+": texts are joined, numbers added.
void Add(Call& c) {
  if (c.IsText(0) && c.IsText(1)) {
    std::string s(c.Text(0));
    s.append(c.Text(1));
    return c.Result(s);
  }
  if (!BothNumbers(c)) OperandMismatch();
  if (BothWhole(c)) {
    int64_t r;
    if (!__builtin_add_overflow(sqlite3_value_int64(c.value(0)), sqlite3_value_int64(c.value(1)),
                                &r))
      return c.ResultWhole(r);
  }
  c.Result(c.Number(0) + c.Number(1));
}

// "-": numbers are subtracted; texts are joined with the first one's
// trailing blanks moved to the end, as FoxPro does.
void Subtract(Call& c) {
  if (c.IsText(0) && c.IsText(1)) {
    std::string_view a = c.Text(0);
    std::string_view trimmed = TrimRight(a);
    std::string s(trimmed);
    s.append(c.Text(1));
    s.append(a.size() - trimmed.size(), ' ');
    return c.Result(s);
  }
  if (!BothNumbers(c)) OperandMismatch();
  if (BothWhole(c)) {
    int64_t r;
    if (!__builtin_sub_overflow(sqlite3_value_int64(c.value(0)), sqlite3_value_int64(c.value(1)),
                                &r))
      return c.ResultWhole(r);
  }
  c.Result(c.Number(0) - c.Number(1));
}

void Divide(Call& c) {
  if (!BothNumbers(c)) OperandMismatch();
  double b = c.Number(1);
  if (b == 0) throw Error(automation::err::kDivisionByZero);
  c.Result(c.Number(0) / b);
}

void Power(Call& c) {
  if (!BothNumbers(c)) OperandMismatch();
  double r = std::pow(c.Number(0), c.Number(1));
  if (!std::isfinite(r)) throw Error(automation::err::kOverflow);
  c.Result(r);
}

// LIKE: % any run, _ one character; case-sensitive; the value's trailing
// blanks are ignored (fixed-width texts carry them). Matching goes back only
// to the last %, so no pattern takes more than length x length steps.
bool LikeMatch(std::string_view s, std::string_view p) {
  size_t i = 0, j = 0;
  size_t star = std::string_view::npos, resume = 0;
  while (i < s.size()) {
    if (j < p.size() && p[j] == '%') {
      star = ++j;
      resume = i;
      continue;
    }
    if (j < p.size()) {
      Utf8Char pc = DecodeUtf8(p, j), sc = DecodeUtf8(s, i);
      if (p[j] == '_' || pc.code == sc.code) {
        i += sc.length;
        j += pc.length;
        continue;
      }
    }
    if (star == std::string_view::npos) return false;
    resume += DecodeUtf8(s, resume).length;  // the % takes one character more
    i = resume;
    j = star;
  }
  while (j < p.size() && p[j] == '%') ++j;
  return j == p.size();
}

void Like(Call& c) {
  std::string_view value = TrimRight(c.Text(0)), pattern = c.Text(1);
  c.ResultBool(LikeMatch(value, TrimRight(pattern)));
}

// a $ b: a occurs in b.
void Contains(Call& c) {
  c.ResultBool(FindAtCharacter(c.Text(1), c.Text(0)) != std::string_view::npos);
}

// ---------------------------------------------------------------------------
// Cast targets.

void CastInteger(Call& c) { c.ResultOfStep(0, {StepKind::kCastI}); }
void CastNumber(Call& c) { c.ResultOfStep(0, {StepKind::kCastN, c.WholeOr(2, -1)}); }
// Cast(x As C(n)): the text form padded or cut to n bytes. Cast(x As V(n))
// and M keep no padding (width -1: none).
void CastChar(Call& c) { c.ResultOfStep(0, {StepKind::kCastC, c.WholeOr(1, -1)}); }
void CastVarchar(Call& c) { c.ResultOfStep(0, {StepKind::kCastV, c.WholeOr(1, -1)}); }

void CastLogical(Call& c) {
  if (c.IsNumber(0)) return c.ResultBool(c.Number(0) != 0);
  std::string_view t = TrimBoth(c.Text(0));
  c.ResultBool(t == "T" || t == "t" || t == ".T." || t == ".t." || t == "Y" || t == "y");
}

void CastDate(Call& c, bool keep_time) {
  double serial;
  if (c.IsNumber(0)) {
    serial = c.Number(0);
  } else {
    auto d = automation::ParseDateText(automation::FromUtf8(c.Text(0)));
    if (!d) c.BadArgument();
    serial = d->serial;
  }
  c.Result(keep_time ? serial : std::floor(serial));
}
void CastDateOnly(Call& c) { CastDate(c, false); }
void CastDateTime(Call& c) { CastDate(c, true); }

void CastCurrency(Call& c) {
  double d = c.IsText(0) ? FoxVal(c.Text(0)) : c.Number(0);
  c.Result(FoxRound(d, 4));
}

// ---------------------------------------------------------------------------
// The table.

using F = FunctionForm;
using K = ValueKind;

const FunctionSpec kFunctions[] = {
    // name, min, max, form, result, SQLite name, body
    {u"AllTrim", 1, 1, F::kScalar, K::kText, "fox_alltrim", AllTrim},
    {u"Trim", 1, 1, F::kScalar, K::kText, "fox_rtrim", RTrim},
    {u"RTrim", 1, 1, F::kScalar, K::kText, "fox_rtrim", RTrim},
    {u"LTrim", 1, 1, F::kScalar, K::kText, "fox_ltrim", LTrim},
    {u"SubStr", 2, 3, F::kScalar, K::kText, "fox_substr", SubStr},
    {u"Left", 2, 2, F::kScalar, K::kText, "fox_left", Left},
    {u"Right", 2, 2, F::kScalar, K::kText, "fox_right", Right},
    {u"Len", 1, 1, F::kScalar, K::kInteger, "fox_len", Len},
    {u"Upper", 1, 1, F::kScalar, K::kText, "fox_upper", Upper},
    {u"Lower", 1, 1, F::kScalar, K::kText, "fox_lower", Lower},
    {u"Space", 1, 1, F::kScalar, K::kText, "fox_space", Space},
    {u"Replicate", 2, 2, F::kScalar, K::kText, "fox_replicate", Replicate},
    {u"PadL", 2, 3, F::kScalar, K::kText, "fox_padl", PadL},
    {u"PadR", 2, 3, F::kScalar, K::kText, "fox_padr", PadR},
    {u"PadC", 2, 3, F::kScalar, K::kText, "fox_padc", PadC},
    {u"Stuff", 4, 4, F::kScalar, K::kText, "fox_stuff", Stuff},
    {u"Strtran", 2, 6, F::kScalar, K::kText, "fox_strtran", Strtran},
    {u"Occurs", 2, 2, F::kScalar, K::kInteger, "fox_occurs", Occurs},
    {u"At", 2, 3, F::kScalar, K::kInteger, "fox_at", At},
    {u"Empty", 1, 1, F::kScalar, K::kLogical, "fox_empty", Empty, false},
    {u"Val", 1, 1, F::kScalar, K::kNumber, "fox_val", Val},
    {u"Int", 1, 1, F::kScalar, K::kInteger, "fox_int", Int},
    {u"Str", 1, 3, F::kScalar, K::kText, "fox_str", Str},
    {u"Round", 2, 2, F::kScalar, K::kNumber, "fox_round", Round},
    {u"Abs", 1, 1, F::kScalar, K::kNumber, "fox_abs", Abs},
    {u"Ceiling", 1, 1, F::kScalar, K::kInteger, "fox_ceiling", Ceiling},
    {u"Floor", 1, 1, F::kScalar, K::kInteger, "fox_floor", Floor},
    {u"Mod", 2, 2, F::kScalar, K::kNumber, "fox_mod", Mod},
    {u"Year", 1, 1, F::kScalar, K::kInteger, "fox_year", Year},
    {u"Month", 1, 1, F::kScalar, K::kInteger, "fox_month", Month},
    {u"Day", 1, 1, F::kScalar, K::kInteger, "fox_day", Day},
    {u"Dtos", 1, 1, F::kScalar, K::kText, "fox_dtos", Dtos},
    {u"Date", 0, 0, F::kScalar, K::kDate, "fox_date", Today},
    {u"Iif", 3, 3, F::kIif, K::kAny, nullptr, nullptr},
    {u"Nvl", 2, 2, F::kNvl, K::kAny, nullptr, nullptr},
    {u"IsNull", 1, 1, F::kIsNull, K::kLogical, nullptr, nullptr},
    {u"InList", 2, -1, F::kInList, K::kLogical, nullptr, nullptr},
    {u"Between", 3, 3, F::kBetween, K::kLogical, nullptr, nullptr},
    {u"Max", 1, -1, F::kAggregate, K::kAny, "max", nullptr},
    {u"Min", 1, -1, F::kAggregate, K::kAny, "min", nullptr},
    {u"Count", 1, 1, F::kAggregate, K::kInteger, "count", nullptr},
    {u"Sum", 1, 1, F::kAggregate, K::kAny, "sum", nullptr},
    {u"Avg", 1, 1, F::kAggregate, K::kNumber, "avg", nullptr},
    // Operators and Cast.
    {u"fox_add", 2, 2, F::kInternal, K::kAny, "fox_add", Add},
    {u"fox_sub", 2, 2, F::kInternal, K::kAny, "fox_sub", Subtract},
    {u"fox_div", 2, 2, F::kInternal, K::kNumber, "fox_div", Divide},
    {u"fox_mod", 2, 2, F::kInternal, K::kNumber, "fox_mod", Mod},
    {u"fox_pow", 2, 2, F::kInternal, K::kNumber, "fox_pow", Power},
    {u"fox_like", 2, 2, F::kInternal, K::kLogical, "fox_like", Like},
    {u"fox_contains", 2, 2, F::kInternal, K::kLogical, "fox_contains", Contains},
    {u"fox_cast_i", 1, 1, F::kInternal, K::kInteger, "fox_cast_i", CastInteger},
    {u"fox_cast_n", 1, 3, F::kInternal, K::kNumber, "fox_cast_n", CastNumber},
    {u"fox_cast_c", 1, 2, F::kInternal, K::kText, "fox_cast_c", CastChar},
    {u"fox_cast_v", 1, 2, F::kInternal, K::kText, "fox_cast_v", CastVarchar},
    {u"fox_cast_l", 1, 1, F::kInternal, K::kLogical, "fox_cast_l", CastLogical},
    {u"fox_cast_d", 1, 1, F::kInternal, K::kDate, "fox_cast_d", CastDateOnly},
    {u"fox_cast_t", 1, 1, F::kInternal, K::kDateTime, "fox_cast_t", CastDateTime},
    {u"fox_cast_y", 1, 1, F::kInternal, K::kCurrency, "fox_cast_y", CastCurrency},
    {u"fox_slice", 4, 4, F::kInternal, K::kAny, "fox_slice", Slice},
};

struct Binding {
  const FunctionSpec* spec;
  ErrorSlot* errors;
};

void Invoke(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  auto* b = static_cast<Binding*>(sqlite3_user_data(ctx));
  Call call(ctx, argc, argv, *b->spec);
  try {
    if (b->spec->null_gives_null && call.AnyNull()) return call.ResultNull();
    b->spec->body(call);
  } catch (const Error& e) {
    if (b->errors && !b->errors->error) b->errors->error = e;
    std::string message = automation::ToUtf8(e.description());
    sqlite3_result_error(ctx, message.c_str(), static_cast<int>(message.size()));
  } catch (const std::bad_alloc&) {
    sqlite3_result_error_nomem(ctx);
  }
}

void FreeBinding(void* p) { delete static_cast<Binding*>(p); }

}  // namespace

std::span<const FunctionSpec> FunctionTable() { return kFunctions; }

const FunctionSpec* FindFunction(std::u16string_view name) {
  const FunctionSpec* found = nullptr;
  int prefix_matches = 0;
  for (const auto& f : kFunctions) {
    if (f.form == FunctionForm::kInternal) continue;
    if (automation::EqualsNoCase(f.name, name)) return &f;
    if (name.size() >= 4 && name.size() < f.name.size() &&
        automation::EqualsNoCase(f.name.substr(0, name.size()), name)) {
      found = &f;
      ++prefix_matches;
    }
  }
  return prefix_matches == 1 ? found : nullptr;
}

bool IsPureFunction(std::string_view sqlite_name) {
  // Listed one by one on purpose: Date (fox_date) reads the clock and is
  // not here, and neither is any function until it is known to be pure.
  static constexpr std::string_view kPure[] = {
      "fox_alltrim", "fox_rtrim", "fox_ltrim", "fox_substr", "fox_left", "fox_right", "fox_len",
      "fox_upper", "fox_lower", "fox_space", "fox_replicate", "fox_padl", "fox_padr", "fox_padc",
      "fox_stuff", "fox_strtran", "fox_occurs", "fox_at", "fox_empty", "fox_val", "fox_int",
      "fox_str", "fox_round", "fox_abs", "fox_ceiling", "fox_floor", "fox_mod", "fox_year",
      "fox_month", "fox_day", "fox_dtos", "fox_add", "fox_sub", "fox_div", "fox_pow",
      "fox_like", "fox_contains", "fox_cast_i", "fox_cast_n", "fox_cast_c", "fox_cast_v",
      "fox_cast_l", "fox_cast_d", "fox_cast_t", "fox_cast_y", "fox_slice",
      // SQLite's own, as the translator writes them.
      "max", "min", "count", "sum", "avg", "ifnull"};
  // SQLite matches function names without regard to ASCII case.
  auto same = [](std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
             return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
  };
  for (std::string_view pure : kPure)
    if (same(pure, sqlite_name)) return true;
  return false;
}

void RegisterFunctions(sqlite3* db, ErrorSlot* errors) {
  for (const auto& f : kFunctions) {
    if (!f.body) continue;
    int flags = SQLITE_UTF8 | SQLITE_INNOCUOUS;
    if (IsPureFunction(f.sqlite_name)) flags |= SQLITE_DETERMINISTIC;
    sqlite3_create_function_v2(db, f.sqlite_name, f.max_args, flags, new Binding{&f, errors},
                               Invoke, nullptr, nullptr, FreeBinding);
    // A function with optional arguments is registered for each count.
    for (int n = f.min_args; n < f.max_args; ++n)
      sqlite3_create_function_v2(db, f.sqlite_name, n, flags, new Binding{&f, errors}, Invoke,
                                 nullptr, nullptr, FreeBinding);
  }
}

}  // namespace data::foxsql
