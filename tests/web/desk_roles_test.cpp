// Every desk and delegation page checks the role on the server: a visitor,
// a recorder and a delegation get the login page for the organiser's pages
// (also for forms posted straight to them), a delegation sees and changes
// only its own registration, and identity numbers are shown in full only
// to the organiser and the delegation's own account.
#include <gtest/gtest.h>

#include "automation/coerce.h"
#include "automation/runtime.h"
#include "data/dbf/table.h"
#include "web/desk_site.h"

namespace web_test {
namespace {

using Form = std::vector<std::pair<std::string, std::string>>;

// Rows of a table as "column=value" texts, for comparing before and after.
std::string Snapshot(const std::string& dir, const char* table) {
  auto t = data::dbf::Table::Open(dir + "/" + table + ".dbf", data::dbf::Access::kRead);
  std::string out;
  std::vector<automation::Variant> values;
  for (uint32_t r = 0; r < t->RecordCount(); ++r) {
    t->ReadRecord(r, values);
    for (const auto& v : values) out += automation::ToUtf8(automation::CStr(v.IsNull() ? automation::Variant() : v)) + "|";
    out += "\n";
  }
  return out;
}

struct Attack {
  const char* page;
  Form form;  // empty: a GET
  const char* table;
};

const std::vector<Attack>& Attacks() {
  static const std::vector<Attack> list = {
      {"/admin/index.asp", {}, nullptr},
      {"/admin/overview.asp", {}, nullptr},
      {"/admin/overview.asp?export=1", {}, nullptr},
      {"/admin/teams.asp", {}, nullptr},
      {"/admin/accounts.asp", {}, nullptr},
      {"/admin/startlist.asp", {}, nullptr},
      {"/admin/startlist.asp?pdf=1", {}, nullptr},
      {"/admin/scores.asp", {}, nullptr},
      {"/admin/chart.asp", {}, nullptr},
      {"/admin/records.asp", {}, nullptr},
      {"/admin/audit.asp", {}, nullptr},
      {"/admin/notices.asp", {}, nullptr},
      {"/admin/index.asp", {{"switch", "网络报名"}, {"on", "0"}}, "xtsz"},
      {"/admin/teams.asp", {{"action", "reset"}, {"team", "第一中学"}, {"age", "高中组"}, {"confirm", "1"}}, "Ydybm"},
      {"/admin/accounts.asp",
       {{"action", "add"}, {"user", "mole"}, {"password", "secret99"}, {"role", "管理员"}, {"name", "x"}},
       "Account"},
      {"/admin/accounts.asp", {{"action", "password"}, {"user", "admin"}, {"password", "taken999"}}, "Account"},
      {"/admin/accounts.asp", {{"action", "remove"}, {"user", "jilu1"}, {"confirm", "1"}}, "Account"},
      {"/admin/notices.asp", {{"action", "add"}, {"title", "假通知"}, {"text", "x"}}, "Notice"},
  };
  return list;
}

TEST(DeskRoles, OrganiserPagesRefuseEveryOtherRoleAndChangeNothing) {
  DeskSite site;
  struct Who {
    const char* user;
    const char* password;
  };
  for (Who who : {Who{nullptr, nullptr}, Who{"jilu1", "123456"}, Who{"dyzx", "123456"}}) {
    Client c(site);
    if (who.user) ASSERT_EQ(c.Login(who.user, who.password).status, 302);
    for (const Attack& a : Attacks()) {
      SCOPED_TRACE(std::string(who.user ? who.user : "visitor") + " " + a.page);
      std::string before = a.table ? Snapshot(site.data(), a.table) : "";
      Page p = a.form.empty() ? c.Get(a.page) : c.Post(a.page, a.form);
      if (std::string(a.page) == "/admin/index.asp") {
        // The desk's entrance is its login desktop, whatever was posted.
        EXPECT_EQ(p.status, 200);
        EXPECT_NE(p.body.find("login_background"), std::string::npos);
        EXPECT_EQ(p.body.find("switch-register"), std::string::npos);
      } else {
        EXPECT_EQ(p.status, 302);
        EXPECT_TRUE(p.location.starts_with("../login.asp?back=")) << p.location;
        EXPECT_EQ(p.location.find("denied=1") != std::string::npos, who.user != nullptr) << p.location;
      }
      if (a.table) EXPECT_EQ(Snapshot(site.data(), a.table), before);
    }
  }
  // The organiser gets every page.
  Client organiser(site);
  ASSERT_EQ(organiser.Login("admin", "admin2025").status, 302);
  for (const Attack& a : Attacks()) {
    if (!a.form.empty()) continue;
    Page p = organiser.Get(a.page);
    EXPECT_EQ(p.status, 200) << a.page << p.body.substr(0, 400);
  }
}

TEST(DeskRoles, RegistrationNeedsADelegationLoginAndKeepsToItsOwnEntries) {
  DeskSite site;
  Client visitor(site);
  Page anon = visitor.Get("/register.asp");
  EXPECT_EQ(anon.status, 302);
  EXPECT_EQ(anon.location, "login.asp?back=register.asp");
  const std::string before = Snapshot(site.data(), "Ydybm");
  Form crafted = {{"ydy_team", "第二中学"}, {"ydy_age", "高中组"}, {"ydy_bh_list", "|N2101"}, {"ydy_xm_N2101", "冒名"},
                  {"ydy_xb_N2101", "True"}};
  EXPECT_EQ(visitor.Post("/register.asp", crafted).status, 302);
  EXPECT_EQ(Snapshot(site.data(), "Ydybm"), before);

  Client first(site);
  ASSERT_EQ(first.Login("dyzx", "123456").location, "register.asp");
  // Asking for another delegation by address shows its own.
  Page own = first.Get("/register.asp?team=%B5%DA%B6%FE%D6%D0%D1%A7&age=%B8%DF%D6%D0%D7%E9");  // 第二中学, 高中组
  EXPECT_EQ(own.status, 200);
  EXPECT_NE(own.body.find("value=\"第一中学\""), std::string::npos);
  EXPECT_EQ(own.body.find("第二中学"), std::string::npos);
  // A form naming another delegation is refused before anything is written.
  Page refused = first.Post("/register.asp", crafted);
  EXPECT_NE(refused.body.find("只能修改本代表队的报名"), std::string::npos) << refused.body.substr(0, 300);
  EXPECT_EQ(Snapshot(site.data(), "Ydybm"), before);
  // The recorder has no business here either.
  Client recorder(site);
  recorder.Login("jilu1", "123456");
  Page r = recorder.Get("/register.asp");
  EXPECT_EQ(r.status, 302);
  EXPECT_NE(r.location.find("denied=1"), std::string::npos);
}

TEST(DeskRoles, ALockedRegistrationStaysLockedUntilTheOrganiserUnlocksIt) {
  DeskSite site;
  Client first(site);
  first.Login("dyzx", "123456");
  Page locked = first.Post("/register.asp", {{"ydy_team", "第一中学"}, {"ydy_age", "高中组"}, {"action", "lock"}});
  EXPECT_EQ(locked.status, 302);
  const std::string before = Snapshot(site.data(), "Ydybm");
  Page refused = first.Post("/register.asp", {{"ydy_team", "第一中学"}, {"ydy_age", "高中组"}, {"ydy_bh_list", "|N1101"},
                                              {"ydy_xm_N1101", "新名字"}, {"ydy_xb_N1101", "True"}});
  EXPECT_NE(refused.body.find("已确认提交"), std::string::npos);
  EXPECT_EQ(Snapshot(site.data(), "Ydybm"), before);

  Client organiser(site);
  organiser.Login("admin", "admin2025");
  // The unlock asks first; unconfirmed, nothing happens.
  Page ask = organiser.Get("/admin/teams.asp?action=unlock&team=%B5%DA%D2%BB%D6%D0%D1%A7&age=%B8%DF%D6%D0%D7%E9");
  EXPECT_NE(ask.body.find("确认解锁报名"), std::string::npos);
  const std::string staff = Snapshot(site.data(), "TeamStaff");
  organiser.Post("/admin/teams.asp", {{"action", "unlock"}, {"team", "第一中学"}, {"age", "高中组"}});
  EXPECT_EQ(Snapshot(site.data(), "TeamStaff"), staff);
  EXPECT_EQ(organiser.Post("/admin/teams.asp", {{"action", "unlock"}, {"team", "第一中学"}, {"age", "高中组"}, {"confirm", "1"}})
                .status,
            302);
  EXPECT_NE(Snapshot(site.data(), "TeamStaff"), staff);
  Page log = organiser.Get("/admin/audit.asp");
  EXPECT_NE(log.body.find("解锁报名"), std::string::npos);
  EXPECT_NE(log.body.find("确认报名"), std::string::npos);
}

TEST(DeskRoles, IdentityNumbersAreMaskedForAllButTheOrganiserAndTheirDelegation) {
  DeskSite site;
  auto ids = [](const std::string& body) {
    std::vector<std::string> out;
    for (size_t at = 0; (at = body.find("class=\"idno\">", at)) != std::string::npos;) {
      at += 13;
      out.push_back(body.substr(at, body.find('<', at) - at));
    }
    return out;
  };
  const std::string first = "/athletes.asp?team=%B5%DA%D2%BB%D6%D0%D1%A7";   // 第一中学
  const std::string second = "/athletes.asp?team=%B5%DA%B6%FE%D6%D0%D1%A7";  // 第二中学
  Client visitor(site), own(site), organiser(site);
  own.Login("dyzx", "123456");
  organiser.Login("admin", "admin2025");
  auto masked = ids(visitor.Get(first).body);
  ASSERT_FALSE(masked.empty());
  for (const auto& id : masked) EXPECT_TRUE(id.size() == 18 && id.substr(6, 8) == "********") << id;
  auto full = ids(own.Get(first).body);
  ASSERT_EQ(full.size(), masked.size());
  for (size_t i = 0; i < full.size(); ++i) {
    EXPECT_EQ(full[i].find('*'), std::string::npos) << full[i];
    EXPECT_EQ(full[i].substr(0, 6) + "********" + full[i].substr(14), masked[i]);
  }
  for (const auto& id : ids(own.Get(second).body)) EXPECT_NE(id.find("********"), std::string::npos);
  for (const auto& id : ids(organiser.Get(second).body)) EXPECT_EQ(id.find('*'), std::string::npos);
}

}  // namespace
}  // namespace web_test

namespace web_test {
namespace {

TEST(DeskActions, SwitchesAccountsAndNoticesTakeEffectAndAreLogged) {
  DeskSite site;
  Client organiser(site), team(site);
  ASSERT_EQ(organiser.Login("admin", "admin2025").status, 302);
  ASSERT_EQ(team.Login("dyzx", "123456").status, 302);

  // Registration closed: the state shows, and a delegation's save is refused.
  EXPECT_EQ(organiser.Post("/admin/index.asp", {{"switch", "网络报名"}, {"on", "0"}}).status, 302);
  Page reg = team.Get("/register.asp");
  EXPECT_NE(reg.body.find("网络报名<b class=\"off\">关闭"), std::string::npos);
  const std::string before = Snapshot(site.data(), "Ydybm");
  Page refused = team.Post("/register.asp", {{"ydy_team", "第一中学"}, {"ydy_age", "高中组"}, {"ydy_bh_list", "|N1101"},
                                             {"ydy_xm_N1101", "新名字"}, {"ydy_xb_N1101", "True"}});
  EXPECT_NE(refused.body.find("网络报名已关闭"), std::string::npos);
  EXPECT_EQ(Snapshot(site.data(), "Ydybm"), before);
  // An unknown switch changes nothing.
  const std::string xtsz = Snapshot(site.data(), "xtsz");
  organiser.Post("/admin/index.asp", {{"switch", "运动会名称"}, {"on", "1"}});
  EXPECT_EQ(Snapshot(site.data(), "xtsz"), xtsz);

  // A recorder account made on the desk logs in with its events.
  Page added = organiser.Post("/admin/accounts.asp", {{"action", "add"}, {"user", "jilu9"}, {"password", "track-99"},
                                                      {"role", "记录员"}, {"name", "第九组"}, {"ev0", "1"}});
  EXPECT_EQ(added.status, 302) << added.body.substr(0, 300);
  Client nine(site);
  EXPECT_EQ(nine.Login("jilu9", "track-99").location, "entry.asp");
  EXPECT_NE(nine.Get("/entry.asp").body.find("可录项目：100米"), std::string::npos);
  // A weak password or a taken name is refused with a message.
  Page weak = organiser.Post("/admin/accounts.asp", {{"action", "add"}, {"user", "jilu8"}, {"password", "123"}, {"role", "记录员"}});
  EXPECT_NE(weak.body.find("密码至少 6 个字符"), std::string::npos);
  Page taken = organiser.Post("/admin/accounts.asp", {{"action", "add"}, {"user", "jilu9"}, {"password", "track-99"}, {"role", "记录员"}});
  EXPECT_NE(taken.body.find("用户名已存在"), std::string::npos);
  // Removal asks first; confirmed, the account's login ends at once.
  const std::string accounts = Snapshot(site.data(), "Account");
  organiser.Post("/admin/accounts.asp", {{"action", "remove"}, {"user", "jilu9"}});
  EXPECT_EQ(Snapshot(site.data(), "Account"), accounts);
  EXPECT_NE(organiser.Get("/admin/accounts.asp?action=remove&user=jilu9").body.find("确认删除账号"), std::string::npos);
  EXPECT_EQ(organiser.Post("/admin/accounts.asp", {{"action", "remove"}, {"user", "jilu9"}, {"confirm", "1"}}).status, 302);
  EXPECT_EQ(nine.Get("/entry.asp").location, "login.asp?back=entry.asp");

  // A notice reaches the home page, its markup as text.
  organiser.Post("/admin/notices.asp", {{"action", "add"}, {"title", "<b>雨天</b>安排"}, {"text", "改在室内"}});
  Client visitor(site);
  Page home = visitor.Get("/");
  EXPECT_NE(home.body.find("&lt;b&gt;雨天&lt;/b&gt;安排"), std::string::npos);

  Page log = organiser.Get("/admin/audit.asp");
  for (const char* action : {"关闭网络报名", "新增账号", "删除账号", "发布通知"})
    EXPECT_NE(log.body.find(action), std::string::npos) << action;
  EXPECT_EQ(log.body.find("track-99"), std::string::npos);  // never a password
}

}  // namespace
}  // namespace web_test
