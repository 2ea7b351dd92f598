#include "arenix/script/one_line.h"

namespace arenix::script {

namespace {

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

// Letters, digits, "_", "$" and anything beyond ASCII: two of these on both
// sides of a removed line break would merge two names into one.
bool IsNameCharacter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
         c == u'_' || c == u'$' || c > 0x7F;
}

}  // namespace

Text OneLine(TextView script) {
  Text out;
  out.reserve(script.size());
  size_t pos = 0;
  while (pos <= script.size()) {
    size_t end = script.find(u'\n', pos);
    if (end == TextView::npos) end = script.size();
    TextView line = script.substr(pos, end - pos);
    while (!line.empty() && IsSpace(line.front())) line.remove_prefix(1);
    while (!line.empty() && IsSpace(line.back())) line.remove_suffix(1);
    if (!line.empty()) {
      if (!out.empty() && IsNameCharacter(out.back()) && IsNameCharacter(line.front())) out += u' ';
      out += line;
    }
    pos = end + 1;
  }
  return out;
}

Text ScriptElement(TextView body) {
  return u"<script language=\"JavaScript\">" + OneLine(body) + u"</script>";
}

}  // namespace arenix::script
