// Odd request values against every page of the site, as each role sees it:
// a NUL byte, numbers too large for any column, an exponent beyond a
// double, a quote. Each gets a page in the site's style (or 400), never a
// 500 and never the text of a statement; a post from another port or
// scheme of the same host is refused; and the page's time limit holds
// inside the component too.
#include <gtest/gtest.h>

#include "web/desk_site.h"

namespace web_test {
namespace {

struct Visit {
  const char* user;  // nullptr: a visitor
  const char* password;
  const char* page;
  std::vector<const char*> names;  // the request values the page reads
};

// The event selector's values, read by every page that shows a stage.
#define STAGE "age", "sex", "item", "item_sub", "sc", "zc"

const std::vector<Visit>& Visits() {
  static const std::vector<Visit> visits = {
      {nullptr, nullptr, "/index.asp", {"page"}},
      {nullptr, nullptr, "/results.asp", {STAGE, "excel"}},
      {nullptr, nullptr, "/entrants.asp", {"age", "keyword", "page"}},
      {nullptr, nullptr, "/athletes.asp", {"age", "keyword", "team", "page"}},
      {nullptr, nullptr, "/login.asp", {"back", "denied"}},
      {nullptr, nullptr, "/comm/item_sub_list.asp", {"item", "item_sub"}},
      {"jilu1", "123456", "/entry.asp", {STAGE, "saved"}},
      {"dyzx", "123456", "/register.asp", {"age", "team", "saved", "ydy_age", "ydy_team"}},
      {"admin", "admin2025", "/admin/index.asp", {"done"}},
      {"admin", "admin2025", "/admin/overview.asp", {"keyword", "page", "export"}},
      {"admin", "admin2025", "/admin/teams.asp", {"age", "team", "page"}},
      {"admin", "admin2025", "/admin/accounts.asp", {"user", "page"}},
      {"admin", "admin2025", "/admin/startlist.asp", {"age", "item", "sex", "stage", "pdf"}},
      {"admin", "admin2025", "/admin/scores.asp", {"age"}},
      {"admin", "admin2025", "/admin/chart.asp", {"age"}},
      {"admin", "admin2025", "/admin/audit.asp", {"item", "keyword", "page"}},
      {"admin", "admin2025", "/admin/notices.asp", {"id", "page"}},
  };
  return visits;
}

TEST(RequestValues, OddValuesGetAClearPageNeverAFailureOrAStatement) {
  DeskSite site;
  std::map<std::string, std::unique_ptr<Client>> clients;
  const char* values[] = {"%00", "x%00y", "99999999999999999999", "1e400", "-1", "%27"};
  for (const Visit& v : Visits()) {
    const std::string who = v.user ? v.user : "";
    auto& client = clients[who];
    if (!client) {
      client = std::make_unique<Client>(site);
      if (v.user) ASSERT_EQ(client->Login(v.user, v.password).status, 302) << v.user;
    }
    for (const char* name : v.names) {
      for (const char* value : values) {
        const std::string path = std::string(v.page) + "?" + name + "=" + value;
        SCOPED_TRACE(who + " " + path);
        Page p = client->Get(path);
        EXPECT_TRUE(p.status == 200 || p.status == 302 || p.status == 400) << p.status << "\n"
                                                                             << p.body.substr(0, 600);
        EXPECT_EQ(p.body.find("in statement"), std::string::npos) << p.body.substr(0, 600);
        EXPECT_EQ(p.body.find("Select "), std::string::npos);
        if (std::string(value).find("%00") != std::string::npos) {
          EXPECT_EQ(p.status, 400);
          EXPECT_NE(p.body.find("空字符"), std::string::npos);
        }
      }
    }
  }
  // A NUL byte in a posted form changes nothing and says why.
  Client recorder(site);
  recorder.Login("jilu1", "123456");
  Page p = recorder.Post("/entry.asp", {{"age", "高中组"}, {"sex", "男"}, {"item", std::string("100米\0", 7)}});
  EXPECT_EQ(p.status, 400);
  EXPECT_NE(p.body.find("空字符"), std::string::npos);
}

TEST(RequestValues, APostFromAnotherPortOrSchemeOfTheHostIsRefused) {
  DeskSite site;
  const std::string here = "127.0.0.1:" + std::to_string(site.server().port());
  struct Case {
    std::string referrer;
    bool accepted;
  };
  const Case cases[] = {
      {"http://" + here + "/login.asp", true},
      {"http://127.0.0.1:1/login.asp", false},   // another server of this host
      {"https://" + here + "/login.asp", false},  // the page was not asked for over TLS
      {"http://127.0.0.1/login.asp", false},
      {"http://" + here + ".evil.org/login.asp", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.referrer);
    Client visitor(site);
    visitor.referrer = c.referrer;
    Page p = visitor.Login("jilu1", "123456");
    EXPECT_EQ(p.status == 302 && !visitor.session.empty(), c.accepted) << p.status << "\n" << p.body.substr(0, 400);
  }
}

TEST(RequestValues, ThePageTimeLimitStopsAStatementThatRunsLong) {
  DeskSite site([](web::ServerConfig& c) { c.limits.script_time = std::chrono::seconds(1); });
  // Billions of row combinations: the database engine would take minutes.
  site.files().Write("long.asp", R"(<!--#include file="inc/meet.inc"-->
<% openMeet(); var r = query("Select Count(*) As n From Play a, Play b, Play c, Play d"); Response.Write(r("n")); %>)");
  Client visitor(site);
  Page p = visitor.Get("/long.asp");
  EXPECT_EQ(p.status, 503) << p.body.substr(0, 300);
  // The worker is free: the next page is served.
  EXPECT_EQ(visitor.Get("/index.asp").status, 200);
}

}  // namespace
}  // namespace web_test
