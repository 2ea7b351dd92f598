// A result save that cannot go through as it came keeps what was typed:
// an expired login (the login on the page that holds the form saves it,
// for the same event, stage and heat), result entry closed (the entry page
// says so before anyone types), and a correction of the heats after the
// final has been run (saved only once confirmed; the final of those still
// in is kept).
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include "automation/coerce.h"
#include "automation/runtime.h"
#include "data/classes.h"
#include "data/connection.h"
#include "data/recordset.h"
#include "web/entry_pages.h"

namespace web_test {
namespace {

void Exec(const std::string& folder, const std::u16string& sql) {
  data::RegisterClasses();
  data::FreeTableConnection conn;
  conn.Open(u"provider=vfpoledb;data source=" + automation::FromUtf8(folder));
  conn.Execute(sql);
}

// A stage field of the men's 100 m of 高中组, by entry number.
std::map<std::string, std::string> StageFields(const std::string& folder, const std::u16string& field) {
  data::RegisterClasses();
  data::FreeTableConnection conn;
  conn.Open(u"provider=vfpoledb;data source=" + automation::FromUtf8(folder));
  auto rs = conn.Execute(u"Select 编号, " + field + u" As f From Play Where AllTrim(参赛项目)=='100米' And "
                         u"AllTrim(年龄组)=='高中组' And 性别=.T.");
  auto& set = automation::ObjectCast<data::Recordset>(rs);
  std::map<std::string, std::string> out;
  for (; !set.Eof(); set.MoveNext())
    out[automation::ToUtf8(automation::Trim(automation::CStr(set.Field(u"编号"))))] =
        automation::ToUtf8(automation::CStr(set.Field(u"f")));
  return out;
}

// Characters 19-27 of a stage field: the stored result.
std::string ResultOf(const std::string& field) {
  const std::u16string t = automation::FromUtf8(field);
  return t.size() >= 27 ? automation::ToUtf8(t.substr(18, 9)) : "";
}

// The heats of every listed sprinter: the i-th runs 11.(10+i).
std::vector<std::pair<std::string, std::string>> HeatsTimes(const std::vector<std::string>& numbers) {
  auto form = SprintForm(numbers, 1);
  for (size_t i = 0; i < numbers.size(); ++i) AddTime(form, numbers[i], 11, 10 + static_cast<int>(i));
  return form;
}

TEST(EntryKept, AnExpiredLoginKeepsTheTypedHeatAndTheLoginSavesIt) {
  DeskSite site;
  Client track(site);
  track.Login("jilu1", "123456");
  const std::vector<std::string> heat1 = ListedNumbers(track.Get(SprintEntryPage(1, 1)));
  ASSERT_GE(heat1.size(), 2u);
  auto form = SprintForm(heat1, 1);
  form[10].second = "1";  // zc: heat 1
  for (size_t i = 0; i < heat1.size(); ++i) AddTime(form, heat1[i], 12, 30 + static_cast<int>(i));
  const std::string play = site.data() + "/Play.dbf";
  const std::string before = FileBytes(play);

  track.session = "expired0000000000000000";
  Page kept = track.Post("/entry.asp", form);
  EXPECT_EQ(kept.status, 200);
  EXPECT_NE(kept.body.find("登录已过期"), std::string::npos) << kept.body.substr(0, 800);
  EXPECT_NE(kept.body.find("name=\"playcj_3_" + heat1[1] + "\" value=\"31\""), std::string::npos);
  EXPECT_NE(kept.body.find("<td class=\"typed\">12 31</td>"), std::string::npos);
  EXPECT_NE(kept.body.find("第1组"), std::string::npos);

  // A wrong password: still the same page, the same values, nothing stored.
  auto relogin = form;
  relogin.push_back({"relogin", "1"});
  relogin.push_back({"user", "jilu1"});
  relogin.push_back({"password", "wrong"});
  Page wrong = track.Post("/entry.asp", relogin);
  EXPECT_NE(wrong.body.find("id=\"login-message\""), std::string::npos) << wrong.body.substr(0, 800);
  EXPECT_NE(wrong.body.find("name=\"playcj_3_" + heat1[1] + "\" value=\"31\""), std::string::npos);
  EXPECT_EQ(FileBytes(play), before);

  // The right one saves the kept heat and leads back to it.
  relogin.back().second = "123456";
  Page saved = track.Post("/entry.asp", relogin);
  ASSERT_EQ(saved.status, 302) << saved.body.substr(0, 800);
  EXPECT_NE(saved.location.find("sc=1&zc=1&saved=1"), std::string::npos) << saved.location;
  EXPECT_NE(saved.location.find("item=" + Q("100米")), std::string::npos) << saved.location;
  const auto heats = StageFields(site.data(), u"预赛信息");
  EXPECT_EQ(ResultOf(heats.at(heat1[1])), "    1231 ");

  // A visit after the login expired leads back to the same round.
  Client late(site);
  Page to_login = late.Get(SprintEntryPage(1, 2));
  ASSERT_EQ(to_login.status, 302);
  EXPECT_NE(to_login.location.find("login.asp?back=entry.asp"), std::string::npos) << to_login.location;
  EXPECT_NE(to_login.location.find("zc%3D2"), std::string::npos) << to_login.location;
}

TEST(EntryKept, ClosedEntryIsSaidBeforeAnyoneTypesAndAPostKeepsItsValues) {
  DeskSite site;
  Client track(site);
  track.Login("jilu1", "123456");
  const std::vector<std::string> all = ListedNumbers(track.Get(SprintEntryPage(1)));
  ASSERT_FALSE(all.empty());
  Exec(site.data(), u"Update xtsz Set 网络登分=.F.");

  Page page = track.Get(SprintEntryPage(1));
  EXPECT_NE(page.body.find("id=\"entry-closed\""), std::string::npos) << page.body.substr(0, 1500);
  EXPECT_EQ(page.body.find("name=\"myform\""), std::string::npos);

  const std::string before = FileBytes(site.data() + "/Play.dbf");
  Page kept = track.Post("/entry.asp", HeatsTimes(all));
  EXPECT_NE(kept.body.find("网络登分已关闭，成绩未保存"), std::string::npos) << kept.body.substr(0, 800);
  EXPECT_NE(kept.body.find("<td class=\"typed\">11 10</td>"), std::string::npos);
  EXPECT_EQ(FileBytes(site.data() + "/Play.dbf"), before);
}

TEST(EntryKept, AHeatsCorrectionAfterTheFinalIsConfirmedAndKeepsTheFinal) {
  DeskSite site;
  Client track(site);
  track.Login("jilu1", "123456");
  const std::vector<std::string> all = ListedNumbers(track.Get(SprintEntryPage(1)));
  ASSERT_GE(all.size(), 10u);
  ASSERT_EQ(track.Post("/entry.asp", HeatsTimes(all)).status, 302);

  // The final as seeded, saved with 12.0x.
  const std::vector<std::string> finalists = ListedNumbers(track.Get(SprintEntryPage(4)));
  const size_t qualifiers = finalists.size();
  ASSERT_GE(qualifiers, 2u);
  ASSERT_LT(qualifiers, all.size());
  auto final_form = SprintForm(finalists, 4);
  for (size_t i = 0; i < finalists.size(); ++i) AddTime(final_form, finalists[i], 12, static_cast<int>(i) + 1);
  ASSERT_EQ(track.Post("/entry.asp", final_form).status, 302);
  const auto final_before = StageFields(site.data(), u"决赛信息");

  // The heats page warns before anyone types.
  Page heats_page = track.Get(SprintEntryPage(1));
  EXPECT_NE(heats_page.body.find("id=\"next-entered\""), std::string::npos) << heats_page.body.substr(0, 1500);
  EXPECT_NE(heats_page.body.find("name=\"confirm_next\""), std::string::npos);

  // The slowest of the heats was in fact the fastest: he comes into the
  // final, the 8th goes out.
  auto corrected = HeatsTimes(all);
  for (auto& [name, value] : corrected)
    if (name == "playcj_2_" + all.back()) value = "10";
  const std::string before = FileBytes(site.data() + "/Play.dbf");
  Page ask = track.Post("/entry.asp", corrected);
  EXPECT_NE(ask.body.find("请确认修改"), std::string::npos) << ask.body.substr(0, 800);
  EXPECT_NE(ask.body.find("name=\"playcj_2_" + all.back() + "\" value=\"10\""), std::string::npos);
  EXPECT_NE(ask.body.find("name=\"confirm_next\" value=\"1\""), std::string::npos);
  EXPECT_EQ(FileBytes(site.data() + "/Play.dbf"), before);

  corrected.push_back({"confirm_next", "1"});
  Page saved = track.Post("/entry.asp", corrected);
  ASSERT_EQ(saved.status, 302) << saved.body.substr(0, 800);
  // Who is in the final now follows the meet's advancement rule; the one
  // who came in is the corrected sprinter, and one went out.
  const std::vector<std::string> now = ListedNumbers(track.Get(SprintEntryPage(4)));
  std::vector<std::string> in, out;
  for (const auto& n : now)
    if (std::find(finalists.begin(), finalists.end(), n) == finalists.end()) in.push_back(n);
  for (const auto& n : finalists)
    if (std::find(now.begin(), now.end(), n) == now.end()) out.push_back(n);
  ASSERT_EQ(in, std::vector<std::string>{all.back()});
  ASSERT_EQ(out.size(), 1u);
  const auto final_after = StageFields(site.data(), u"决赛信息");
  for (const auto& n : finalists)
    if (n != out[0]) {
      EXPECT_EQ(final_after.at(n), final_before.at(n)) << n;
    }
  EXPECT_EQ(ResultOf(final_after.at(out[0])), "         ");
  EXPECT_EQ(ResultOf(final_after.at(in[0])), "         ");
  Page shown = track.Get("/" + saved.location.substr(saved.location.find("entry.asp")));
  EXPECT_NE(shown.body.find("新晋级决赛：" + in[0]), std::string::npos) << shown.body.substr(0, 2000);
  EXPECT_NE(shown.body.find("不再晋级决赛：" + out[0]), std::string::npos);
}

}  // namespace
}  // namespace web_test
