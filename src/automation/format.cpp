// Format and the FormatNumber family: choosing between the number, date and
// text forms of a value, the named forms, and the locale's number layout.
#include <optional>

#include "automation/format_detail.h"
#include "automation/object.h"
#include "automation/runtime.h"

namespace automation {
namespace {

using detail::FormatDatePattern;
using detail::FormatNumberPattern;

enum class Named {
  None,
  GeneralNumber,
  Currency,
  Fixed,
  Standard,
  Percent,
  Scientific,
  YesNo,
  TrueFalse,
  OnOff,
  GeneralDate,
  LongDate,
  MediumDate,
  ShortDate,
  LongTime,
  MediumTime,
  ShortTime,
};

Named ParseNamed(TextView pattern) {
  struct Entry {
    TextView name;
    Named named;
  };
  static constexpr Entry kNames[] = {
      {u"General Number", Named::GeneralNumber}, {u"Currency", Named::Currency},
      {u"Fixed", Named::Fixed},                  {u"Standard", Named::Standard},
      {u"Percent", Named::Percent},              {u"Scientific", Named::Scientific},
      {u"Yes/No", Named::YesNo},                 {u"True/False", Named::TrueFalse},
      {u"On/Off", Named::OnOff},                 {u"General Date", Named::GeneralDate},
      {u"Long Date", Named::LongDate},           {u"Medium Date", Named::MediumDate},
      {u"Short Date", Named::ShortDate},         {u"Long Time", Named::LongTime},
      {u"Medium Time", Named::MediumTime},       {u"Short Time", Named::ShortTime},
  };
  for (const Entry& e : kNames)
    if (EqualsNoCase(pattern, e.name)) return e.named;
  return Named::None;
}

bool IsDateForm(Named n) { return n >= Named::GeneralDate; }

// The named date forms as patterns of the Chinese locale.
TextView DatePatternOf(Named n) {
  switch (n) {
    case Named::LongDate: return u"dddddd";
    case Named::MediumDate: return u"yy-mmm-dd";
    case Named::ShortDate: return u"ddddd";
    case Named::LongTime: return u"ttttt";
    case Named::MediumTime: return u"hh:nn AMPM";
    case Named::ShortTime: return u"hh:nn";
    default: return u"c";
  }
}

// True when the pattern has a date field letter or an AM/PM marker outside
// quotes and escapes.
bool HasDateField(TextView pattern) {
  for (size_t i = 0; i < pattern.size(); ++i) {
    char16_t c = pattern[i];
    if (c == u'\\') {
      ++i;
      continue;
    }
    if (c == u'"') {
      while (++i < pattern.size() && pattern[i] != u'"') {
      }
      continue;
    }
    switch (c | 0x20) {
      case u'd': case u'm': case u'y': case u'q': case u'w': case u'h': case u'n':
      case u's': case u'c':
        return true;
      case u'a':
        if (i + 2 < pattern.size() && pattern[i + 1] == u'/') return true;
        if (EqualsNoCase(pattern.substr(i, 4), u"ampm")) return true;
        break;
      case u't':
        if (EqualsNoCase(pattern.substr(i, 5), u"ttttt")) return true;
        break;
      default: break;
    }
  }
  return false;
}

bool HasTextPlaceholder(TextView pattern) {
  for (char16_t c : pattern)
    if (c == u'@' || c == u'&' || c == u'<' || c == u'>') return true;
  return false;
}

// A text through @ (a character or a space), & (a character or nothing),
// < (lower case), > (upper case) and ! (fill from the left). Characters go
// to the placeholders from the right unless ! says otherwise; a text longer
// than the placeholders puts its extra characters into the outermost one.
Text FormatTextPattern(TextView text, TextView pattern) {
  Text s(text);
  bool from_left = false;
  size_t slots = 0;
  for (char16_t c : pattern) {
    if (c == u'<') s = LCase(s);
    else if (c == u'>') s = UCase(s);
    else if (c == u'!') from_left = true;
    else if (c == u'@' || c == u'&') ++slots;
  }
  auto is_flag = [](char16_t c) { return c == u'<' || c == u'>' || c == u'!'; };
  Text out;
  if (slots == 0) {
    for (char16_t c : pattern)
      if (!is_flag(c)) out.push_back(c);
    return out + s;
  }
  const size_t n = s.size();
  size_t slot = 0;
  for (char16_t c : pattern) {
    if (is_flag(c)) continue;
    if (c != u'@' && c != u'&') {
      out.push_back(c);
      continue;
    }
    // The part of s this placeholder shows, as [first, last).
    size_t first, last;
    if (n > slots) {
      first = from_left ? slot : (slot == 0 ? 0 : slot + n - slots);
      last = from_left ? (slot == slots - 1 ? n : slot + 1) : slot + n - slots + 1;
    } else {
      size_t skip = from_left ? 0 : slots - n;
      first = last = 0;
      if (slot >= skip && slot - skip < n) {
        first = slot - skip;
        last = first + 1;
      }
    }
    if (first < last) out.append(s, first, last - first);
    else if (c == u'@') out.push_back(u' ');
    ++slot;
  }
  return out;
}

// The value behind an object variable (a record set field, say).
Variant Unwrap(const Variant& v) {
  const ObjectPtr& o = v.object();
  if (!o) throw Error(err::kObjectNotSet);
  return o->Invoke(u"", InvokeKind::PropertyGet, {});
}

Text NullSection(TextView pattern) {
  std::vector<TextView> sections = detail::SplitSections(pattern);
  if (sections.size() < 4) return Text();
  return FormatNumberPattern(0, sections[3]);
}

Text DateWithPattern(double serial, TextView pattern) {
  if (!IsValidSerial(serial)) ThrowOverflow();
  return FormatDatePattern(Date{serial}, pattern);
}

Text FormatNamed(const Variant& v, Named named) {
  if (IsDateForm(named)) {
    Date d;
    if (v.Is<Date>()) d = v.As<Date>();
    else if (auto parsed = v.IsString() ? ParseDateText(v.text()) : std::nullopt) d = *parsed;
    else d = CDate(Variant(CDbl(v)));
    if (named == Named::GeneralDate) return DateToText(d);
    return FormatDatePattern(d, DatePatternOf(named));
  }
  double x = CDbl(v);
  switch (named) {
    case Named::GeneralNumber:
      return v.Is<Currency>() ? CurrencyToText(v.As<Currency>()) : DoubleToText(x);
    case Named::Currency: return FormatCurrency(Variant(x));
    case Named::Fixed: return FormatNumberPattern(x, u"0.00");
    case Named::Standard: return FormatNumberPattern(x, u"#,##0.00");
    case Named::Percent: return FormatNumberPattern(x, u"0.00%");
    case Named::Scientific: return FormatNumberPattern(x, u"0.00E+00");
    case Named::YesNo: return x != 0 ? u"Yes" : u"No";
    case Named::TrueFalse: return x != 0 ? u"True" : u"False";
    case Named::OnOff: return x != 0 ? u"On" : u"Off";
    default: return CStr(v);
  }
}

// The locale's number layout shared by FormatNumber, FormatPercent and
// FormatCurrency: grouping, a leading zero, "-" for negatives.
struct NumberLayout {
  int digits;
  bool leading_zero;
  bool parens;
  bool group;
};

NumberLayout ResolveLayout(int32_t digits, Tristate leading, Tristate parens, Tristate group) {
  if (digits < -1 || digits > 99) ThrowInvalidCall();
  auto pick = [](Tristate t, bool locale_default) {
    return t == Tristate::UseDefault ? locale_default : t == Tristate::True;
  };
  return {digits == -1 ? 2 : digits, pick(leading, true), pick(parens, false), pick(group, true)};
}

// The magnitude's digits with the layout; `negative` says whether to mark it.
Text LayoutNumber(double x, const NumberLayout& layout, bool* negative) {
  detail::FixedDigits f = detail::ToFixed(x < 0 ? -x : x, layout.digits);
  Text out;
  if (f.whole.empty()) {
    if (layout.leading_zero) out.push_back(u'0');
  } else if (layout.group) {
    out = detail::GroupDigits(f.whole);
  } else {
    out.assign(f.whole.begin(), f.whole.end());
  }
  if (layout.digits > 0) {
    out.push_back(detail::kDecimalPoint);
    out.append(f.frac.begin(), f.frac.end());
  }
  bool zero = f.whole.empty() && f.frac.find_first_not_of('0') == std::string::npos;
  *negative = x < 0 && !zero;
  return out;
}

double NumberArgument(const Variant& v) {
  if (v.IsString()) {
    auto d = ParseNumber(v.text());
    if (!d) ThrowTypeMismatch();
    return *d;
  }
  return CDbl(v);
}

}  // namespace

Text Format(const Variant& value, TextView pattern) {
  if (value.IsObject()) return Format(Unwrap(value), pattern);
  if (value.IsEmpty() || value.IsNull()) return NullSection(pattern);
  if (value.IsArray() || value.IsBytes()) ThrowTypeMismatch();

  if (pattern.empty()) return CStr(value);
  Named named = ParseNamed(pattern);
  if (named != Named::None) {
    if (value.IsString()) {
      // Text that is neither number nor date comes back as it is.
      TextView t = value.text();
      bool usable = IsDateForm(named) ? (ParseDateText(t) || ParseNumber(t)) : ParseNumber(t).has_value();
      if (!usable) return value.text();
    }
    return FormatNamed(value, named);
  }

  const bool number_pattern = detail::HasDigitPlaceholder(pattern);
  const bool date_pattern = !number_pattern && HasDateField(pattern);
  if (value.IsString()) {
    TextView t = value.text();
    if (number_pattern) {
      if (auto d = ParseNumber(t)) return FormatNumberPattern(*d, pattern);
      if (auto d = ParseDateText(t)) return FormatNumberPattern(d->serial, pattern);
      return value.text();
    }
    if (date_pattern) {
      if (auto d = ParseDateText(t)) return FormatDatePattern(*d, pattern);
      if (auto d = ParseNumber(t); d && IsValidSerial(*d)) return FormatDatePattern(Date{*d}, pattern);
      return value.text();
    }
    return FormatTextPattern(t, pattern);
  }
  if (!number_pattern && !date_pattern && HasTextPlaceholder(pattern))
    return FormatTextPattern(CStr(value), pattern);
  if (date_pattern) {
    if (value.Is<Date>()) return FormatDatePattern(value.As<Date>(), pattern);
    return DateWithPattern(CDbl(value), pattern);
  }
  return FormatNumberPattern(CDbl(value), pattern);
}

Text FormatNumber(const Variant& value, int32_t digits, Tristate leading_zero, Tristate parens,
                  Tristate group) {
  if (value.IsNull()) return Text();
  NumberLayout layout = ResolveLayout(digits, leading_zero, parens, group);
  bool negative;
  Text body = LayoutNumber(NumberArgument(value), layout, &negative);
  if (!negative) return body;
  return layout.parens ? u"(" + body + u")" : u"-" + body;
}

Text FormatPercent(const Variant& value, int32_t digits, Tristate leading_zero, Tristate parens,
                   Tristate group) {
  if (value.IsNull()) return Text();
  NumberLayout layout = ResolveLayout(digits, leading_zero, parens, group);
  bool negative;
  Text body = LayoutNumber(NumberArgument(value) * 100, layout, &negative) + u"%";
  if (!negative) return body;
  return layout.parens ? u"(" + body + u")" : u"-" + body;
}

Text FormatCurrency(const Variant& value, int32_t digits, Tristate leading_zero, Tristate parens,
                    Tristate group) {
  if (value.IsNull()) return Text();
  NumberLayout layout = ResolveLayout(digits, leading_zero, parens, group);
  bool negative;
  Text body = LayoutNumber(NumberArgument(value), layout, &negative);
  Text symbol(detail::kCurrencySymbol);
  if (!negative) return symbol + body;
  // The locale writes negative amounts as "￥-1.00".
  return layout.parens ? u"(" + symbol + body + u")" : symbol + u"-" + body;
}

Text FormatDateTime(const Variant& value, DateFormat form) {
  if (value.IsNull()) return Text();
  Date d = value.Is<Date>() ? value.As<Date>() : CDate(value);
  switch (form) {
    case DateFormat::GeneralDate: return DateToText(d);
    case DateFormat::LongDate: return detail::LongDateText(d);
    case DateFormat::ShortDate: return detail::ShortDateText(d);
    case DateFormat::LongTime: return FormatDatePattern(d, u"ttttt");
    case DateFormat::ShortTime: return FormatDatePattern(d, u"hh:nn");
  }
  ThrowInvalidCall();
}

}  // namespace automation
