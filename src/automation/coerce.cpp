#include "automation/coerce.h"

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <limits>

#include "automation/datetime.h"
#include "automation/error.h"
#include "automation/object.h"

namespace automation {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == 0x3000; }

// The value behind an object: its default member, as a late-bound caller sees it.
Variant DefaultOf(const Variant& v) {
  const ObjectPtr& o = v.object();
  if (!o) throw Error(err::kObjectNotSet);
  return o->Invoke(u"", InvokeKind::PropertyGet, {});
}

// The number of radix digits (&H, &O literals): values up to 16 bits read as
// Integer, so &HFFFF is -1, longer ones as Long (&HFFFFFFFF is -1 too).
// Nothing when a character is no digit of the radix; `overflow` when the
// value needs more than 32 bits.
std::optional<double> ParseRadix(TextView s, int radix, bool* overflow = nullptr) {
  if (s.empty()) return std::nullopt;
  uint64_t n = 0;
  for (char16_t c : s) {
    int d;
    if (c >= u'0' && c <= u'9') d = c - u'0';
    else if (c >= u'a' && c <= u'f') d = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F') d = c - u'A' + 10;
    else return std::nullopt;
    if (d >= radix) return std::nullopt;
    n = n * radix + d;
    if (n > 0xFFFFFFFFull) {
      if (overflow) *overflow = true;
      return std::nullopt;
    }
  }
  if (n <= 0xFFFF) return static_cast<double>(static_cast<int16_t>(n));
  return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(n)));
}

enum class NumberStatus { kOk, kNotNumber, kOverflow };

// ParseNumber with the reason of a failure: text that is no number, or a
// number beyond the Double (or radix literal beyond the Long) range.
NumberStatus ReadNumber(TextView text, double& out) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  TextView s = text.substr(b, e - b);
  if (s.empty()) return NumberStatus::kNotNumber;
  if (s.size() >= 2 && s[0] == u'&') {
    int radix = (s[1] == u'H' || s[1] == u'h') ? 16 : (s[1] == u'O' || s[1] == u'o') ? 8 : 0;
    if (!radix) return NumberStatus::kNotNumber;
    bool overflow = false;
    auto v = ParseRadix(s.substr(2), radix, &overflow);
    if (!v) return overflow ? NumberStatus::kOverflow : NumberStatus::kNotNumber;
    out = *v;
    return NumberStatus::kOk;
  }
  std::string ascii;
  ascii.reserve(s.size());
  size_t i = 0;
  if (s[i] == u'+' || s[i] == u'-') ascii.push_back(static_cast<char>(s[i++]));
  bool digits = false, point = false;
  for (; i < s.size(); ++i) {
    char16_t c = s[i];
    if (c >= u'0' && c <= u'9') {
      ascii.push_back(static_cast<char>(c));
      digits = true;
    } else if (c == u',' && !point && digits) {
      continue;  // thousands separator
    } else if (c == u'.' && !point) {
      ascii.push_back('.');
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return NumberStatus::kNotNumber;
  if (i < s.size() && (s[i] == u'E' || s[i] == u'e' || s[i] == u'D' || s[i] == u'd')) {
    ascii.push_back('e');
    ++i;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ascii.push_back(static_cast<char>(s[i++]));
    bool exp_digits = false;
    for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) {
      ascii.push_back(static_cast<char>(s[i]));
      exp_digits = true;
    }
    if (!exp_digits) return NumberStatus::kNotNumber;
  }
  if (i != s.size()) return NumberStatus::kNotNumber;
  double d = std::strtod(ascii.c_str(), nullptr);
  if (!std::isfinite(d)) return NumberStatus::kOverflow;
  out = d;
  return NumberStatus::kOk;
}

double TextToDouble(TextView text) {
  double d = 0;
  switch (ReadNumber(text, d)) {
    case NumberStatus::kOk: return d;
    case NumberStatus::kOverflow: ThrowOverflow();
    case NumberStatus::kNotNumber: break;
  }
  ThrowTypeMismatch();
}

// Currency straight from decimal text, so that "0.1" is exactly 1000 scaled
// and "1.00005" rounds its fifth decimal half to even as text, not as a
// binary fraction. Nothing for forms it does not read (exponents, radix
// literals): those go through Double.
std::optional<Currency> ReadCurrencyText(TextView text) {
  size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  TextView s = text.substr(b, e - b);
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
  __int128 whole = 0;
  int64_t frac = 0;   // the first four decimals
  int frac_len = 0;
  int round_digit = -1;     // the fifth decimal
  bool sticky = false;      // any non-zero decimal after the fifth
  bool digits = false, point = false;
  for (; i < s.size(); ++i) {
    char16_t c = s[i];
    if (c >= u'0' && c <= u'9') {
      int d = c - u'0';
      digits = true;
      if (!point) {
        whole = whole * 10 + d;
        if (whole > 1000000000000000000) ThrowOverflow();
      } else if (frac_len < 4) {
        frac = frac * 10 + d;
        ++frac_len;
      } else if (round_digit < 0) {
        round_digit = d;
      } else if (d) {
        sticky = true;
      }
    } else if (c == u',' && !point && digits) {
      continue;
    } else if (c == u'.' && !point) {
      point = true;
    } else {
      return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  while (frac_len < 4) {
    frac *= 10;
    ++frac_len;
  }
  __int128 scaled = whole * Currency::kScale + frac;
  if (round_digit > 5 || (round_digit == 5 && (sticky || (scaled & 1)))) ++scaled;
  if (negative) scaled = -scaled;
  if (scaled > std::numeric_limits<int64_t>::max() || scaled < std::numeric_limits<int64_t>::min())
    ThrowOverflow();
  return Currency{static_cast<int64_t>(scaled)};
}

}  // namespace

double RoundHalfEven(double x) {
  // nearbyint follows the current rounding mode, which is to-nearest-even
  // unless someone changed it; do not rely on that.
  double r = std::floor(x);
  double diff = x - r;
  if (diff > 0.5) return r + 1;
  if (diff < 0.5) return r;
  return std::fmod(r, 2.0) == 0 ? r : r + 1;
}

std::optional<double> ParseNumber(TextView text) {
  double d = 0;
  if (ReadNumber(text, d) != NumberStatus::kOk) return std::nullopt;
  return d;
}

double Val(TextView text) {
  // Val reads the text as if its spaces, tabs and line feeds were not there.
  size_t i = 0;
  auto skip = [&] {
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n')) ++i;
  };
  auto peek = [&]() -> char16_t {
    skip();
    return i < text.size() ? text[i] : 0;
  };
  auto is_digit = [](char16_t c) { return c >= u'0' && c <= u'9'; };

  if (peek() == u'&') {
    ++i;
    char16_t kind = peek();
    int radix = (kind == u'H' || kind == u'h') ? 16 : (kind == u'O' || kind == u'o') ? 8 : 0;
    if (!radix) return 0;
    ++i;
    Text digits;
    for (char16_t c = peek(); c; c = peek()) {
      bool ok = radix == 16 ? (is_digit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'))
                            : (c >= u'0' && c <= u'7');
      if (!ok) break;
      digits.push_back(c);
      ++i;
    }
    if (digits.empty()) return 0;
    bool overflow = false;
    auto v = ParseRadix(digits, radix, &overflow);
    if (overflow) ThrowOverflow();
    return v ? *v : 0;
  }

  std::string ascii;
  if (char16_t c = peek(); c == u'+' || c == u'-') {
    ascii.push_back(static_cast<char>(c));
    ++i;
  }
  bool mantissa = false, point = false;
  for (char16_t c = peek(); c; c = peek()) {
    if (is_digit(c)) {
      mantissa = true;
    } else if (c == u'.' && !point) {
      point = true;
    } else {
      break;
    }
    ascii.push_back(static_cast<char>(c));
    ++i;
  }
  // An exponent counts only after digits and with digits of its own.
  if (char16_t c = peek(); mantissa && (c == u'E' || c == u'e' || c == u'D' || c == u'd')) {
    size_t mark = i;
    ++i;
    std::string exponent = "e";
    if (char16_t sign = peek(); sign == u'+' || sign == u'-') {
      exponent.push_back(static_cast<char>(sign));
      ++i;
    }
    bool exp_digits = false;
    for (char16_t d = peek(); is_digit(d); d = peek()) {
      exponent.push_back(static_cast<char>(d));
      exp_digits = true;
      ++i;
    }
    if (exp_digits) ascii += exponent;
    else i = mark;
  }
  if (!mantissa) return 0;
  double d = std::strtod(ascii.c_str(), nullptr);
  if (!std::isfinite(d)) ThrowOverflow();
  return d;
}

Text LongToText(int64_t n) {
  // Digits written from the right into a buffer, then copied once.
  char16_t buffer[20];
  char16_t* const end = buffer + std::size(buffer);
  char16_t* p = end;
  uint64_t magnitude = n < 0 ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
  do {
    *--p = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (n < 0) *--p = u'-';
  return Text(p, static_cast<size_t>(end - p));
}

namespace {
Text FormatSignificant(double d, int digits) {
  if (d == 0) return u"0";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*G", digits, d);
  std::string s = buf;
  // %G keeps a trailing "." only with '#'; it already strips zeros.
  return FromAscii(s);
}
}  // namespace

Text DoubleToText(double d) {
  // A whole number of at most 15 digits (places, points, counts) reads as
  // the integer it is, as the 15-digit form writes it.
  if (std::fabs(d) < 1e15 && d == std::trunc(d)) return LongToText(static_cast<int64_t>(d));
  return FormatSignificant(d, 15);
}
Text SingleToText(float f) { return FormatSignificant(f, 7); }

Text CurrencyToText(Currency c) {
  int64_t v = c.scaled;
  bool neg = v < 0;
  uint64_t u = neg ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
  std::string s = std::to_string(u / 10000);
  uint64_t frac = u % 10000;
  if (frac) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04llu", static_cast<unsigned long long>(frac));
    std::string f = buf;
    while (!f.empty() && f.back() == '0') f.pop_back();
    s += "." + f;
  }
  return FromAscii((neg ? "-" : "") + s);
}

Currency CurrencyFromDouble(double d) {
  double scaled = RoundHalfEven(d * 10000.0);
  if (!(scaled >= -9223372036854775808.0 && scaled < 9223372036854775808.0)) ThrowOverflow();
  return Currency{static_cast<int64_t>(scaled)};
}

double CurrencyToDouble(Currency c) { return static_cast<double>(c.scaled) / 10000.0; }

Text CStr(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty: return Text();
    case VarType::Null: ThrowInvalidNull();
    case VarType::Boolean: return v.As<bool>() ? u"True" : u"False";
    case VarType::Byte: return LongToText(v.As<uint8_t>());
    case VarType::Integer: return LongToText(v.As<int16_t>());
    case VarType::Long: return LongToText(v.As<int32_t>());
    case VarType::Single: return SingleToText(v.As<float>());
    case VarType::Double: return DoubleToText(v.As<double>());
    case VarType::Currency: return CurrencyToText(v.As<Currency>());
    case VarType::Date: return DateToText(v.As<Date>());
    case VarType::String: return v.text();
    case VarType::Object: return CStr(DefaultOf(v));
    default: ThrowTypeMismatch();
  }
}

double CDbl(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty: return 0;
    case VarType::Null: ThrowInvalidNull();
    case VarType::Boolean: return v.As<bool>() ? -1 : 0;
    case VarType::Byte: return v.As<uint8_t>();
    case VarType::Integer: return v.As<int16_t>();
    case VarType::Long: return v.As<int32_t>();
    case VarType::Single: return v.As<float>();
    case VarType::Double: return v.As<double>();
    case VarType::Currency: return CurrencyToDouble(v.As<Currency>());
    case VarType::Date: return v.As<Date>().serial;
    case VarType::String: return TextToDouble(v.text());
    case VarType::Object: return CDbl(DefaultOf(v));
    default: ThrowTypeMismatch();
  }
}

namespace {
template <class Int>
Int RoundToInt(const Variant& v) {
  switch (v.type()) {
    case VarType::Boolean:
      // True is -1, which a Byte cannot hold.
      if (std::numeric_limits<Int>::min() == 0 && v.As<bool>()) ThrowOverflow();
      return v.As<bool>() ? static_cast<Int>(-1) : Int{0};
    case VarType::Byte: return v.As<uint8_t>();
    case VarType::Integer:
      if constexpr (sizeof(Int) >= 2) {
        int32_t i = v.As<int16_t>();
        if (i < std::numeric_limits<Int>::min() || i > std::numeric_limits<Int>::max())
          ThrowOverflow();
        return static_cast<Int>(i);
      }
      break;
    default: break;
  }
  double d = RoundHalfEven(CDbl(v));
  if (!(d >= static_cast<double>(std::numeric_limits<Int>::min()) &&
        d <= static_cast<double>(std::numeric_limits<Int>::max())))
    ThrowOverflow();
  return static_cast<Int>(d);
}
}  // namespace

int16_t CInt(const Variant& v) { return RoundToInt<int16_t>(v); }
int32_t CLng(const Variant& v) { return RoundToInt<int32_t>(v); }
uint8_t CByte(const Variant& v) { return RoundToInt<uint8_t>(v); }

float CSng(const Variant& v) {
  double d = CDbl(v);
  if (std::fabs(d) > std::numeric_limits<float>::max()) ThrowOverflow();
  return static_cast<float>(d);
}

Currency CCur(const Variant& v) {
  if (v.Is<Currency>()) return v.As<Currency>();
  if (v.IsString()) {
    if (auto c = ReadCurrencyText(v.text())) return *c;
    return CurrencyFromDouble(TextToDouble(v.text()));
  }
  return CurrencyFromDouble(CDbl(v));
}

bool CBool(const Variant& v) {
  switch (v.type()) {
    case VarType::Boolean: return v.As<bool>();
    case VarType::String: {
      TextView s = v.text();
      size_t b = 0, e = s.size();
      while (b < e && IsBlank(s[b])) ++b;
      while (e > b && IsBlank(s[e - 1])) --e;
      TextView t = s.substr(b, e - b);
      if (EqualsNoCase(t, u"True") || EqualsNoCase(t, u"#TRUE#")) return true;
      if (EqualsNoCase(t, u"False") || EqualsNoCase(t, u"#FALSE#")) return false;
      return TextToDouble(t) != 0;
    }
    case VarType::Object: return CBool(DefaultOf(v));
    default: return CDbl(v) != 0;
  }
}

Date CDate(const Variant& v) {
  switch (v.type()) {
    case VarType::Date: return v.As<Date>();
    case VarType::String: {
      auto d = ParseDateText(v.text());
      if (!d) ThrowTypeMismatch();
      return *d;
    }
    case VarType::Object: return CDate(DefaultOf(v));
    default: {
      double serial = CDbl(v);
      if (!IsValidSerial(serial)) ThrowOverflow();
      return Date{serial};
    }
  }
}

bool IsNumeric(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty:
    case VarType::Boolean:
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
      return true;
    case VarType::String: return ParseNumber(v.text()).has_value();
    default: return false;
  }
}

bool IsDate(const Variant& v) {
  if (v.Is<Date>()) return true;
  if (v.IsString()) return ParseDateText(v.text()).has_value();
  return false;
}

}  // namespace automation
