#include "automation/coerce.h"

#include <cfenv>
#include <cmath>
#include <cstdio>
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

std::optional<double> ParseRadix(TextView s, int radix) {
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
    if (n > 0xFFFFFFFFull) return std::nullopt;
  }
  // Literals of up to 16 bits read as Integer, longer ones as Long: &HFFFF is -1.
  if (n <= 0xFFFF && ((radix == 16 && s.size() <= 4) || (radix == 8 && n <= 0xFFFF)))
    return static_cast<double>(static_cast<int16_t>(n));
  return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(n)));
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
  size_t b = 0, e = text.size();
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  TextView s = text.substr(b, e - b);
  if (s.empty()) return std::nullopt;
  if (s.size() >= 2 && s[0] == u'&') {
    if (s[1] == u'H' || s[1] == u'h') return ParseRadix(s.substr(2), 16);
    if (s[1] == u'O' || s[1] == u'o') return ParseRadix(s.substr(2), 8);
    return std::nullopt;
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
  if (!digits) return std::nullopt;
  if (i < s.size() && (s[i] == u'E' || s[i] == u'e' || s[i] == u'D' || s[i] == u'd')) {
    ascii.push_back('e');
    ++i;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ascii.push_back(static_cast<char>(s[i++]));
    bool exp_digits = false;
    for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) {
      ascii.push_back(static_cast<char>(s[i]));
      exp_digits = true;
    }
    if (!exp_digits) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;
  double d = std::strtod(ascii.c_str(), nullptr);
  if (!std::isfinite(d)) return std::nullopt;
  return d;
}

double Val(TextView text) {
  std::string ascii;
  size_t i = 0;
  auto skip = [&] {
    while (i < text.size() && IsBlank(text[i])) ++i;
  };
  skip();
  if (i + 1 < text.size() && text[i] == u'&') {
    int radix = (text[i + 1] == u'H' || text[i + 1] == u'h')   ? 16
                : (text[i + 1] == u'O' || text[i + 1] == u'o') ? 8
                                                              : 0;
    if (radix) {
      i += 2;
      Text digits;
      for (; i < text.size(); ++i) {
        char16_t c = text[i];
        bool ok = radix == 16 ? std::isxdigit(c < 128 ? c : 0) : (c >= u'0' && c <= u'7');
        if (!ok) break;
        digits.push_back(c);
      }
      if (digits.empty()) return 0;
      auto v = ParseRadix(digits, radix);
      return v ? *v : 0;
    }
  }
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    ascii.push_back(static_cast<char>(text[i++]));
  }
  bool point = false, exp = false;
  for (; i < text.size(); ++i) {
    char16_t c = text[i];
    if (IsBlank(c)) continue;
    if (c >= u'0' && c <= u'9') {
      ascii.push_back(static_cast<char>(c));
    } else if (c == u'.' && !point && !exp) {
      ascii.push_back('.');
      point = true;
    } else if ((c == u'E' || c == u'e' || c == u'D' || c == u'd') && !exp) {
      // An exponent only counts when digits follow it.
      size_t j = i + 1;
      while (j < text.size() && IsBlank(text[j])) ++j;
      if (j < text.size() && (text[j] == u'+' || text[j] == u'-')) ++j;
      while (j < text.size() && IsBlank(text[j])) ++j;
      if (j >= text.size() || text[j] < u'0' || text[j] > u'9') break;
      ascii.push_back('e');
      exp = true;
      ++i;
      while (i < text.size() && IsBlank(text[i])) ++i;
      if (text[i] == u'+' || text[i] == u'-') ascii.push_back(static_cast<char>(text[i]));
      else --i;
    } else {
      break;
    }
  }
  double d = std::strtod(ascii.c_str(), nullptr);
  if (!std::isfinite(d)) ThrowOverflow();
  return d;
}

Text LongToText(int64_t n) { return FromAscii(std::to_string(n)); }

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

Text DoubleToText(double d) { return FormatSignificant(d, 15); }
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
    case VarType::String: {
      auto d = ParseNumber(v.text());
      if (!d) ThrowTypeMismatch();
      return *d;
    }
    case VarType::Object: return CDbl(DefaultOf(v));
    default: ThrowTypeMismatch();
  }
}

namespace {
template <class Int>
Int RoundToInt(const Variant& v) {
  switch (v.type()) {
    case VarType::Boolean: return v.As<bool>() ? -1 : 0;
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
    // Parse digits exactly where possible, so that "0.1" is 1000 scaled, not 999.
    auto d = ParseNumber(v.text());
    if (!d) ThrowTypeMismatch();
    return CurrencyFromDouble(*d);
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
      auto d = ParseNumber(t);
      if (!d) ThrowTypeMismatch();
      return *d != 0;
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
