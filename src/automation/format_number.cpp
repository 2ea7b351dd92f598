// Format of numbers through user patterns: digit placeholders, decimal
// point, grouping and scaling commas, percent, exponent and literal text.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "automation/format_detail.h"

namespace automation::detail {
namespace {

// The 15 significant digits of a positive number and the power of ten of
// the first: 1234.5 gives "123450000000000" and 3.
struct Significant {
  char digits[16];
  int exponent;
};

Significant ToSignificant(double value) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.14e", value);
  Significant s;
  s.digits[0] = buf[0];
  std::memcpy(s.digits + 1, buf + 2, 14);
  s.digits[15] = 0;
  s.exponent = std::atoi(std::strchr(buf, 'e') + 1);
  return s;
}

// Adds one to the last digit of a digit string; true when it carried out of
// the first digit (the string then reads 000... and the caller prepends 1).
bool IncrementDigits(std::string& digits) {
  for (size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return false;
    }
    digits[i] = '0';
  }
  return true;
}

bool IsLiteralStart(char16_t c) { return c == u'"' || c == u'\\'; }

// Skips a quoted text or an escaped character starting at s[i]; returns
// the index after it and appends its characters to `out` when given.
size_t SkipLiteral(TextView s, size_t i, Text* out) {
  if (s[i] == u'\\') {
    if (i + 1 < s.size() && out) out->push_back(s[i + 1]);
    return std::min(i + 2, s.size());
  }
  size_t j = i + 1;
  while (j < s.size() && s[j] != u'"') {
    if (out) out->push_back(s[j]);
    ++j;
  }
  return std::min(j + 1, s.size());
}

// What a number section asks for, read before any digit is written.
struct SectionShape {
  int int_places = 0;        // digit placeholders before the point
  int min_int_digits = 0;    // from the first "0" before the point to the point
  int frac_places = 0;       // digit placeholders after the point
  int min_frac_digits = 0;   // up to the last "0" after the point
  bool grouping = false;     // a comma between integer placeholders
  int scale_thousands = 0;   // commas just before the point (or the end)
  int percent = 0;           // each "%" multiplies by 100
  bool exponent = false;
  int exp_min_digits = 0;    // "0" placeholders after E+ or E-
};

bool IsDigitPlaceholder(char16_t c) { return c == u'0' || c == u'#'; }

bool IsExponentAt(TextView s, size_t i) {
  return (s[i] == u'E' || s[i] == u'e') && i + 1 < s.size() && (s[i + 1] == u'+' || s[i + 1] == u'-');
}

SectionShape ReadShape(TextView s) {
  SectionShape shape;
  bool after_point = false, seen_zero = false;
  int pending_commas = 0;  // commas since the last integer placeholder
  for (size_t i = 0; i < s.size();) {
    char16_t c = s[i];
    if (IsLiteralStart(c)) {
      i = SkipLiteral(s, i, nullptr);
      continue;
    }
    if (shape.exponent) {
      if (c == u'0') ++shape.exp_min_digits;
      ++i;
      continue;
    }
    if (IsExponentAt(s, i)) {
      shape.exponent = true;
      i += 2;
      continue;
    }
    if (IsDigitPlaceholder(c)) {
      if (after_point) {
        ++shape.frac_places;
        if (c == u'0') shape.min_frac_digits = shape.frac_places;
      } else {
        if (pending_commas && shape.int_places) shape.grouping = true;
        pending_commas = 0;
        ++shape.int_places;
        if (c == u'0') seen_zero = true;
        if (seen_zero) ++shape.min_int_digits;
      }
    } else if (c == u',' && !after_point) {
      ++pending_commas;
    } else if (c == u'.' && !after_point) {
      after_point = true;
      shape.scale_thousands = pending_commas;
      pending_commas = 0;
    } else if (c == u'%') {
      ++shape.percent;
    }
    ++i;
  }
  if (!after_point) shape.scale_thousands = pending_commas;
  return shape;
}

// The digits a section will show, after rounding.
struct ShownNumber {
  std::string whole;  // padded to min_int_digits
  std::string frac;   // trailing zeros of "#" places removed
  int exponent = 0;
};

ShownNumber Shape(double value, const SectionShape& shape) {
  ShownNumber out;
  for (int k = 0; k < shape.percent; ++k) value *= 100;
  for (int k = 0; k < shape.scale_thousands; ++k) value /= 1000;
  if (shape.exponent) {
    int int_places = std::max(shape.int_places, 1);
    int wanted = int_places + shape.frac_places;
    std::string digits(static_cast<size_t>(wanted), '0');
    if (value != 0) {
      Significant sig = ToSignificant(value);
      int e = sig.exponent;
      for (int k = 0; k < wanted && k < 15; ++k) digits[k] = sig.digits[k];
      if (wanted < 15 && sig.digits[wanted] >= '5' && IncrementDigits(digits)) {
        digits.insert(digits.begin(), '1');
        digits.pop_back();
        ++e;
      }
      out.exponent = e - (int_places - 1);
    }
    out.whole = digits.substr(0, static_cast<size_t>(int_places));
    out.frac = digits.substr(static_cast<size_t>(int_places));
    if (shape.int_places == 0) out.whole.clear();
  } else {
    FixedDigits f = ToFixed(value, shape.frac_places);
    out.whole = std::move(f.whole);
    out.frac = std::move(f.frac);
    if (static_cast<int>(out.whole.size()) < shape.min_int_digits)
      out.whole.insert(0, static_cast<size_t>(shape.min_int_digits) - out.whole.size(), '0');
  }
  while (static_cast<int>(out.frac.size()) > shape.min_frac_digits && out.frac.back() == '0')
    out.frac.pop_back();
  return out;
}

bool AllZero(const ShownNumber& n) {
  auto zero = [](const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c == '0'; });
  };
  return zero(n.whole) && zero(n.frac);
}

// Writes the section with the shown digits in place of its placeholders.
Text Emit(TextView s, const SectionShape& shape, const ShownNumber& n) {
  Text out;
  out.reserve(s.size() + n.whole.size() + 8);
  const int whole_len = static_cast<int>(n.whole.size());
  const int offset = whole_len - shape.int_places;  // digits beyond the placeholders
  int int_index = 0, frac_index = 0;
  bool after_point = false, in_exponent = false, whole_written = false, exp_written = false;

  auto put_digit = [&](int q) {
    out.push_back(static_cast<char16_t>(n.whole[static_cast<size_t>(q)]));
    int left = whole_len - 1 - q;
    if (shape.grouping && left > 0 && left % 3 == 0) out.push_back(kThousandsSeparator);
  };
  // Without integer placeholders the whole part goes where the point is.
  auto write_whole_once = [&] {
    if (whole_written) return;
    whole_written = true;
    if (shape.int_places == 0)
      for (int q = 0; q < whole_len; ++q) put_digit(q);
  };

  for (size_t i = 0; i < s.size();) {
    char16_t c = s[i];
    if (IsLiteralStart(c)) {
      i = SkipLiteral(s, i, &out);
      continue;
    }
    if (in_exponent) {
      if (IsDigitPlaceholder(c)) {
        // All exponent digits are written at the first placeholder.
        if (!exp_written) {
          exp_written = true;
          std::string e = std::to_string(std::abs(n.exponent));
          if (static_cast<int>(e.size()) < shape.exp_min_digits)
            e.insert(0, static_cast<size_t>(shape.exp_min_digits) - e.size(), '0');
          out.append(e.begin(), e.end());
        }
      } else {
        out.push_back(c);
      }
      ++i;
      continue;
    }
    if (shape.exponent && IsExponentAt(s, i)) {
      write_whole_once();
      out.push_back(c);
      if (n.exponent < 0) out.push_back(u'-');
      else if (s[i + 1] == u'+') out.push_back(u'+');
      in_exponent = true;
      i += 2;
      continue;
    }
    if (IsDigitPlaceholder(c)) {
      if (after_point) {
        if (frac_index < static_cast<int>(n.frac.size()))
          out.push_back(static_cast<char16_t>(n.frac[static_cast<size_t>(frac_index)]));
        ++frac_index;
      } else {
        int q = int_index + offset;
        if (int_index == 0)
          for (int k = 0; k < q; ++k) put_digit(k);  // digits beyond the placeholders
        if (q >= 0) put_digit(q);
        ++int_index;
        whole_written = true;
      }
    } else if (c == u'.' && !after_point) {
      write_whole_once();
      after_point = true;
      out.push_back(kDecimalPoint);
    } else if (c == u',' && !after_point) {
      // grouping or scaling; nothing to write
    } else {
      out.push_back(c);
    }
    ++i;
  }
  write_whole_once();
  return out;
}

Text FormatSection(double magnitude, TextView section, bool minus) {
  SectionShape shape = ReadShape(section);
  ShownNumber shown = Shape(magnitude, shape);
  Text body = Emit(section, shape, shown);
  // A negative number that rounds to nothing shows no sign.
  if (minus && !AllZero(shown)) body.insert(body.begin(), u'-');
  return body;
}

}  // namespace

FixedDigits ToFixed(double value, int decimals) {
  FixedDigits out;
  if (!(value > 0)) {
    out.frac.assign(static_cast<size_t>(decimals), '0');
    return out;
  }
  Significant sig = ToSignificant(value);
  const int e = sig.exponent;
  const int top = std::max(e, 0);
  std::string digits;  // the places 10^top down to 10^-decimals
  digits.reserve(static_cast<size_t>(top + decimals + 2));
  for (int place = top; place >= -decimals; --place) {
    int idx = e - place;
    digits.push_back(idx >= 0 && idx < 15 ? sig.digits[idx] : '0');
  }
  int next = e + decimals + 1;  // index of the first digit dropped
  if (next >= 0 && next < 15 && sig.digits[next] >= '5' && IncrementDigits(digits))
    digits.insert(digits.begin(), '1');
  size_t whole_len = digits.size() - static_cast<size_t>(decimals);
  size_t first = 0;
  while (first < whole_len && digits[first] == '0') ++first;
  out.whole = digits.substr(first, whole_len - first);
  out.frac = digits.substr(whole_len);
  return out;
}

Text GroupDigits(std::string_view digits) {
  Text out;
  out.reserve(digits.size() + digits.size() / 3);
  for (size_t i = 0; i < digits.size(); ++i) {
    out.push_back(static_cast<char16_t>(digits[i]));
    size_t left = digits.size() - 1 - i;
    if (left > 0 && left % 3 == 0) out.push_back(kThousandsSeparator);
  }
  return out;
}

std::vector<TextView> SplitSections(TextView pattern) {
  std::vector<TextView> out;
  size_t start = 0;
  for (size_t i = 0; i < pattern.size();) {
    if (IsLiteralStart(pattern[i])) {
      i = SkipLiteral(pattern, i, nullptr);
      continue;
    }
    if (pattern[i] == u';') {
      out.push_back(pattern.substr(start, i - start));
      start = i + 1;
    }
    ++i;
  }
  out.push_back(pattern.substr(start));
  return out;
}

bool HasDigitPlaceholder(TextView section) {
  for (size_t i = 0; i < section.size();) {
    if (IsLiteralStart(section[i])) {
      i = SkipLiteral(section, i, nullptr);
      continue;
    }
    if (IsDigitPlaceholder(section[i])) return true;
    ++i;
  }
  return false;
}

Text FormatNumberPattern(double value, TextView pattern) {
  std::vector<TextView> sections = SplitSections(pattern);
  // Sections: positive; negative; zero. An empty or missing section falls
  // back to the first, which then shows the sign itself.
  auto pick = [&](size_t k) -> TextView {
    return k < sections.size() && !sections[k].empty() ? sections[k] : sections[0];
  };
  if (value == 0 && sections.size() >= 3 && !sections[2].empty())
    return FormatSection(0, sections[2], false);
  if (value < 0) {
    if (sections.size() >= 2 && !sections[1].empty())
      return FormatSection(-value, sections[1], false);
    return FormatSection(-value, pick(0), true);
  }
  return FormatSection(value, pick(0), false);
}

}  // namespace automation::detail
