#include "arenix/script/editor.h"

#include "arenix/script/editor_parts.h"
#include "arenix/script/js_sources.h"
#include "arenix/script/script_template.h"

namespace arenix::script {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// Step 3 of the compression on one line (without its line break): a
// comment line goes, a trailing comment after ";", "{" or "}" is cut.
void StripLineComment(Text& line) {
  size_t first = 0;
  while (first < line.size() && IsBlank(line[first])) ++first;
  if (line.compare(first, 2, u"//") == 0) {
    line.clear();
    return;
  }
  for (TextView mark : {TextView(u"; //"), TextView(u"{ //"), TextView(u"} //")}) {
    const size_t at = line.find(mark);
    if (at != Text::npos) line.resize(at + 1);
  }
}

}  // namespace

Text CompressScript(TextView script) {
  if (script.empty()) return EditorBlock();
  // Steps 1 and 2: tabs to spaces, runs of spaces to one.
  Text spaced;
  spaced.reserve(script.size());
  for (char16_t c : script) {
    if (c == u'\t') c = u' ';
    if (c == u' ' && !spaced.empty() && spaced.back() == u' ') continue;
    spaced += c;
  }
  // Steps 3 and 4, line by line; the line breaks themselves are dropped.
  Text out;
  out.reserve(spaced.size());
  size_t start = 0;
  while (start <= spaced.size()) {
    size_t end = spaced.find_first_of(u"\r\n", start);
    if (end == Text::npos) end = spaced.size();
    Text line = spaced.substr(start, end - start);
    StripLineComment(line);
    out += line;
    start = end + 1;
  }
  return out;
}

Text EditorBlock() {
  Text block = u"<script>\r\n'use strict';\r\n";
  block += FillIn(js::kEditor, {{u"style_sheet", editor::StyleSheet()}, {u"icon_set", editor::IconSet()}});
  block += u"\r\n</script>";
  // The source is written with LF; the block's lines are joined with CR LF.
  Text crlf;
  crlf.reserve(block.size() + block.size() / 32);
  for (size_t i = 0; i < block.size(); ++i) {
    if (block[i] == u'\n' && (i == 0 || block[i - 1] != u'\r')) crlf += u'\r';
    crlf += block[i];
  }
  return CompressScript(crlf);
}

}  // namespace arenix::script
