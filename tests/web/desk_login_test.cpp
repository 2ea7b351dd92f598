// Logins, sessions and roles, attacked over HTTP on a running server with
// the real site and the sample meet: a session id planted before the login
// carries no rights after it, logout ends a session whose requests still
// run, guessing is throttled with a time to come back, and every desk and
// delegation page refuses the wrong role, also for crafted forms.
#include <gtest/gtest.h>

#include <future>
#include <regex>

#include "automation/coerce.h"
#include "automation/runtime.h"
#include "data/dbf/table.h"
#include "web/desk_site.h"

namespace web_test {
namespace {

std::string Column(const std::string& dir, const char* table, const char16_t* column, size_t row) {
  auto t = data::dbf::Table::Open(dir + "/" + table + ".dbf", data::dbf::Access::kRead);
  std::vector<automation::Variant> values;
  t->ReadRecord(static_cast<uint32_t>(row), values);
  return automation::ToUtf8(automation::Trim(automation::CStr(values[static_cast<size_t>(t->FieldIndex(column))])));
}

bool ShowsTheDesk(const Page& p) { return p.status == 200 && p.body.find("switch-register") != std::string::npos; }

TEST(DeskLogin, ANewSessionIdAtLoginAndThePlantedOneCarriesNoRights) {
  DeskSite site;
  site.files().Write("plant.asp", "<% Session.$put('', 'seen', 1); %>planted");
  Client attacker(site);
  ASSERT_EQ(attacker.Get("/plant.asp").body, "planted");
  ASSERT_FALSE(attacker.session.empty());

  Client victim(site);
  victim.session = attacker.session;  // the id handed to the victim
  Page in = victim.Login("admin", "admin2025");
  EXPECT_EQ(in.status, 302);
  EXPECT_EQ(in.location, "admin/index.asp");
  EXPECT_NE(victim.session, attacker.session);
  EXPECT_TRUE(ShowsTheDesk(victim.Get("/admin/index.asp")));
  // The planted id is not the organiser's.
  Page theirs = attacker.Get("/admin/index.asp");
  EXPECT_FALSE(ShowsTheDesk(theirs));
  EXPECT_NE(theirs.body.find("login_background"), std::string::npos);  // the login desktop
}

TEST(DeskLogin, LogoutEndsTheSessionEvenWhileItsRequestsRun) {
  DeskSite site;
  // A request of the session that is still running when the logout comes.
  site.files().Write("slow.asp",
                     "<% var t = new Date().getTime(); while (new Date().getTime() - t < 600) {}\n"
                     "Session.$put('', 'late', 1); %>slow");
  for (int round = 0; round < 3; ++round) {
    Client organiser(site);
    ASSERT_EQ(organiser.Login("admin", "admin2025").status, 302);
    auto slow = std::async(std::launch::async, [&, session = organiser.session] {
      Client same(site);
      same.session = session;
      return same.Get("/slow.asp").body;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    const std::string id = organiser.session;
    EXPECT_EQ(organiser.Get("/logout.asp").status, 302);
    EXPECT_EQ(slow.get(), "slow");
    Client again(site);
    again.session = id;
    EXPECT_FALSE(ShowsTheDesk(again.Get("/admin/index.asp"))) << "round " << round;
  }
}

TEST(DeskLogin, GuessingIsRefusedForAGrowingTimeWithTheTimeToComeBack) {
  DeskSite site;
  Client guesser(site);
  // Per account: ten wrong passwords, then even the right one is refused.
  for (int i = 0; i < 9; ++i) {
    Page p = guesser.Login("jilu1", "guess" + std::to_string(i));
    EXPECT_NE(p.body.find("用户名或密码不正确"), std::string::npos) << i;
  }
  Page tenth = guesser.Login("jilu1", "guess9");
  EXPECT_NE(tenth.body.find("后再试"), std::string::npos) << tenth.body;
  Page refused = guesser.Login("jilu1", "123456");
  EXPECT_EQ(refused.status, 200);
  EXPECT_TRUE(std::regex_search(refused.body, std::regex("请于 [0-9月日 ]*[0-9]{2}:[0-9]{2} 后再试（约 1 分钟）")))
      << refused.body;
  EXPECT_FALSE(ShowsTheDesk(guesser.Get("/admin/index.asp")));
}

TEST(DeskLogin, GuessingFromOneAddressIsRefusedAcrossAccounts) {
  DeskSite site;
  Client guesser(site);
  // Few tries per name, many from one address: the address is stopped.
  const char* names[] = {"jilu2", "zongcai", "dyzx", "dezx", "nobody"};
  for (int i = 0; i < 10; ++i) guesser.Login(names[i % 5], "wrong" + std::to_string(i));
  Page p = guesser.Login("admin", "admin2025");
  EXPECT_NE(p.body.find("登录失败次数过多"), std::string::npos) << p.body;
  EXPECT_FALSE(ShowsTheDesk(guesser.Get("/admin/index.asp")));
}

TEST(DeskLogin, PasswordsAreStoredSaltedAndSlowAndOldRecorderLoginsMoveOver) {
  DeskSite site;
  auto accounts = data::dbf::Table::Open(site.data() + "/Account.dbf", data::dbf::Access::kRead);
  for (uint32_t i = 0; i < accounts->RecordCount(); ++i)
    EXPECT_TRUE(Column(site.data(), "Account", u"密码", i).starts_with("$argon2id$"));
  for (uint32_t i = 0; i < 3; ++i) EXPECT_EQ(Column(site.data(), "WldfUser", u"密码", i), "");

  // A recorder that the desktop program added with an MD5 password.
  Client tool(site);
  std::string dir = site.data();
  std::string cmd = std::string(ARENIX_CLI) + " db exec '" + dir +
                    "' \"Insert Into WldfUser (用户名, 密码, 姓名, 登分项目) Values ('old', 'E10ADC3949BA59ABBE56E057F20F883E', "
                    "'老记录员', '100米')\" >/dev/null";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  Client recorder(site);
  EXPECT_NE(recorder.Login("old", "654321").body.find("用户名或密码不正确"), std::string::npos);
  Page in = recorder.Login("old", "123456");
  EXPECT_EQ(in.status, 302);
  EXPECT_EQ(in.location, "entry.asp");
  EXPECT_EQ(Column(dir, "WldfUser", u"密码", 3), "");  // the MD5 is gone
  auto after = data::dbf::Table::Open(dir + "/Account.dbf", data::dbf::Access::kRead);
  EXPECT_EQ(Column(dir, "Account", u"用户名", after->RecordCount() - 1), "old");
  EXPECT_TRUE(Column(dir, "Account", u"密码", after->RecordCount() - 1).starts_with("$argon2id$"));
  Client again(site);
  EXPECT_EQ(again.Login("old", "123456").status, 302);  // now from the store
}

TEST(DeskLogin, TheLoginLeadsBackToThePageAskedForAndNowhereElse) {
  DeskSite site;
  Client c(site);
  Page asked = c.Get("/admin/overview.asp?keyword=x");
  EXPECT_EQ(asked.status, 302);
  EXPECT_EQ(asked.location, "../login.asp?back=admin%2Foverview.asp%3Fkeyword%3Dx");
  Page in = c.Login("admin", "admin2025", "admin/overview.asp?keyword=x");
  EXPECT_EQ(in.location, "admin/overview.asp?keyword=x");
  for (const char* elsewhere : {"http://evil.example/x.asp", "//evil.example/a.asp", "javascript:alert(1)", "../x.asp"}) {
    Client d(site);
    EXPECT_EQ(d.Login("dyzx", "123456", elsewhere).location, "register.asp") << elsewhere;
  }
}

}  // namespace
}  // namespace web_test
