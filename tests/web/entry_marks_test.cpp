// Result entry through the site: a bad mark is refused with a message that
// names the athlete and the field and stores nothing, and a round whose
// heats are not all entered is saved without seeding the next one, which
// the page says.
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "web/entry_pages.h"

namespace web_test {
namespace {

TEST(EntryMarks, ABadMarkIsRefusedNamingTheAthleteAndStoresNothing) {
  DeskSite site;
  Client track(site);
  track.Login("jilu1", "123456");
  const std::vector<std::string> all = ListedNumbers(track.Get(SprintEntryPage(1, 0)));
  ASSERT_GE(all.size(), 2u);
  const std::string play = site.data() + "/Play.dbf";
  const std::string before = FileBytes(play);
  for (const auto& [seconds, rule] : std::vector<std::pair<std::string, std::string>>{
           {"75", "应小于60"}, {"<b>1</b>", "不是数字"}, {"", "没有填写"}}) {
    auto form = SprintForm(all);
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
  const std::vector<std::string> all = ListedNumbers(track.Get(SprintEntryPage(1, 0)));
  const std::vector<std::string> first = ListedNumbers(track.Get(SprintEntryPage(1, 1)));
  ASSERT_LT(first.size(), all.size()) << "the sample meet runs the 100 m heats in more than one heat";
  const std::set<std::string> in_first(first.begin(), first.end());
  auto form = SprintForm(all);
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
