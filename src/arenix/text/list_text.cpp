#include "arenix/text/list_text.h"

#include <algorithm>

#include "automation/runtime.h"

namespace arenix::text {

Text JoinChar(TextView url) {
  using automation::InStr;
  using automation::Len;
  if (url.empty()) return Text();
  int32_t q = InStr(url, u"?");
  if (q >= Len(url)) return Text(url);
  if (q > 1) {
    if (InStr(url, u"&") >= Len(url)) return Text(url);
    return Text(url) + u"&";
  }
  return Text(url) + u"?";
}

Text ReplaceAt(TextView list, int16_t at, TextView with, TextView delimiter) {
  std::vector<Text> items = automation::Split(list, delimiter);
  int32_t last = std::max(static_cast<int32_t>(items.size()) - 1, int32_t{at});
  Text out;
  for (int32_t i = 0; i <= last; ++i) {
    if (i == at)
      out += with;
    else if (i < static_cast<int32_t>(items.size()))
      out += items[i];
    if (i < last) out += delimiter;
  }
  return out;
}

}  // namespace arenix::text
