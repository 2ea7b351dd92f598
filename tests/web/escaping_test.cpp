// What a delegation types is shown back as text: a stored athlete name with
// markup, quoted by another row's refusal and listed on the public pages,
// never becomes markup; nor does a posted value that a refusal quotes.
#include <gtest/gtest.h>

#include "web/desk_site.h"

namespace web_test {
namespace {

TEST(Escaping, AStoredNameWithMarkupIsQuotedAsText) {
  DeskSite site;
  Client team(site);
  ASSERT_EQ(team.Login("dyzx", "123456").status, 302);
  const std::string identity = "330102200703025513";  // athlete 1101 of the sample meet
  Page stored = team.Post("/register.asp", {{"ydy_team", "第一中学"},
                                            {"ydy_age", "高中组"},
                                            {"ydy_bh_list", "|1101"},
                                            {"ydy_xm_1101", "<i>x"},
                                            {"ydy_xb_1101", "True"},
                                            {"ydy_fjzd_1101_4", identity},
                                            {"ydy_fgjl_1101", "王建国"},
                                            {"ydy_csxm_1101_1", "100米"},
                                            {"ydy_csxm_1101_2", "跳远"},
                                            {"ydy_csxm_1101_3", "4×100米接力"}});
  ASSERT_EQ(stored.body.find("出错原因"), std::string::npos) << stored.body.substr(0, 600);

  // Another row with the same identity number: the refusal quotes the
  // stored name.
  Page refused = team.Post("/register.asp", {{"ydy_team", "第一中学"},
                                             {"ydy_age", "高中组"},
                                             {"ydy_bh_list", "|1102"},
                                             {"ydy_xm_1102", "唐强"},
                                             {"ydy_xb_1102", "True"},
                                             {"ydy_fjzd_1102_4", identity},
                                             {"ydy_fgjl_1102", "王建国"},
                                             {"ydy_csxm_1102_1", "100米"},
                                             {"ydy_csxm_1102_2", "跳远"},
                                             {"ydy_csxm_1102_3", "4×100米接力"}});
  EXPECT_NE(refused.body.find("有重复"), std::string::npos) << refused.body.substr(0, 600);
  EXPECT_NE(refused.body.find("&lt;i&gt;x"), std::string::npos);
  EXPECT_EQ(refused.body.find("<i>x"), std::string::npos);

  for (const char* page : {"/athletes.asp", "/entrants.asp", "/register.asp"}) {
    Page p = team.Get(page);
    EXPECT_EQ(p.body.find("<i>x"), std::string::npos) << page;
  }
}

TEST(Escaping, RefusalsQuotePostedValuesAsText) {
  DeskSite site;
  Client track(site), team(site);
  ASSERT_EQ(track.Login("jilu1", "123456").status, 302);
  ASSERT_EQ(team.Login("dyzx", "123456").status, 302);
  const std::string markup = "<i>zz</i>";
  struct Attack {
    Client* who;
    const char* page;
    std::vector<std::pair<std::string, std::string>> form;
  };
  const std::vector<Attack> attacks = {
      // An event the account may not enter, named by the refusal.
      {&track, "/entry.asp", {{"age", "高中组"}, {"sex", "男"}, {"item", markup}, {"sc", "1"}}},
      // A sex group the event does not have.
      {&track, "/entry.asp", {{"age", "高中组"}, {"sex", markup}, {"item", "100米"}, {"sc", "1"}, {"zc", "0"},
                              {"TsJs", "径赛"}, {"ydy_bh_list", "|1101"}, {"playcj_2_1101", "11"}}},
      // A team leader's name too long for its column.
      {&team, "/register.asp", {{"ydy_team", "第一中学"}, {"ydy_age", "高中组"}, {"TeamOld", markup}, {"ydy_bh_list", ""}}},
  };
  for (const Attack& a : attacks) {
    Page p = a.who->Post(a.page, a.form);
    const size_t reason = p.body.find("出错原因");
    SCOPED_TRACE(std::string(a.page) + " " + p.body.substr(reason == std::string::npos ? 0 : reason, 400));
    EXPECT_EQ(p.body.find("<i>zz"), std::string::npos);
    EXPECT_NE(p.body.find("&lt;i&gt;zz"), std::string::npos);
  }
}

}  // namespace
}  // namespace web_test
