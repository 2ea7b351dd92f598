#include "arenix/meet/result_format.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "arenix/meet/stored_result.h"
#include "automation/coerce.h"
#include "automation/runtime.h"
#include "data/data.h"

namespace arenix::meet {
namespace {

using namespace std::string_view_literals;
using automation::Replace;
using automation::Trim;
using automation::TrimmedView;

// A shown time or mark, built in place: the stored result's slots cut,
// padded and joined, then the leading zeros dropped, without a heap text
// for any step. Every step keeps it within 14 units.
class ShownText {
 public:
  // Starts with the marker of DropLeading.
  ShownText() { Append(u"A"sv); }

  void Append(TextView s) {
    std::copy(s.begin(), s.end(), buffer_.begin() + size_);
    size_ += s.size();
  }
  void Append(size_t count, char16_t c) {
    std::fill_n(buffer_.begin() + size_, count, c);
    size_ += count;
  }
  // Right(fills + piece, width), the fills as many as the width.
  void AppendRight(TextView piece, size_t width, char16_t fill) {
    if (piece.size() >= width) return Append(piece.substr(piece.size() - width));
    Append(width - piece.size(), fill);
    Append(piece);
  }
  // Left(piece + fills, width), the fills at least as many as the width.
  void AppendLeft(TextView piece, size_t width, char16_t fill) {
    if (piece.size() >= width) return Append(piece.substr(0, width));
    Append(piece);
    Append(width - piece.size(), fill);
  }
  // Replace(text, find, with) for a `find` not empty and a `with` no
  // longer than it: every occurrence, left to right, written over the text
  // itself.
  void ReplaceAll(TextView find, TextView with) {
    const TextView text = view();
    size_t out = 0;
    for (size_t i = 0; i < text.size();) {
      if (text[i] == find[0] && text.substr(i).starts_with(find)) {
        std::copy(with.begin(), with.end(), buffer_.begin() + out);
        out += with.size();
        i += find.size();
      } else {
        buffer_[out++] = buffer_[i++];
      }
    }
    size_ = out;
  }
  // The leading-zero removal of the shown forms: the text begins with a
  // marker "A"; each pattern (marker + zeros) is removed in turn, then every
  // "A". Only the first pattern that matches takes effect, because it takes
  // the marker with it.
  Text DropLeading(std::initializer_list<TextView> patterns) {
    // With the marker the only "A" (a stored result of digits and blanks),
    // only a pattern at the start can match, and the first that does takes
    // the marker with it.
    const TextView t = view();
    if (t.find(u'A', 1) == TextView::npos) {
      for (TextView p : patterns)
        if (t.starts_with(p)) return Text(t.substr(p.size()));
      return Text(t.substr(1));
    }
    for (TextView p : patterns) ReplaceAll(p, u""sv);
    ReplaceAll(u"A"sv, u""sv);
    return Text(view());
  }
  TextView view() const { return TextView(buffer_.data(), size_); }

 private:
  std::array<char16_t, 32> buffer_;
  size_t size_ = 0;
};

// Mid(r, start, length), trimmed.
TextView Slot(TextView r, size_t start, size_t length) {
  return start - 1 < r.size() ? TrimmedView(r.substr(start - 1, length)) : TextView();
}

Text FieldMark(TextView r) {
  ShownText t;
  t.AppendRight(Slot(r, 1, 6), 6, u' ');
  t.Append(u"．"sv);
  t.AppendLeft(Slot(r, 7, 3), 3, u' ');
  t.Append(u"米"sv);
  t.ReplaceAll(u"000000．"sv, u"0．"sv);
  return t.DropLeading({u"A00000"sv, u"A0000"sv, u"A000"sv, u"A00"sv, u"A0"sv});
}

Text TimeWithHours(TextView r) {
  ShownText t;
  t.AppendRight(Slot(r, 1, 2), 2, u'0');
  t.Append(u"："sv);
  t.AppendRight(Slot(r, 3, 2), 2, u'0');
  t.Append(u"："sv);
  t.AppendRight(Slot(r, 5, 2), 2, u'0');
  t.Append(u"．"sv);
  t.AppendLeft(Slot(r, 7, 3), 3, u'0');
  t.ReplaceAll(u"00：00"sv, u""sv);
  return t.DropLeading({u"A00："sv});
}

Text Time(TextView r) {
  ShownText t;
  t.AppendRight(Slot(r, 1, 4), 4, u'0');
  t.Append(u"’"sv);
  t.AppendRight(Slot(r, 5, 2), 2, u'0');
  t.Append(u"”"sv);
  t.AppendLeft(Slot(r, 7, 3), 2, u'0');
  t.ReplaceAll(u"0000’"sv, u""sv);
  return t.DropLeading({u"A000"sv, u"A00"sv, u"A0"sv, u"A”"sv});
}

Text TextOrEmpty(const Variant& v) { return v.IsNull() || v.IsEmpty() ? Text() : automation::CStr(v); }

}  // namespace

Text FormatResult(TextView kind, TextView custom_format, TextView stored, int edition, int time_style) {
  if (IsEmptyResult(stored)) return {};
  switch (LayoutOf(custom_format, kind, edition, time_style)) {
    case ResultLayout::kCustom: return Trim(stored) + Replace(custom_format, u"#", u"");
    case ResultLayout::kCombinedTotal: return Trim(stored) + u"分";
    case ResultLayout::kField: return FieldMark(stored);
    case ResultLayout::kTimeWithHours: return TimeWithHours(stored);
    case ResultLayout::kTime: return Time(stored);
  }
  return {};
}

Text FormatResultOfRow(Variant& rs, int edition, int time_style, TextView column) {
  auto& set = automation::ObjectCast<data::Recordset>(rs);
  Text kind = TextOrEmpty(set.Field(u"径赛田赛"));
  Variant result = set.Field(column);
  Text format = TextOrEmpty(set.Field(u"自定义格式"));
  return FormatResult(kind, format, TextOrEmpty(result), edition, time_style);
}

}  // namespace arenix::meet
