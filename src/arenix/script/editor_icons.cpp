// The editor's built-in icon set: one <symbol> per tool picture, drawn on
// a 22 by 16 grid. Tool buttons refer to them as "#icon-" + name. Emitted
// inside a single-quoted script constant: double quotes only, one line.
#include <utility>

#include "arenix/script/editor_parts.h"

namespace arenix::script::editor {
namespace {

// Shorthands for the drawings below.
#define LINE_ "stroke=\"currentColor\" stroke-width=\"1.6\" fill=\"none\" stroke-linecap=\"round\""
#define LETTER_(x, y, letter, attrs) \
  "<text x=\"" #x "\" y=\"" #y "\" text-anchor=\"middle\" font-family=\"Arial,sans-serif\" " attrs ">" letter "</text>"

constexpr std::pair<const char*, const char*> kIcons[] = {
    {"aligncenter", "<path " LINE_ " d=\"M3 3h16M6 6.5h10M3 10h16M6 13.5h10\"/>"},
    {"alignleft", "<path " LINE_ " d=\"M3 3h16M3 6.5h10M3 10h16M3 13.5h10\"/>"},
    {"alignright", "<path " LINE_ " d=\"M3 3h16M9 6.5h10M3 10h16M9 13.5h10\"/>"},
    {"bold", LETTER_(11, 13, "B", "font-size=\"14\" font-weight=\"bold\"")},
    {"code", "<path " LINE_ " d=\"M8 3L3 8l5 5M14 3l5 5-5 5\"/>"},
    {"corner", "<path " LINE_ " d=\"M19 5v10H5\"/>"},
    {"del", "<path " LINE_ " d=\"M5 4h12M9 4V2h4v2M7 4l1 11h6l1-11\"/>"},
    {"dir", "<path " LINE_ " d=\"M3 3h6l2 2h8v9H3z\"/>"},
    {"drag", "<path " LINE_ " d=\"M7 5h8M7 8h8M7 11h8\"/>"},
    {"empty", "<rect " LINE_ " x=\"4\" y=\"2\" width=\"14\" height=\"12\" rx=\"1\"/>"},
    {"face", "<circle " LINE_ " cx=\"11\" cy=\"8\" r=\"6.5\"/><circle cx=\"8.5\" cy=\"6.5\" r=\"1\"/><circle cx=\"13.5\" cy=\"6.5\" r=\"1\"/><path " LINE_ " d=\"M8 10a3.5 3.5 0 0 0 6 0\"/>"},
    {"files", "<path " LINE_ " d=\"M14 5l-5.5 5.5a1.8 1.8 0 0 0 2.5 2.5L17 7a3.2 3.2 0 0 0-4.5-4.5L6.5 8.5a4.6 4.6 0 0 0 6.5 6.5\"/>"},
    {"font", LETTER_(11, 13, "A", "font-size=\"13\" font-weight=\"bold\"") "<rect x=\"4\" y=\"14\" width=\"14\" height=\"2\"/>"},
    {"format", "<path " LINE_ " d=\"M6 11l7-8 3 3-8 7zM4 15h14\"/>"},
    {"help", "<circle " LINE_ " cx=\"11\" cy=\"8\" r=\"6.5\"/>" LETTER_(11, 11.5, "?", "font-size=\"10\" font-weight=\"bold\"")},
    {"indent", "<path " LINE_ " d=\"M3 3h16M10 6.5h9M10 10h9M3 13.5h16M3 6l3 2-3 2z\"/>"},
    {"italic", LETTER_(11, 13, "I", "font-size=\"14\" font-style=\"italic\"")},
    {"link", "<path " LINE_ " d=\"M9.5 10.5l3-5M8 6H6.5a2.5 2.5 0 0 0 0 5H8M14 11h1.5a2.5 2.5 0 0 0 0-5H14\"/>"},
    {"list", "<path " LINE_ " d=\"M7 4h12M7 8h12M7 12h12M3 4h1M3 8h1M3 12h1\"/>"},
    {"lookup", "<circle " LINE_ " cx=\"10\" cy=\"7\" r=\"4.5\"/><path " LINE_ " d=\"M13.5 10.5L17 14\"/>"},
    {"max", "<path " LINE_ " d=\"M4 6V3h4M14 3h4v3M18 10v3h-4M8 13H4v-3\"/>"},
    {"min", "<path " LINE_ " d=\"M8 3v3H4M18 6h-4V3M14 13v-3h4M4 10h4v3\"/>"},
    {"music", "<path " LINE_ " d=\"M9 12V3l8-1.5V11\"/><circle cx=\"7\" cy=\"12.5\" r=\"2\"/><circle cx=\"15\" cy=\"11.5\" r=\"2\"/>"},
    {"orderedlist", "<path " LINE_ " d=\"M9 4h10M9 8h10M9 12h10\"/>" "<text x=\"2\" y=\"7\" font-size=\"6\" font-family=\"Arial\">1</text><text x=\"2\" y=\"14\" font-size=\"6\" font-family=\"Arial\">2</text>"},
    {"outdent", "<path " LINE_ " d=\"M3 3h16M10 6.5h9M10 10h9M3 13.5h16M7 6l-3 2 3 2z\"/>"},
    {"pic", "<rect " LINE_ " x=\"3\" y=\"2.5\" width=\"16\" height=\"11\" rx=\"1\"/><path d=\"M4 13l5-5 3 3 2-2 4 4z\"/><circle cx=\"15\" cy=\"5.5\" r=\"1.3\"/>"},
    {"product", "<path " LINE_ " d=\"M11 2l7 3.5v5L11 14l-7-3.5v-5zM4 5.5L11 9l7-3.5M11 9v5\"/>"},
    {"quote", LETTER_(11, 17, "\u201c", "font-size=\"20\"")},
    {"remove", LETTER_(9, 13, "T", "font-size=\"13\"") "<path " LINE_ " d=\"M14 9l5 5M19 9l-5 5\"/>"},
    {"save", "<path " LINE_ " d=\"M4 2h11l3 3v9H4zM7 2v4h7V2M7 14v-4h8v4\"/>"},
    {"strike", LETTER_(11, 13, "S", "font-size=\"14\"") "<rect x=\"3\" y=\"7.5\" width=\"16\" height=\"1.4\"/>"},
    {"subscript", LETTER_(8, 11, "X", "font-size=\"12\"") "<text x=\"14\" y=\"15\" font-size=\"7\" font-family=\"Arial\">2</text>"},
    {"superscript", LETTER_(8, 14, "X", "font-size=\"12\"") "<text x=\"14\" y=\"7\" font-size=\"7\" font-family=\"Arial\">2</text>"},
    {"symbol", "<text x=\"2\" y=\"13\" font-size=\"9\" font-family=\"Arial\">a</text><text x=\"8\" y=\"13\" font-size=\"14\" font-family=\"Arial\">A</text>"},
    {"tab", "<path " LINE_ " d=\"M3 8h16\"/><path d=\"M3 6v4M19 6v4\" " LINE_ "/>"},
    {"table", "<rect " LINE_ " x=\"3\" y=\"2.5\" width=\"16\" height=\"11\"/><path " LINE_ " d=\"M3 6.2h16M3 9.8h16M8.3 2.5v11M13.7 2.5v11\"/>"},
    {"underline", LETTER_(11, 12, "U", "font-size=\"13\"") "<rect x=\"5\" y=\"14\" width=\"12\" height=\"1.4\"/>"},
    {"unlink", "<path " LINE_ " d=\"M8 6H6.5a2.5 2.5 0 0 0 0 5H8M14 11h1.5a2.5 2.5 0 0 0 0-5H14M10 2v2M12 12v2\"/>"},
    {"unorderedlist", "<path " LINE_ " d=\"M8 4h11M8 8h11M8 12h11\"/><circle cx=\"4\" cy=\"4\" r=\"1.3\"/><circle cx=\"4\" cy=\"8\" r=\"1.3\"/><circle cx=\"4\" cy=\"12\" r=\"1.3\"/>"},
    {"video", "<rect " LINE_ " x=\"2.5\" y=\"3\" width=\"12\" height=\"10\" rx=\"1\"/><path d=\"M15.5 6.5L20 4v8l-4.5-2.5z\"/>"},
    {"word", "<rect " LINE_ " x=\"4\" y=\"1.5\" width=\"14\" height=\"13\" rx=\"1\"/>" LETTER_(11, 11.5, "W", "font-size=\"9\" font-weight=\"bold\"")},
};

#undef LINE_
#undef LETTER_

}  // namespace

Text IconSet() {
  Text svg = u"<svg xmlns=\"http://www.w3.org/2000/svg\" style=\"position:absolute;width:0;height:0;overflow:hidden\">";
  for (const auto& [name, body] : kIcons) {
    svg += u"<symbol id=\"icon-" + automation::FromUtf8(name) + u"\" viewBox=\"0 0 22 16\">" +
           automation::FromUtf8(body) + u"</symbol>";
  }
  return svg + u"</svg>";
}

}  // namespace arenix::script::editor
