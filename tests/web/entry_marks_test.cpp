// Result entry through the site: a bad mark is refused with a message that
// names the athlete and the field and stores nothing, and a round whose
// heats are not all entered is saved without seeding the next one, which
// the page says.
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "web/desk_site.h"

namespace web_test {
namespace {

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string Q(const std::string& utf8) { return web::PercentEncode(automation::ToGbk(automation::FromUtf8(utf8))); }

// The entry numbers the entry page lists for the men's 100 m heats of the
// senior age group (one heat when `heat` is not 0).
std::vector<std::string> Listed(Client& c, int heat) {
  Page p = c.Get("/entry.asp?age=" + Q("高中组") + "&sex=" + Q("男") + "&item=" + Q("100米") + "&item_sub=&sc=1&zc=" +
                 std::to_string(heat));
  const std::string key = "name=\"ydy_bh_list\" value=\"";
  const size_t at = p.body.find(key);
  EXPECT_NE(at, std::string::npos) << p.body.substr(0, 600);
  if (at == std::string::npos) return {};
  const std::string list = p.body.substr(at + key.size(), p.body.find('"', at + key.size()) - at - key.size());
  std::vector<std::string> out;
  std::stringstream ss(list);
  for (std::string n; std::getline(ss, n, '|');)
    if (!n.empty()) out.push_back(n);
  return out;
}

std::vector<std::pair<std::string, std::string>> HeatsForm(const std::vector<std::string>& numbers) {
  std::string list;
  for (const auto& n : numbers) list += "|" + n;
  return {{"age", "高中组"}, {"sex", "男"}, {"item", "100米"}, {"item_sub", ""}, {"zdygs", ""}, {"TsJs", "径赛"},
          {"Jtxm", "False"}, {"JsFd", "True"}, {"scs", "2"}, {"sc", "1"}, {"zc", "0"}, {"bsjg", "0"},
          {"Record", ""}, {"ydy_bh_list", list}};
}

TEST(EntryMarks, ABadMarkIsRefusedNamingTheAthleteAndStoresNothing) {
  DeskSite site;
  Client track(site);
  track.Login("jilu1", "123456");
  const std::vector<std::string> all = Listed(track, 0);
  ASSERT_GE(all.size(), 2u);
  const std::string play = site.data() + "/Play.dbf";
  const std::string before = FileBytes(play);
  for (const auto& [seconds, rule] : std::vector<std::pair<std::string, std::string>>{
           {"75", "应小于60"}, {"<b>1</b>", "不是数字"}, {"", "没有填写"}}) {
    auto form = HeatsForm(all);
    for (size_t i = 0; i < all.size(); ++i) {
      form.push_back({"playcj_2_" + all[i], i + 1 == all.size() ? seconds : "11"});
      form.push_back({"playcj_3_" + all[i], i + 1 == all.size() && seconds.empty() ? "5" : "20"});
      if (i + 1 == all.size()) form.push_back({"playcj_1_" + all[i], "1"});
    }
    Page p = track.Post("/entry.asp", form);
    EXPECT_NE(p.body.find("编号 " + all.back() + "（"), std::string::npos) << p.body.substr(0, 800);
    EXPECT_NE(p.body.find(rule), std::string::npos) << rule;
    EXPECT_EQ(p.body.find("<b>1</b>"), std::string::npos);  // quoted as text
  }
  EXPECT_EQ(FileBytes(play), before);
}

TEST(EntryMarks, TheNextRoundWaitsForEveryHeat) {
  DeskSite site;
  Client track(site);
  track.Login("jilu1", "123456");
  const std::vector<std::string> all = Listed(track, 0), first = Listed(track, 1);
  ASSERT_LT(first.size(), all.size()) << "the sample meet runs the 100 m heats in more than one heat";
  const std::set<std::string> in_first(first.begin(), first.end());
  auto form = HeatsForm(all);
  for (const auto& n : all)
    if (in_first.count(n)) form.push_back({"playcj_2_" + n, "11"}), form.push_back({"playcj_3_" + n, "50"});
  Page saved = track.Post("/entry.asp", form);
  ASSERT_EQ(saved.status, 302) << saved.body.substr(0, 800);
  const std::string back = "/" + saved.location.substr(saved.location.find("entry.asp"));
  Page shown = track.Get(back);
  EXPECT_NE(shown.body.find("组还没有成绩，决赛暂不编排"), std::string::npos) << shown.body.substr(0, 1500);
  // Shown once: the next view is a plain page.
  Page again = track.Get(back);
  EXPECT_EQ(again.body.find("暂不编排"), std::string::npos);
}

}  // namespace
}  // namespace web_test
