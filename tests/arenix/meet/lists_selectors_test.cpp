// The title selectors of the entry and query pages, on a real meet
// database: whole texts, the recorder's own events from the session, and
// values from the database escaped where they land.
#include <gtest/gtest.h>

#include "arenix/meet/selectors.h"
#include "lists_html.h"

namespace lists_test {
namespace {

using arenix::meet::SelectAgeTeam;
using arenix::meet::SelectFromTable;
using arenix::meet::SelectHeat;
using arenix::meet::SelectSex;
using arenix::meet::SelectStage;
using wldf_test::Meet;

constexpr char kEnd[] = "</select>&nbsp;&nbsp;&nbsp;";

TEST(ListsSelectors, SexStageAndHeat) {
  EXPECT_EQ(ToUtf8(SelectSex(u"混")),
            std::string("性别组：<select name='sex' class='inputselect'><option  value='男' >男子组</option>"
                        "<option  value='女' >女子组</option><option  value='混'  selected >混合组</option>") +
                kEnd);
  const std::string plain = "赛次：<select name='sc' class='inputselect'>";
  const std::string on_change =
      "赛次：<select name='sc' class='inputselect' onChange=\"if(document.sele.bssc.selectedIndex==0){"
      "document.sele.all.zc.disabled=false;document.sele.all.zc.selectedIndex=";
  const std::string after_heat =
      ";}else{document.sele.all.zc.disabled=true;document.sele.all.zc.selectedIndex=0;}\">";
  struct Case {
    int16_t stages, stage, edit;
    const char16_t* heat;
    std::string expected;
  } cases[] = {
      {3, 0, 0, u"0",
       plain + "<option  value=1 selected >预赛</option><option  value=3>复赛</option><option  value=4>决赛</option>"},
      {1, 0, 0, u"0", plain + "<option  value=4 selected >决赛</option>"},
      {4, 2, 0, u"0",
       plain + "<option  value=1>预赛</option><option  value=2 selected >次赛</option><option  value=3>复赛</option>"
               "<option  value=4>决赛</option>"},
      {2, 4, 1, u" 3", on_change + "3" + after_heat + "<option  value=1>预赛</option><option  value=4 selected >决赛</option>"},
      // Only a whole number reaches the script.
      {2, 1, 1, u"2;alert(1)", on_change + "0" + after_heat +
                                   "<option  value=1 selected >预赛</option><option  value=4>决赛</option>"},
      {5, 0, 0, u"0", plain},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.stages) + "/" + std::to_string(c.stage));
    EXPECT_EQ(ToUtf8(SelectStage(c.stages, c.stage, c.edit, c.heat)), c.expected + kEnd);
  }
  const std::string heats =
      "组次：<select name='zc' class='inputselect'><option  value='0'  selected>全部</option>";
  EXPECT_EQ(ToUtf8(SelectHeat(u"2", 3)), heats +
                                             "<option value='1'>第1组</option><option value='2' selected >第2组</option>"
                                             "<option value='3'>第3组</option>" + kEnd);
  EXPECT_EQ(ToUtf8(SelectHeat(u"x", 1)), heats + "<option value='1'>第1组</option>" + kEnd);
  EXPECT_EQ(ToUtf8(SelectHeat(u"", 0)), heats + kEnd);
}

struct Page {
  std::shared_ptr<host::MemoryRequest> request = std::make_shared<host::MemoryRequest>();
  std::shared_ptr<host::MemorySession> session = std::make_shared<host::MemorySession>();
  Variant Request{automation::ObjectPtr(request)};
  Variant Session{automation::ObjectPtr(session)};
};

TEST(ListsSelectors, EventsOfTheRecorderFromTheSession) {
  Meet meet;
  for (const char* e : {"100米", "跳远", "O'Neil杯", "<i>x</i>"}) {
    std::string quoted = e;
    for (size_t at = quoted.find('\''); at != std::string::npos; at = quoted.find('\'', at + 2)) quoted.insert(at, "'");
    meet.Exec("Insert Into Item (参赛项目) Values ('" + quoted + "')");
  }
  struct Case {
    std::string label, session, query;
    int16_t edit;
    const char16_t* extra;
    std::string options;
  } cases[] = {
      {"recorder's two events", "张三|100米,跳远|x", "Item=%CC%F8%D4%B6", 1, u"",
       "<option  value='100米' >100米</option><option  value='跳远'  selected >跳远</option>"},
      {"a quote in an event name", "张三|O'Neil杯", "", 1, u"",
       "<option  value='O&#39;Neil杯' >O&#39;Neil杯</option>"},
      {"no session: no events", "", "", 1, u"", ""},
      {"query page: every event", "", "", 0, u"",
       "<option  value='100米' >100米</option><option  value='跳远' >跳远</option>"
       "<option  value='O&#39;Neil杯' >O&#39;Neil杯</option><option  value='&lt;i&gt;x&lt;/i&gt;' >"
       "&lt;i&gt;x&lt;/i&gt;</option>"},
      {"a further condition", "", "", 0, u"参赛项目='100米'", "<option  value='100米' >100米</option>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    Page page;
    page.request->SetQueryString(FromUtf8(c.query));
    if (!c.session.empty()) page.session->Set(u"SPORTS_WLDF_Session", Variant(FromUtf8(c.session)));
    const Text html = SelectFromTable(page.Request, page.Session, meet.conn, meet.rs,
                                      {u"Item", u"参赛项目", c.edit, c.extra});
    EXPECT_EQ(ToUtf8(html), "参赛项目：<select name='Item' class='inputselect'>" + c.options + kEnd);
  }
  Page page;
  Variant html = CallByName(u"CommShowTitleSub_AgeItem",
                            {page.Request, page.Session, meet.conn, meet.rs, Variant(u"item"), Variant(u"参赛项目"),
                             Variant(int16_t{0}), Variant(u" AJAX ")});
  const std::string ajax = ToUtf8(html.text());
  EXPECT_EQ(ajax.rfind(
            "参赛项目：<select name='item' class='inputselect' onChange='ShowAjax(\"itemsum_select\","
            "\"../comm/item_sub_list.asp?item=\"+this.value)'><option  value='100米' >", 0), 0u) << ajax;
  EXPECT_FALSE(automation::ObjectCast<data::Recordset>(meet.rs).IsOpen());
}

TEST(ListsSelectors, AgeGroupsAndTheirDelegations) {
  Meet meet;
  meet.Exec("Insert Into Age (年龄组) Values ('甲组')");
  meet.Exec("Insert Into Age (年龄组) Values ('乙组')");
  meet.Exec("Insert Into team (代表队, 年龄组) Values ('一中', '甲组')");
  meet.Exec("Insert Into team (代表队, 年龄组) Values ('一中', '甲组')");
  meet.Exec("Insert Into team (代表队, 年龄组) Values ('二\"中</script>', '乙组')");
  const std::string html = ToUtf8(SelectAgeTeam(meet.conn, meet.rs, u"乙组", u"x';alert(1);'"));
  EXPECT_EQ(html,
            "<script language=javascript>var onecount;onecount=0;subcat = new Array();"
            "subcat[0] = new Array(0,3,0);subcat[1] = new Array(0,2,0);subcat[2] = new Array(0,1,0);"
            "subcat[3] = new Array(\"一中\",\"甲组\",\"一中\");"
            "subcat[4] = new Array(\"二\\x22中\\x3C/script\\x3E\",\"乙组\",\"二\\x22中\\x3C/script\\x3E\");"
            "onecount=5;function changelocation(locationid){document.sele.team.length = 0;var i;"
            "for (i=0;i < onecount; i++){if (subcat[i][1] == locationid){document.sele.team.options["
            "document.sele.team.length] = new Option(subcat[i][0], subcat[i][2]);}}}</script>"
            "年龄组：<select name='age' onChange='changelocation(document.sele.age.options["
            "document.sele.age.selectedIndex].value);' size='1'><option  value='甲组'>甲组</option>"
            "<option  value='乙组' selected >乙组</option></select>&nbsp;&nbsp;&nbsp;"
            "&nbsp;&nbsp;代表队：<select name='team'></select>&nbsp;&nbsp;&nbsp;"
            "<script language=javascript>changelocation(document.sele.age.options["
            "document.sele.age.selectedIndex].value);document.sele.team.options.value="
            "'x\\x27;alert(1);\\x27';</script>");
}

}  // namespace
}  // namespace lists_test
