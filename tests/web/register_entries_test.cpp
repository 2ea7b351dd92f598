// Registration through the site stores what the delegation entered: the
// sex chosen, a cleared name as a withdrawal, and identity numbers checked
// at the strictest level against the age group's birth dates.
#include <regex>

#include <gtest/gtest.h>

#include "arenix/check/postcard.h"
#include "web/desk_site.h"

namespace web_test {
namespace {

// An identity number of a man born on `birth` with its check character;
// `bad_check` gives the wrong one.
std::string Identity(const std::string& birth, bool bad_check = false) {
  const std::string body = "330102" + birth + "011";
  char check = static_cast<char>(arenix::check::PostcardCheckCharacter(automation::FromAscii(body)));
  if (bad_check) check = check == '1' ? '2' : '1';
  return body + check;
}

const char kSeniors[] = "/register.asp?age=%B8%DF%D6%D0%D7%E9";  // 高中组

// The first row without a name and the first with one, on the page.
std::pair<std::string, std::string> Rows(Client& c) {
  Page p = c.Get(kSeniors);
  std::smatch empty, named;
  const std::regex empty_row("name=\"ydy_xm_([A-Za-z0-9]+)\" value=\"\""),
      named_row("name=\"ydy_xm_([A-Za-z0-9]+)\" value=\"[^\"]+\"");
  EXPECT_TRUE(std::regex_search(p.body, empty, empty_row)) << p.body.substr(0, 500);
  EXPECT_TRUE(std::regex_search(p.body, named, named_row));
  return {empty[1], named[1]};
}

std::vector<std::pair<std::string, std::string>> OneRow(const std::string& id, const std::string& name,
                                                        const std::string& identity) {
  return {{"ydy_team", "第一中学"}, {"ydy_age", "高中组"}, {"ydy_bh_list", "|" + id}, {"ydy_xm_" + id, name},
          {"ydy_xb_" + id, "True"}, {"ydy_fjzd_" + id + "_4", identity}};
}

TEST(RegisterEntries, IdentityNumbersAreCheckedStrictly) {
  DeskSite site;
  Client team(site);
  team.Login("dyzx", "123456");
  const std::string id = Rows(team).first;
  for (const auto& [number, message] : std::vector<std::pair<std::string, std::string>>{
           {Identity("20080315", true), "校验位错误"},
           {Identity("20080315").substr(0, 17), "位数错误"},
           {Identity("20300315"), "出生年月"},
           {Identity("20150315"), "出生年月超出范围"},
           {"ABCDEFGHIJKLMNOPQR", "必须为数字"}}) {
    Page p = team.Post("/register.asp", OneRow(id, "新同学", number));
    EXPECT_NE(p.body.find("运动员【新同学】"), std::string::npos) << number << p.body.substr(0, 300);
    EXPECT_NE(p.body.find(message), std::string::npos) << number;
    EXPECT_EQ(team.Get(kSeniors).body.find("新同学"), std::string::npos) << number;  // nothing stored
  }
}

TEST(RegisterEntries, SexIsKeptAndAClearedNameWithdraws) {
  DeskSite site;
  Client team(site);
  team.Login("dyzx", "123456");
  const auto [empty, named] = Rows(team);
  Page saved = team.Post("/register.asp", OneRow(empty, "新同学", Identity("20080315")));
  ASSERT_EQ(saved.status, 302) << saved.body.substr(0, 600);
  Page shown = team.Get(kSeniors);
  const size_t row = shown.body.find("name=\"ydy_xb_" + empty + "\"");
  ASSERT_NE(row, std::string::npos);
  const std::string sex = shown.body.substr(row, shown.body.find("</select>", row) - row);
  EXPECT_NE(sex.find("value=\"True\" selected"), std::string::npos) << sex;  // 男, as chosen

  // Clearing the name withdraws the athlete.
  Page withdrawn = team.Post("/register.asp", OneRow(empty, "", Identity("20080315")));
  ASSERT_EQ(withdrawn.status, 302) << withdrawn.body.substr(0, 600);
  EXPECT_EQ(team.Get(kSeniors).body.find("新同学"), std::string::npos);
}

}  // namespace
}  // namespace web_test
