// The small pieces every list page is made of: spacer lines, the search
// frame and the grid row, called by name as pages call them.
#include <gtest/gtest.h>

#include "list_call.h"

namespace arenix::show {
namespace {

using testing::ListCallText;

struct Case {
  const char16_t* method;
  std::vector<Variant> args;
  std::string expected;
};

void RunCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(automation::ToUtf8(c.method));
    EXPECT_EQ(ListCallText(c.method, c.args), c.expected);
  }
}

TEST(ListPieces, SpacerLines) {
  RunCases({
      {u"CommShowColorLine", {Variant(int16_t{760}), Variant(int16_t{1}), Variant(u"#336699")},
       "<table cellspacing=0 cellpadding=0 width=760 border=0><tr><td nowrap bgcolor=#336699 "
       "height=1></td></tr></table>"},
      {u"CommShowEmptyLine", {Variant(int16_t{2})},
       "<table cellspacing=0 cellpadding=0 border=0 width='100%'><tr height=2><td></td></tr></table>"},
      {u"CommShowEmptyLine", {Variant(int16_t{5}), Variant(u"#ffffff")},
       "<table cellspacing=0 cellpadding=0 border=0 width='100%' bgcolor='#ffffff'><tr height=5>"
       "<td></td></tr></table>"},
      {u"CommShowSpace", {Variant(int16_t{3})}, "&nbsp;&nbsp;&nbsp;"},
      {u"CommShowSpace", {Variant(int16_t{0})}, ""},
      {u"CommShowSpace", {Variant(int16_t{-2})}, ""},
  });
}

TEST(ListPieces, SearchFrameOpensAndClosesTheFormItNames) {
  const char* frame =
      "<table class=Content_border cellpadding=0 cellspacing=1 boarder=0 width='100%' align=center>"
      "<tr align=center><td class='searchbg'>";
  RunCases({
      {u"CommShowSearchLeft", {Variant(u"")}, frame},
      {u"CommShowSearchLeft", {Variant(u"FORM")},
       std::string(frame) + "<form method='post' name='sele' action='?'>"},
      {u"CommShowSearchLeft", {Variant(u"Find"), Variant(u"760")},
       "<table class=Content_border cellpadding=0 cellspacing=1 boarder=0 width='760' align=center>"
       "<tr align=center><td class='searchbg'><form method='post' name='find' action='?'>"},
      {u"CommShowSearchRight", {Variant(u"Form")}, "</td></form></tr></table>"},
      {u"CommShowSearchRight", {Variant(u"")}, "</td></tr></table>"},
      // Another form name is left open for the page to close.
      {u"CommShowSearchRight", {Variant(u"find")}, "</td></tr></table>"},
  });
}

TEST(ListPieces, GridRowAlternatesColoursAndLightsUp) {
  const char* odd =
      "<tr align=center  bgcolor='#eeeeff' onmouseover=\"this.style.backgroundColor='#cceecc'\"  "
      "onmouseout=\"this.style.backgroundColor='#eeeeff'\">";
  const char* even =
      "<tr align=center  bgcolor='#e5e5f9' onmouseover=\"this.style.backgroundColor='#cceecc'\"  "
      "onmouseout=\"this.style.backgroundColor='#e5e5f9'\">";
  RunCases({
      {u"CommShowGridTr", {Variant(int16_t{1})}, odd},
      {u"CommShowGridTr", {Variant(int16_t{2})}, even},
      {u"CommShowGridTr", {Variant(int16_t{0})}, even},
      // The remainder of -3 by 2 is -1, not 1: the even colour.
      {u"CommShowGridTr", {Variant(int16_t{-3})}, even},
      {u"CommShowGridTr",
       {Variant(int16_t{3}), Variant(u"style='height:25px;'"), Variant(u"red"), Variant(u"blue"),
        Variant(u"green"), Variant(u"left")},
       "<tr align=left style='height:25px;' bgcolor='red' onmouseover=\"this.style.backgroundColor="
       "'green'\"  onmouseout=\"this.style.backgroundColor='red'\">"},
  });
}

}  // namespace
}  // namespace arenix::show
