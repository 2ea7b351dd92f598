// The rows of the result-entry form and of the result query, rendered from
// real Play rows and compared as whole texts.
#include <gtest/gtest.h>

#include "arenix/meet/list_rows.h"
#include "lists_html.h"

namespace lists_test {
namespace {

using wldf_test::Entrant;
using wldf_test::Meet;

// Entrant 7, 张三 of 一队, heat 1 lane 1, with the columns a case sets.
struct RowCase {
  std::string label;
  std::string set;  // "column=value, ..." for the Update
  std::string expected_tail;  // everything after the five common cells
};

const std::string kRowStart25 =
    "<tr align=center style='height:25px;' bgcolor='#eeeeff' onmouseover=\"this.style.backgroundColor="
    "'#cceecc'\"  onmouseout=\"this.style.backgroundColor='#eeeeff'\"><td>7</td><td>张三</td><td>一队</td>"
    "<td>1</td><td>1</td>";

// What a mark input adds: the digit pad, and a paste of anything but
// digits refused.
const std::string kDigitsOnly =
    " inputmode=numeric onpaste='return /^[\\s0-9\uFF10-\uFF19]*$/.test((event.clipboardData||window.clipboardData)"
    ".getData(\"text\"))'";

// An entry input as the rows write it.
std::string In(const std::string& css, int width, int dot, int length, int max, const std::string& name,
               const std::string& value, int zngy = 1) {
  return "<input type=text class=" + css + " style='width:" + std::to_string(width) + "px' maxlength=" +
         std::to_string(max) + (name.rfind("playcj_", 0) == 0 ? kDigitsOnly : "") +
         " onkeydown='onKeyDownDefault(this," + std::to_string(dot) + "," +
         std::to_string(length) + "," + std::to_string(zngy) + ")' onfocus='this.select()' name='" + name +
         "' value='" + value + "'>";
}

std::string EntryRowOf(Meet& meet, const arenix::meet::EntryRowOptions& o) {
  OpenRows(meet, "Select * From Play Where 编号='7'");
  return ToUtf8(arenix::meet::EntryRow(meet.rs, o));
}

void AddSeven(Meet& meet, const std::string& set) {
  Entrant e;
  e.number = "7";
  e.name = "张三";
  meet.Add(e);
  if (!set.empty()) meet.Exec("Update Play Set " + set + " Where 编号='7'");
}

TEST(ListsRows, EntryInputsFollowTheStoredLayout) {
  // The first case written out whole, as a page receives it.
  {
    Meet meet;
    AddSeven(meet, "比赛成绩='   10230 '");
    EXPECT_EQ(EntryRowOf(meet, {1, 0, 1, 1, 1}),
              kRowStart25 +
                  "<td valign=top><input type=text class=inputcj1 style='width:20px' maxlength=2" + kDigitsOnly +
                  " onkeydown='onKeyDownDefault(this,1,2,1)' onfocus='this.select()' name='playcj_1_7' "
                  "value=' 1'>’<input type=text class=inputcj1 style='width:20px' maxlength=2" + kDigitsOnly +
                  " onkeydown='onKeyDownDefault(this,1,2,1)' onfocus='this.select()' name='playcj_2_7' "
                  "value='02'>”<input type=text class=inputcj1 style='width:20px' maxlength=2" + kDigitsOnly +
                  " onkeydown='onKeyDownDefault(this,1,2,1)' onfocus='this.select()' name='playcj_3_7' "
                  "value='30'></td><td></td><td></td></tr>");
  }
  struct Case {
    std::string label, set;
    int16_t edition, time_style;
    std::string cell;
  } cases[] = {
      {"field 12.34 m", "径赛田赛='田赛', 比赛成绩='    1234 '", 1, 1,
       In("inputcj2", 20, 1, 2, 2, "playcj_1_7", "12") + "．" + In("inputcj2", 20, 1, 2, 2, "playcj_2_7", "34") + "米"},
      {"time with hours", "比赛成绩=' 215300  '", 1, 2,
       In("inputcj1", 20, 1, 2, 2, "playcj_1_7", " 2") + "：" + In("inputcj1", 20, 1, 2, 2, "playcj_2_7", "15") +
           "：" + In("inputcj1", 20, 1, 2, 2, "playcj_3_7", "30") + "．" +
           In("inputcj1", 30, 1, 3, 3, "playcj_4_7", "0  ")},
      {"custom ###个", "自定义格式='###个', 比赛成绩='      123'", 1, 1,
       In("inputcj1", 30, 1, 3, 3, "playcj_1_7", "123") + "个"},
      {"combined total", "径赛田赛='全能', 比赛成绩='     7856'", 1, 1,
       In("inputcj1", 40, 1, 4, 4, "playcj_1_7", "7856") + "分"},
      {"edition 2 times a field event", "径赛田赛='田赛', 比赛成绩='    5012 '", 2, 1,
       In("inputcj1", 20, 1, 2, 2, "playcj_1_7", "  ") + "’" + In("inputcj1", 20, 1, 2, 2, "playcj_2_7", "50") +
           "”" + In("inputcj1", 20, 1, 2, 2, "playcj_3_7", "12")},
      {"no result yet", "", 1, 1,
       In("inputcj1", 20, 1, 2, 2, "playcj_1_7", "  ") + "’" + In("inputcj1", 20, 1, 2, 2, "playcj_2_7", "  ") +
           "”" + In("inputcj1", 20, 1, 2, 2, "playcj_3_7", "  ")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    Meet meet;
    AddSeven(meet, c.set);
    EXPECT_EQ(EntryRowOf(meet, {c.edition, 0, 1, 1, 1, 0, 0, c.time_style}),
              kRowStart25 + "<td valign=top>" + c.cell + "</td><td></td><td></td></tr>");
  }
}

TEST(ListsRows, PlacesModeOffersPlacesPointsAndTheRecordBox) {
  struct Case {
    std::string label, set;
    int16_t stage;
    std::string tail;
  } cases[] = {
      {"final with a record", "比赛成绩='    1012 ', 比赛名次=1, 比赛组名次=2, 比赛得分=9.5, 比赛破记录=.T.", 4,
       "<td valign=top>10”12</td><td>" + In("inputcj1", 20, 1, 2, 2, "playmc_7", "1", 0) + "</td><td>" +
           In("inputcj1", 20, 1, 2, 2, "playzmc_7", "2", 0) + "</td><td>" +
           In("inputcj2", 30, 0, 4, 4, "playdf_7", "9.5", 0) +
           "</td><td><input type=checkbox class=inputcj1 onkeydown='onKeyDownDefault(this,0,4,0)' "
           "onclick='get_df(\"7\",3)' name='playpjl_7' value='on' checked ></td></tr>"},
      {"heats: no points", "比赛名次=3", 1,
       "<td valign=top></td><td>" + In("inputcj1", 20, 1, 2, 2, "playmc_7", "3", 0) + "</td><td>" +
           In("inputcj1", 20, 1, 2, 2, "playzmc_7", "0", 0) + "</td></tr>"},
      {"combined sub-event", "参赛项目='十项全能', 参赛子项目='跳远', 径赛田赛='田赛', 比赛成绩='     712 ', 比赛得分=850", 1,
       "<td valign=top>     7．12 米</td><td>" + In("inputcj1", 20, 1, 2, 2, "playmc_7", "0", 0) + "</td><td>" +
           In("inputcj1", 20, 1, 2, 2, "playzmc_7", "0", 0) + "</td><td>" +
           In("inputcj1", 40, 1, 4, 4, "playqnf_7", "850", 0) + "</td></tr>"},
      {"combined event's own row", "参赛项目='十项全能', 径赛田赛='全能', 比赛成绩='     7856'", 1,
       "<td valign=top>7856分</td><td>" + In("inputcj1", 20, 1, 2, 2, "playmc_7", "0", 0) + "</td><td>" +
           In("inputcj1", 20, 1, 2, 2, "playzmc_7", "0", 0) + "</td><td>" +
           In("inputcj1", 40, 1, 4, 4, "playqnf_7", "7856", 0) + "</td></tr>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    Meet meet;
    AddSeven(meet, c.set);
    EXPECT_EQ(EntryRowOf(meet, {1, 1, 1, c.stage, 0, 3, 6}), kRowStart25 + c.tail);
  }
  // Outside places mode the places are text; a combined event shows its points.
  Meet meet;
  AddSeven(meet, "参赛项目='十项全能', 参赛子项目='100米', 比赛成绩='    1100 ', 比赛名次=2, 比赛组名次=1, 比赛得分=861");
  const std::string row = EntryRowOf(meet, {1, 0, 1, 4});
  EXPECT_NE(row.find("</td><td>2</td><td>1</td><td>861</td></tr>"), std::string::npos) << row;
  EXPECT_EQ(row.find("playdf_"), std::string::npos);
}

TEST(ListsRows, TeamEventsGuestsAndHostileNames) {
  Meet meet;
  Entrant team;
  team.number = "21";
  team.name = "队员甲";
  team.team_event = true;
  team.guest = true;
  meet.Add(team);
  meet.Exec("Update Play Set 比赛团队='一队A', 比赛名次=1 Where 编号='21'");
  OpenRows(meet, "Select * From Play Where 编号='21'");
  const std::string guest_style =
      "<tr align=center style='height:25px;color:#FF7D00' bgcolor='#e5e5f9' onmouseover=\"this.style."
      "backgroundColor='#cceecc'\"  onmouseout=\"this.style.backgroundColor='#e5e5f9'\"><td>21</td>"
      "<td>一队A</td><td>一队★</td><td>1</td><td>1</td>";
  const std::string entry = ToUtf8(arenix::meet::EntryRow(meet.rs, {1, 1, 2, 4, 0, 3, 6, 1, 1}));
  EXPECT_EQ(entry.substr(0, guest_style.size()), guest_style);
  EXPECT_NE(entry.find("get_df(\"21\",6)"), std::string::npos);  // team record points
  // Not marked unless the page asks for it.
  const std::string plain = ToUtf8(arenix::meet::EntryRow(meet.rs, {1, 1, 2, 4}));
  EXPECT_EQ(plain.find("★"), std::string::npos);
  EXPECT_EQ(plain.find("#FF7D00"), std::string::npos);

  // The fixture's insert does not quote; a number with quotes goes in by hand.
  meet.Exec("Insert Into Play (ID, 编号, 运动员, 代表队, 参赛项目, 径赛田赛, 比赛组次, 比赛道次) Values "
            "('9', '9''\"', '<script>x</script>', '<b>x</b>', '100米', '径赛', 1, 1)");
  OpenRows(meet, "Select * From Play Where 运动员 Like '<script>%'");
  const std::string entry_bad = ToUtf8(arenix::meet::EntryRow(meet.rs, {1, 1, 1, 4}));
  EXPECT_EQ(entry_bad.find("<script"), std::string::npos);
  EXPECT_EQ(entry_bad.find("<b>"), std::string::npos);
  EXPECT_NE(entry_bad.find("<td>&lt;script&gt;x&lt;/script&gt;</td><td>&lt;b&gt;x&lt;/b&gt;</td>"),
            std::string::npos);
  const auto inputs = ReadInputs(entry_bad);
  ASSERT_EQ(inputs.size(), 4u);
  EXPECT_EQ(inputs[0].name, "playmc_9'\"");
  EXPECT_EQ(inputs[3].name, "playpjl_9'\"");
  EXPECT_EQ(inputs[3].attributes.at("onclick"), "get_df(\"9\\x27\\x22\",0)");
  const std::string query_bad = ToUtf8(arenix::meet::QueryRow(meet.rs, {}));
  EXPECT_EQ(query_bad.find("<script"), std::string::npos);
}

TEST(ListsRows, QueryRowShowsResultPlaceRecordAndPoints) {
  const std::string start20 =
      "<tr align=center style='height:20px;' bgcolor='#eeeeff' onmouseover=\"this.style.backgroundColor="
      "'#cceecc'\"  onmouseout=\"this.style.backgroundColor='#eeeeff'\"><td>7</td><td>张三</td><td>一队</td>"
      "<td>1</td><td>1</td>";
  struct Case {
    std::string label, set;
    int16_t stage, mark_guests;
    std::string tail;
  } cases[] = {
      {"final, 9.0 points", "比赛成绩='     987 ', 比赛名次=1, 比赛得分=9, 比赛破记录=.T.", 4, 0,
       "<td>9”87</td><td>1</td><td>√</td><td>9</td></tr>"},
      {"final, 10.5 points", "比赛成绩='     987 ', 比赛名次=2, 比赛得分=10.5", 4, 0,
       "<td>9”87</td><td>2</td><td></td><td>10.5</td></tr>"},
      {"heats: no points", "径赛田赛='田赛', 比赛成绩='    1234 ', 比赛名次=3", 1, 0,
       "<td>    12．34 米</td><td>3</td><td></td></tr>"},
      {"combined run", "径赛田赛='全能', 参赛子项目='100米', 比赛成绩='    1100 '", 1, 0,
       "<td>11”00</td><td></td><td></td></tr>"},
      {"combined jump", "径赛田赛='全能', 参赛子项目='跳远', 比赛成绩='     712 '", 1, 0,
       "<td>     7．12 米</td><td></td><td></td></tr>"},
      {"combined total", "径赛田赛='全能', 比赛成绩='     7856'", 1, 0, "<td>7856分</td><td></td><td></td></tr>"},
      {"guest not marked", "编外队员=.T.", 1, 0, "<td></td><td></td><td></td></tr>"},
      // No result: no place 0 and no points 0, in the final as in the heats.
      {"final, no result", "比赛名次=0, 比赛得分=0", 4, 0, "<td></td><td></td><td></td><td></td></tr>"},
      {"final, placed without points", "比赛成绩='    1234 ', 比赛名次=9, 比赛得分=0", 4, 0,
       "<td>12”34</td><td>9</td><td></td><td>0</td></tr>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    Meet meet;
    AddSeven(meet, c.set);
    OpenRows(meet, "Select * From Play Where 编号='7'");
    Variant row = CallByName(u"CommShowWlcxItem",
                             {meet.rs, Variant(int16_t{1}), Variant(int16_t{1}), Variant(int16_t{1}),
                              Variant(c.mark_guests), Variant(c.stage), Variant(int16_t{0})});
    EXPECT_EQ(ToUtf8(row.text()), start20 + c.tail);
  }
  Meet meet;
  AddSeven(meet, "编外队=.T.");
  OpenRows(meet, "Select * From Play Where 编号='7'");
  EXPECT_EQ(ToUtf8(arenix::meet::QueryRow(meet.rs, {1, 3, 1, 1, 1})),
            "<tr align=center style='height:20px;color:#FF7D00' bgcolor='#eeeeff' onmouseover=\"this.style."
            "backgroundColor='#cceecc'\"  onmouseout=\"this.style.backgroundColor='#eeeeff'\"><td>7</td>"
            "<td>张三★</td><td>一队</td><td>1</td><td>1</td><td></td><td></td><td></td></tr>");
  // Past the last row, or on a closed record set, the call fails instead of
  // rendering a row of nothing.
  auto& records = OpenRows(meet, "Select * From Play Where 编号='none'");
  try {
    arenix::meet::QueryRow(meet.rs, {});
    ADD_FAILURE() << "a row was rendered at EOF";
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), automation::err::kNoCurrentRecord);
  }
  records.Close();
  EXPECT_THROW(arenix::meet::EntryRow(meet.rs, {}), automation::Error);
}

}  // namespace
}  // namespace lists_test
