// The form frame and the login frame and about box built on it.
#include <gtest/gtest.h>

#include "frames_expect.h"
#include "list_call.h"

namespace arenix::show {
namespace {

using testing::ListCallText;

using testing::kCloser;

// The form frame as specified, around the content row.
std::string Form(const std::string& w, const std::string& h, const std::string& close_href,
                 const std::string& content_h, const std::string& content) {
  return "<br><br><body leftmargin=0 topmargin=0><table align=center width='" + w + "' height='" +
         h + "' cellpadding=0 cellspacing=0 style='border:4px solid #7786DB;border-top:0px solid "
         "#7786DB;background:#ECE9D8;'>"
         "<tr height=28  style=\"padding-left:2px;background-image:url(../comm/image/"
         "orvel_form_title_bg.asp)\"><td align=left valign=middle width=\"100%\" "
         "style='Font-Size:14px;color:#FFFFFF;vertical-align:middle;'><img "
         "src=\"../comm/image/tb.asp\" height=16 width=16 border=0 style='vertical-align:middle;'>"
         "&nbsp;Meetora</td>"
         "<td align=right valign=middle width=\"20\"><a href=" + close_href +
         "><img src=\"../comm/image/orvel_form_close.asp\" title=\"关闭\" border=0></a>&nbsp;"
         "</td></tr>"
         "<tr height='" + content_h + "' valign=top><td align=center colspan=2>" + content +
         "</td></tr></table>";
}

Variant Host() { return Variant(u""); }

TEST(FramesPageFrame, ShowFormClosesTheWindowOrGoesToTheIndex) {
  EXPECT_EQ(ListCallText(u"CommShowForm", {Host(), Host(), Host(), Variant(int16_t{500}),
                                            Variant(int16_t{300}), Variant(u"<p>内容</p>")}),
            Form("500", "300", "Index.asp", "238", "<p>内容</p>"));
  EXPECT_EQ(ListCallText(u"CommShowForm", {Host(), Host(), Host(), Variant(int16_t{308}),
                                            Variant(int16_t{10}), Variant(u""), Variant(true)}),
            Form("308", "10", "javascript:" + kCloser, "-52", ""));
  // The content row is 62 shorter; below the 16-bit range that overflows.
  EXPECT_NE(ListCallText(u"CommShowForm", {Host(), Host(), Host(), Variant(int16_t{1}),
                                            Variant(int16_t{-32706}), Variant(u"")})
                .find("<tr height='-32768'"),
            std::string::npos);
  try {
    ListCallText(u"CommShowForm",
                 {Host(), Host(), Host(), Variant(int16_t{1}), Variant(int16_t{-32707}), Variant(u"")});
    ADD_FAILURE() << "no overflow";
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), 6);
  }
}

const std::string kRoundBoxStyle =
    "<style type='text/css'>"
    ".b1,.b2,.b3,.b4,.b1b,.b2b,.b3b,.b4b,.b{display:block;overflow:hidden;}"
    ".b1,.b2,.b3,.b1b,.b2b,.b3b{height:1px;}"
    ".b2,.b3,.b4,.b2b,.b3b,.b4b,.b{border-left:1px solid #999;border-right:1px solid #999;}"
    ".b1,.b1b{margin:0 5px;background:#999;}"
    ".b2,.b2b{margin:0 3px;border-width:2px;}"
    ".b3,.b3b{margin:0 2px;}"
    ".b4,.b4b{height:2px;margin:0 1px;}"
    ".k {height:30px;}"
    "</style>";

const std::string kLogoRows =
    "<tr height=20><td align=right valign=top>版本号：08.34.09&nbsp;&nbsp;</td></tr>"
    "<tr height=80><td align=center valign=middle ><div style='float:left;padding-left:10px;'>"
    "<img src=\"../comm/image/orvel_lf.asp\"></div><div style='float:right;width: 70%; height: "
    "100%;vertical-align: middle;' class='dddfont1'>Meetora</div></td></tr>";

std::string FrameOf(const std::string& inner) {
  return Form("308", "400", "javascript:" + kCloser, "338", inner);
}

TEST(FramesPageFrame, ShowLoginShowsTheLogoOrTheTitleImageAndTheCredit) {
  std::string with_logo = ListCallText(u"CommShowLogin", {Host(), Host(), Host(), Variant(u"<form>F</form>")});
  std::string head = kRoundBoxStyle + "<table width='100%' cellspacing=0 padding=0>" + kLogoRows +
                     "<tr height=80><td style='padding-left:110px;padding-right:10px;"
                     "padding-top:-20px;' align=right><div style='width:140px;text-align:left;'>"
                     "<b class='b1'></b><b class='b2 d1'></b><b class='b3 d1'></b><b class='b4 d1'></b>"
                     "<div class='b d1 k'><font style='color:gray; margin:0px 5px;'>";
  std::string tail = "</font></div><b class='b4b d1'></b><b class='b3b d1'></b>"
                     "<b class='b2b d1'></b><b class='b1b'></b></div></td></tr>"
                     "<tr height=30><td></td></tr><tr height=160 valign=top><td align=center>"
                     "<form>F</form></td></tr></table>";
  std::string whole_head = FrameOf("").substr(0, FrameOf("").size() - 18);  // up to the content
  ASSERT_EQ(with_logo.rfind(whole_head + head, 0), 0u) << with_logo;
  EXPECT_NE(with_logo.find(tail + "</td></tr></table>"), std::string::npos) << with_logo;
  // The credit block holds two gray lines, the first followed by a line break.
  std::string credit = with_logo.substr(whole_head.size() + head.size());
  EXPECT_NE(credit.find("</font><br><font style='color:gray; margin:0px 5px;'>"), std::string::npos);

  std::string with_image = ListCallText(
      u"CommShowLogin", {Host(), Host(), Host(), Variant(u"F"), Variant(u"../img/top.jpg")});
  EXPECT_NE(with_image.find("<table width='100%' cellspacing=0 padding=0><tr height=100 "
                            "style='background: url(../img/top.jpg);background-repeat:no-repeat;'>"
                            "<td align=right valign=top>版本号：08.34.09&nbsp;&nbsp;</td></tr>"
                            "<tr height=80><td style='padding-left:110px;"),
            std::string::npos)
      << with_image;
  EXPECT_EQ(with_image.find("orvel_lf.asp"), std::string::npos);
}

TEST(FramesPageFrame, ShowAboutHasNoCreditBlockAndIgnoresItsContent) {
  std::string about = ListCallText(u"CommShowAbout", {Host(), Host(), Host(), Variant(u"不显示")});
  std::string start = FrameOf("").substr(0, FrameOf("").size() - 18) +
                      "<table width='100%' cellspacing=0 padding=0>" + kLogoRows +
                      "<tr height=30><td></td></tr><tr height=160 valign=top><td align=center>";
  ASSERT_EQ(about.rfind(start, 0), 0u) << about;
  EXPECT_EQ(about.find("<style"), std::string::npos);
  EXPECT_EQ(about.find("不显示"), std::string::npos);
  EXPECT_NE(about.find("技术支持"), std::string::npos);
}

}  // namespace
}  // namespace arenix::show
