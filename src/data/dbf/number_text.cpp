#include "data/dbf/number_text.h"

#include <charconv>
#include <cstdint>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace data::dbf {

std::optional<std::string> FormatFieldNumber(double value, int width, int decimals) {
  if (!std::isfinite(value)) return std::nullopt;
  if (decimals < 0) decimals = 0;
  bool negative = std::signbit(value);
  double magnitude = std::fabs(value);
  // Round the shortest faithful decimal form (15 significant digits), so
  // that 2.675 rounds to 2.68 as it reads, not as its binary value does.
  char sci[40];
  std::snprintf(sci, sizeof sci, "%.14e", magnitude);
  std::string digits;
  digits += sci[0];
  for (const char* p = sci + 2; *p && *p != 'e'; ++p) digits += *p;
  int exponent = std::atoi(std::strchr(sci, 'e') + 1);
  // digits d0 d1 ... d14 stand for d0.d1d2... x 10^exponent. Keep the digits
  // down to the last decimal place.
  int keep = exponent + 1 + decimals;
  std::string kept;
  if (keep <= 0) {
    kept = (keep == 0 && digits[0] >= '5') ? "1" : "0";
  } else if (keep >= static_cast<int>(digits.size())) {
    kept = digits + std::string(keep - digits.size(), '0');
  } else {
    kept = digits.substr(0, keep);
    if (digits[keep] >= '5') {
      int i = keep - 1;
      while (i >= 0 && kept[i] == '9') kept[i--] = '0';
      if (i < 0)
        kept.insert(kept.begin(), '1');
      else
        ++kept[i];
    }
  }
  // kept holds the value x 10^decimals as a whole number.
  if (kept.size() <= static_cast<size_t>(decimals))
    kept.insert(0, decimals + 1 - kept.size(), '0');
  std::string whole = kept.substr(0, kept.size() - decimals);
  size_t nz = whole.find_first_not_of('0');
  whole = nz == std::string::npos ? "0" : whole.substr(nz);
  std::string frac = kept.substr(kept.size() - decimals);
  bool zero = whole == "0" && frac.find_first_not_of('0') == std::string::npos;
  std::string text = (negative && !zero ? "-" : "") + whole + (decimals ? "." + frac : "");
  if (text.size() > static_cast<size_t>(width)) return std::nullopt;
  return std::string(width - text.size(), ' ') + text;
}

double ParseFieldNumber(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\0')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\0')) --e;
  if (b == e) return 0;
  std::string_view t = s.substr(b, e - b);
  // The usual form, [-]digits[.digits] with at most 15 digits, exactly:
  // both the digits as a whole number and the power of ten are exact
  // doubles, so one division rounds as a full parse would.
  {
    static const double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8,
                                    1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    size_t i = 0;
    bool negative = t[0] == '-';
    if (negative) ++i;
    uint64_t digits = 0;
    int count = 0, decimals = -1;
    for (; i < t.size(); ++i) {
      char c = t[i];
      if (c >= '0' && c <= '9') {
        digits = digits * 10 + static_cast<uint64_t>(c - '0');
        ++count;
        if (decimals >= 0) ++decimals;
      } else if (c == '.' && decimals < 0) {
        decimals = 0;
      } else {
        break;
      }
    }
    if (i == t.size() && count > 0 && count <= 15) {
      double v = static_cast<double>(digits);
      if (decimals > 0) v /= kPow10[decimals];
      return negative ? -v : v;
    }
  }
  if (t.front() == '+') t.remove_prefix(1);
  double v = 0;
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (ec != std::errc()) return 0;
  // Some tools write a decimal comma.
  if (end != t.data() + t.size() && *end == ',') {
    std::string copy(t);
    copy[end - t.data()] = '.';
    std::from_chars(copy.data(), copy.data() + copy.size(), v);
  }
  return v;
}

}  // namespace data::dbf
