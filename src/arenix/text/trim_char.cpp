#include "arenix/text/trim_char.h"

#include "automation/error.h"

namespace arenix::text {

CharSet::CharSet(TextView spec) {
  size_t i = 0;
  // "!" negates only when something follows it; alone it is itself.
  if (spec.size() > 1 && spec[0] == u'!') {
    negated_ = true;
    i = 1;
  }
  while (i < spec.size()) {
    char16_t from = spec[i];
    // A "-" first or last in the set is a plain character.
    if (i + 2 < spec.size() && spec[i + 1] == u'-') {
      char16_t to = spec[i + 2];
      if (to < from) throw automation::Error(93, u"Invalid pattern string");
      ranges_.push_back({from, to});
      i += 3;
    } else {
      ranges_.push_back({from, from});
      i += 1;
    }
  }
}

bool CharSet::Contains(char16_t c) const {
  if (ranges_.empty()) return false;
  bool in = false;
  for (const Range& r : ranges_) {
    if (c >= r.from && c <= r.to) {
      in = true;
      break;
    }
  }
  return in != negated_;
}

namespace {

TextView DropEnd(TextView t, const CharSet& set) {
  while (!t.empty() && set.Contains(t.back())) t.remove_suffix(1);
  return t;
}

TextView DropStart(TextView t, const CharSet& set) {
  while (!t.empty() && set.Contains(t.front())) t.remove_prefix(1);
  return t;
}

}  // namespace

Text TrimChar(TextView text, TextView characters) {
  CharSet set(characters);
  return Text(DropStart(DropEnd(text, set), set));
}

Text LTrimChar(TextView text, TextView characters) {
  return Text(DropStart(text, CharSet(characters)));
}

Text RTrimChar(TextView text, TextView characters) {
  return Text(DropEnd(text, CharSet(characters)));
}

}  // namespace arenix::text
