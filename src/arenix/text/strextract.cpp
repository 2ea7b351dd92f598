#include "arenix/text/strextract.h"

#include <algorithm>

#include "automation/runtime.h"

namespace arenix::text {

Text StrExtract(TextView text, TextView begin, TextView end, int16_t start, int16_t flags) {
  using automation::InStr;
  using automation::Len;
  using automation::Mid;
  // Upper-casing keeps every character in its place, so positions found in
  // the upper-cased copies hold in the original text.
  Text upper_text, upper_begin, upper_end;
  TextView search = text, b_delim = begin, e_delim = end;
  if (flags & kExtractIgnoreCase) {
    upper_text = automation::UCase(text);
    upper_begin = automation::UCase(begin);
    upper_end = automation::UCase(end);
    search = upper_text;
    b_delim = upper_begin;
    e_delim = upper_end;
  }
  int32_t b = 1;
  if (!b_delim.empty()) {
    b = InStr(search, b_delim, std::max<int32_t>(start, 1));
    if (b == 0) return Text();
  }
  int32_t len_begin = Len(b_delim);
  bool with_begin = flags & kExtractWithBegin;
  if ((flags & kExtractToEnd) || e_delim.empty()) return Mid(text, with_begin ? b : b + len_begin);
  int32_t e = InStr(search, e_delim, b + len_begin);
  if (e <= b) return Text();
  if (with_begin) return Mid(text, b, e - b);
  return Mid(text, b + len_begin, e - b - len_begin);
}

}  // namespace arenix::text
