#include "data/foxsql/function_steps.h"

#include <cmath>
#include <cstdio>

#include "automation/ascii_run.h"
#include "automation/error.h"
#include "data/foxsql/fox_text.h"
#include "data/foxsql/functions.h"
#include "data/foxsql/statement_error.h"

namespace data::foxsql {

using automation::Error;

namespace {

struct StepName {
  StepKind kind;
  std::string_view text;      // as fox_slice's list writes it
  std::u16string_view error;  // the function its errors name
  bool takes_number;          // written "name:n"
};

constexpr StepName kStepNames[] = {
    {StepKind::kAllTrim, "alltrim", u"AllTrim", false}, {StepKind::kRTrim, "rtrim", u"RTrim", false},
    {StepKind::kLTrim, "ltrim", u"LTrim", false},       {StepKind::kUpper, "upper", u"Upper", false},
    {StepKind::kLower, "lower", u"Lower", false},       {StepKind::kVal, "val", u"Val", false},
    {StepKind::kInt, "int", u"Int", false},             {StepKind::kRound, "round", u"Round", true},
    {StepKind::kCastI, "cast_i", u"fox_cast_i", false}, {StepKind::kCastN, "cast_n", u"fox_cast_n", true},
    {StepKind::kCastC, "cast_c", u"fox_cast_c", true},  {StepKind::kCastV, "cast_v", u"fox_cast_v", true},
};

const StepName& NameOf(StepKind kind) {
  for (const StepName& n : kStepNames)
    if (n.kind == kind) return n;
  return kStepNames[0];
}

bool IsAscii(std::string_view s) {
  return automation::ascii::RunOfBytes(s.data(), s.data() + s.size()) == s.size();
}

std::string_view RequireText(const StepValue& v, std::u16string_view name) {
  if (!v.IsText()) ThrowBadArgument(name);
  return v.text();
}

double RequireNumber(const StepValue& v, std::u16string_view name) {
  if (v.IsText()) ThrowBadArgument(name);
  return v.Number();
}

// A real that is whole is kept whole when it fits in 64 bits.
void SetWholeOrReal(StepValue& v, double d) {
  if (std::fabs(d) < 9.2e18)
    v.SetWhole(static_cast<int64_t>(d));
  else
    v.SetReal(d);
}

// Cast to C(width) (padded) or V(width): a text already that wide is kept
// as it is; a longer one is cut, a shorter C padded with blanks.
void CastText(StepValue& v, int64_t width, bool pad, std::u16string_view name) {
  if (width > kMaxTextBytes) ThrowTooLong(name);
  if (!v.IsText()) {
    std::string& s = v.Fresh();
    s = v.type() == StepValue::Type::kWhole ? std::to_string(v.whole()) : NumberText(v.real());
    v.SetText(s);
    if (width < 0) return;
  } else if (width < 0) {
    return;
  }
  const std::string_view t = v.text();
  if (IsAscii(t)) {
    const auto len = static_cast<int64_t>(t.size());
    if (len > width) return v.SetText(t.substr(0, static_cast<size_t>(width)));
    if (len == width || !pad) return;
    std::string& s = v.Fresh();
    s.reserve(static_cast<size_t>(width));
    s.assign(t);
    s.append(static_cast<size_t>(width - len), ' ');
    return v.SetText(s);
  }
  const int64_t len = GbkLength(t);
  if (len == width || (len < width && !pad)) return;
  std::string& s = v.Fresh();
  s = pad ? GbkPad(t, width, " ", PadSide::kRight) : GbkSubstr(t, 0, width);
  v.SetText(s);
}

}  // namespace

std::string NumberText(double d) {
  if (std::fabs(d) < 1e15 && d == std::trunc(d)) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.0f", d);
    return buf;
  }
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", d);
  return buf;
}

void ThrowBadArgument(std::u16string_view function) {
  throw Error(kStatementError, std::u16string(function) + u": Function argument value, type, or count is invalid");
}

void ThrowTooLong(std::u16string_view function) {
  throw Error(kStatementError, std::u16string(function) + u": String is too long to fit");
}

void SliceStep(StepValue& v, int64_t start, int64_t count) {
  const std::string_view s = v.text();
  const int64_t from = start - 1;
  if (count <= 0 || from >= static_cast<int64_t>(s.size())) return v.SetText({});
  const size_t end = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(s.size()), from + count));
  // Up to the slice's end in ASCII, bytes are columns: a view.
  if (automation::ascii::RunOfBytes(s.data(), s.data() + end) == end)
    return v.SetText(s.substr(static_cast<size_t>(from), end - static_cast<size_t>(from)));
  std::string& out = v.Fresh();
  out = GbkSubstr(s, from, count);
  v.SetText(out);
}

void RunStep(StepValue& v, const Step& step, std::u16string_view name) {
  switch (step.kind) {
    case StepKind::kAllTrim: return v.SetText(TrimBoth(RequireText(v, name)));
    case StepKind::kRTrim: return v.SetText(TrimRight(RequireText(v, name)));
    case StepKind::kLTrim: return v.SetText(TrimLeft(RequireText(v, name)));
    case StepKind::kUpper:
    case StepKind::kLower: {
      const std::string_view t = RequireText(v, name);
      std::string& s = v.Fresh();
      s.assign(t);
      const bool upper = step.kind == StepKind::kUpper;
      for (char& ch : s) {
        if (upper && ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
        if (!upper && ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
      }
      return v.SetText(s);
    }
    case StepKind::kVal:
      if (v.IsText()) v.SetReal(FoxVal(v.text()));
      return;
    case StepKind::kInt:
      if (v.type() == StepValue::Type::kWhole) return;
      return SetWholeOrReal(v, std::trunc(RequireNumber(v, name)));
    case StepKind::kRound:
      if (step.n > 18 || step.n < -18) ThrowBadArgument(name);
      return v.SetReal(FoxRound(RequireNumber(v, name), static_cast<int>(step.n)));
    case StepKind::kCastI: {
      double d = v.IsText() ? FoxVal(v.text()) : v.Number();
      d = FoxRound(d, 0);
      if (!(std::fabs(d) <= 2147483647.0)) throw Error(automation::err::kOverflow);
      return v.SetWhole(static_cast<int64_t>(d));
    }
    case StepKind::kCastN: {
      const double d = v.IsText() ? FoxVal(v.text()) : v.Number();
      return v.SetReal(step.n >= 0 ? FoxRound(d, static_cast<int>(std::min<int64_t>(step.n, 18))) : d);
    }
    case StepKind::kCastC: return CastText(v, step.n, true, name);
    case StepKind::kCastV: return CastText(v, step.n, false, name);
  }
}

void RunStep(StepValue& v, const Step& step) { RunStep(v, step, NameOf(step.kind).error); }

std::optional<std::vector<Step>> ParseSteps(std::string_view text) {
  std::vector<Step> steps;
  size_t i = 0;
  while (i < text.size()) {
    size_t end = text.find(' ', i);
    if (end == std::string_view::npos) end = text.size();
    std::string_view word = text.substr(i, end - i);
    i = end + 1;
    if (word.empty()) continue;
    std::string_view number;
    if (size_t colon = word.find(':'); colon != std::string_view::npos) {
      number = word.substr(colon + 1);
      word = word.substr(0, colon);
    }
    const StepName* found = nullptr;
    for (const StepName& n : kStepNames)
      if (n.text == word) found = &n;
    if (!found || found->takes_number == number.empty()) return std::nullopt;
    Step step{found->kind};
    if (found->takes_number) {
      char* stop = nullptr;
      const std::string digits(number);
      step.n = std::strtoll(digits.c_str(), &stop, 10);
      if (*stop != '\0') return std::nullopt;
    }
    steps.push_back(step);
  }
  return steps;
}

std::string StepText(const Step& step) {
  const StepName& n = NameOf(step.kind);
  return std::string(n.text) + (n.takes_number ? ":" + std::to_string(step.n) : std::string());
}

}  // namespace data::foxsql
