// Odd request values against every page of the site, as each role sees it:
// a NUL byte, numbers too large for any column, an exponent beyond a
// double, a quote. Each gets a page in the site's style (or 400), never a
// 500 and never the text of a statement; a post from another port or
// scheme of the same host is refused; the page's time limit holds inside
// the component too; a link in UTF-8 finds what the GBK link finds; and a
// form of too many fields is refused before it is read.
#include <gtest/gtest.h>

#include <thread>

#include "data/dbf/write_unit.h"
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

TEST(RequestValues, AWaitForTheMeetsWriteLockIsNotCountedInThePageTimeLimit) {
  DeskSite site([](web::ServerConfig& c) { c.limits.script_time = std::chrono::seconds(1); });
  Client recorder(site);
  ASSERT_EQ(recorder.Login("jilu1", "123456").status, 302);
  const std::string view = "/entry.asp?age=%B8%DF%D6%D0%D7%E9&item=100%C3%D7&sex=%C4%D0&sc=1&zc=1";
  Page p;
  std::thread viewer;
  {
    // Another writer holds the meet for longer than a page may run.
    data::dbf::WriteUnit other(site.data());
    viewer = std::thread([&] { p = recorder.Get(view); });
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    other.Commit();
  }  // released here
  viewer.join();
  EXPECT_EQ(p.status, 200) << p.body.substr(0, 400);
  EXPECT_NE(p.body.find("ydy_bh_list"), std::string::npos);
}

// The bytes of `utf8` percent-encoded, as sent in UTF-8 or in GBK.
std::string InUtf8(const std::string& utf8) { return web::PercentEncode(utf8); }
std::string InGbk(const std::string& utf8) {
  return web::PercentEncode(automation::ToGbk(automation::FromUtf8(utf8)));
}

// The rows of a list page's table.
size_t Rows(const std::string& page) {
  size_t rows = 0;
  for (size_t at = page.find("<tr align=center"); at != std::string::npos; at = page.find("<tr align=center", at + 1))
    ++rows;
  return rows;
}

// A result page without the moment it was made (live pages carry it).
std::string Listed(std::string body) {
  const std::string mark = "data-rendered=\"";
  if (auto at = body.find(mark); at != std::string::npos) body.erase(at, body.find('"', at + mark.size()) + 1 - at);
  return body;
}

TEST(RequestValues, ALinkInUtf8FindsWhatTheGbkLinkFinds) {
  DeskSite site;
  Client visitor(site);
  using Encode = std::string (*)(const std::string&);
  // "潘华" and "育才学校" in UTF-8 are also byte strings GBK can read.
  const std::vector<std::vector<std::pair<std::string, std::string>>> queries = {
      {{"age", "高中组"}, {"item", "100米"}, {"sex", "男"}, {"sc", "1"}},
      {{"keyword", "潘华"}},
      {{"keyword", "育才学校"}},
  };
  const char* pages[] = {"/results.asp", "/entrants.asp", "/entrants.asp"};
  for (size_t i = 0; i < queries.size(); ++i) {
    std::string bodies[2];
    int k = 0;
    for (Encode encode : {Encode(InGbk), Encode(InUtf8)}) {
      std::string path = std::string(pages[i]) + "?";
      for (const auto& [name, value] : queries[i]) path += name + "=" + encode(value) + "&";
      SCOPED_TRACE(path);
      Page p = visitor.Get(path);
      ASSERT_EQ(p.status, 200);
      EXPECT_GT(Rows(p.body), 0u) << p.body.substr(0, 2000);
      EXPECT_NE(p.body.find(queries[i].front().second), std::string::npos);
      bodies[k++] = p.body;
    }
    EXPECT_EQ(Listed(bodies[0]), Listed(bodies[1]));
  }
}

TEST(RequestValues, AFormOfTooManyFieldsIsRefusedAndChangesNothing) {
  DeskSite site([](web::ServerConfig& c) { c.limits.max_form_fields = 200; });
  Client recorder(site);
  ASSERT_EQ(recorder.Login("jilu1", "123456").status, 302);
  const std::string before = Listed(recorder.Get("/results.asp?age=%B8%DF%D6%D0%D7%E9&item=100%C3%D7&sex=%C4%D0&sc=1").body);
  // A save of the heat with every mark typed, padded with empty fields.
  std::vector<std::pair<std::string, std::string>> form = {
      {"age", "高中组"}, {"sex", "男"}, {"item", "100米"}, {"sc", "1"}, {"zc", "1"}};
  for (int i = 0; i < 300; ++i) form.emplace_back("x" + std::to_string(i), "");
  Page p = recorder.Post("/entry.asp", form);
  EXPECT_EQ(p.status, 413);
  EXPECT_NE(p.body.find("字段太多"), std::string::npos) << p.body.substr(0, 600);
  EXPECT_EQ(Listed(recorder.Get("/results.asp?age=%B8%DF%D6%D0%D7%E9&item=100%C3%D7&sex=%C4%D0&sc=1").body), before);
}

}  // namespace
}  // namespace web_test
